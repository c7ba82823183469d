#pragma once

#include <QString>
#include <QStringView>

#include "model/xmltree.h"

class DesignClock;

// The clock serialises itself: a "<Control>" element with "Type" ("LKClock"),
// "Name", "Caption", "Left", "Top", "Width", "Height" and one child per clock
// property, text only.
QString clockToXML(const DesignClock &clock);
// The same element as a node, for writers that lay it out with a document.
XmlNode clockToElement(const DesignClock &clock);

// Reads such an element back into the clock (geometry and properties; the
// name is the caller's). Unknown or malformed children are skipped; returns
// false when the text is not a readable element.
bool clockIngestXML(DesignClock &clock, const QString &xml);

// Applies one child of a clock element by its name (any case); unknown names
// and unreadable values change nothing.
void clockIngestProperty(DesignClock &clock, QStringView name, const QString &text);
// Whether a child of that name (any case) is one the clock reads or writes.
bool isClockChild(QStringView name);
