#include "surface/placementkey.h"

#include <algorithm>
#include <cmath>

namespace {
// 10^digits, with at least five digits and enough for the largest place.
double placeScale(int selectionCount) {
  double scale = 100000.0;
  while (scale <= selectionCount) scale *= 10.0;
  return scale;
}
}  // namespace

double placementKey(qint32 position, int selectionPlace, int selectionCount) {
  // Added rather than written as text, so that a negative position still
  // puts the earlier selected control first.
  return position + selectionPlace / placeScale(selectionCount);
}

int placementSelectionPlace(double key, int selectionCount) {
  return int(std::lround((key - std::floor(key)) * placeScale(selectionCount)));
}

void sortControlPlacements(std::vector<double> &keys) { std::sort(keys.begin(), keys.end()); }

QString leftFill(const QString &text, const QString &fill, int length) {
  if (text.size() >= length) return text;
  return fill.repeated(length - text.size()) + text;
}

QString rightFill(const QString &text, const QString &fill, int length) {
  if (text.size() >= length) return text;
  return text + fill.repeated(length - text.size());
}
