#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

// Sort keys that order controls by position and, for equal positions, by
// the order in which they were selected: the integer part is the position,
// the fraction the 1-based place in the selection as five (or, for larger
// selections, more) decimal digits. Place 3 at Left 1200 gives 1200.00003.
double placementKey(qint32 position, int selectionPlace, int selectionCount);
// The selection place a key was built with.
int placementSelectionPlace(double key, int selectionCount);

// Sorts the keys ascending in place.
void sortControlPlacements(std::vector<double> &keys);

// The text preceded (leftFill) or followed (rightFill) by one copy of `fill`
// per character it is shorter than `length`; a text that long or longer is
// returned unchanged.
QString leftFill(const QString &text, const QString &fill, int length);
QString rightFill(const QString &text, const QString &fill, int length);
