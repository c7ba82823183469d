#pragma once

#include <QString>

class DesignClock;

// The clock serialises itself: a "<Control>" element with "Type" ("LKClock"),
// "Name", "Caption", "Left", "Top", "Width", "Height" and one child per clock
// property, text only.
QString ClockToXML(const DesignClock &clock);

// Reads such an element back into the clock (geometry and properties; the
// name is the caller's). Unknown or malformed children are skipped; returns
// false when the text is not a readable element.
bool ClockIngestXML(DesignClock &clock, const QString &xml);
