#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QString>

class DesignClock;
struct XmlElement;

// The clock serialises itself: a "<Control>" element with "Type" ("LKClock"),
// "Name", "Caption", "Left", "Top", "Width", "Height" and one child per clock
// property, text only.
QString ClockToXML(const DesignClock &clock);

// Reads such an element back into the clock (geometry and properties; the
// name is the caller's). Unknown or malformed children are skipped; returns
// false when the text is not a readable element.
bool ClockIngestXML(DesignClock &clock, const QString &xml);

// The same element built straight into a document (not appended anywhere),
// for writers that already hold a DOM and should not parse text again.
QDomElement ClockToElement(const DesignClock &clock, QDomDocument &doc);

// Reads the children of an element as ClockIngestXML does; false for a null
// element.
bool ClockIngestElement(DesignClock &clock, const QDomElement &element);
// The same from an element of an already parsed tree (the panel reader's),
// without turning it back into text.
void ClockIngestTree(DesignClock &clock, const XmlElement &element);
