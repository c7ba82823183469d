// Align and spread the selected controls.
#include <algorithm>
#include <limits>

#include "model/numbers.h"
#include "surface/frameedges.h"
#include "surface/frmpanel.h"
#include "surface/placementkey.h"

namespace {
qint32 clampToInt32(qint64 v) {
  return qint32(std::clamp<qint64>(v, std::numeric_limits<qint32>::min(),
                                   std::numeric_limits<qint32>::max()));
}
}  // namespace

// Aligns the near (Left/Top) or far (right/bottom) edges, or the centres, of
// the selection to the extreme edge or the middle of the whole selection.
void frmPanel::align(Axis axis, Edge edge) {
  if (collSelectedControls.size() < 2) return;
  const bool horizontal = axis == Axis::Horizontal;
  auto nearEdge = [&](const DesignControl *c) -> qint64 { return horizontal ? c->Left : c->Top; };
  auto extent = [&](const DesignControl *c) -> qint64 { return horizontal ? c->Width : c->Height; };

  qint64 smallest = std::numeric_limits<qint64>::max();
  qint64 largestEnd = std::numeric_limits<qint64>::min();
  for (const DesignControl *c : collSelectedControls) {
    smallest = std::min(smallest, nearEdge(c));
    largestEnd = std::max(largestEnd, nearEdge(c) + extent(c));
  }
  auto placed = [&](const DesignControl *c) -> qint64 {
    switch (edge) {
      case Edge::Near:
        return smallest;
      case Edge::Far:
        return largestEnd - extent(c);
      case Edge::Centre:
        return RoundHalfEven(double(smallest + largestEnd - extent(c)) / 2);
    }
    return nearEdge(c);
  };

  static const QString names[2][3] = {{QStringLiteral("Align Top"), QStringLiteral("Align Bottom"),
                                       QStringLiteral("Align Centres Vertically")},
                                      {QStringLiteral("Align Left"), QStringLiteral("Align Right"),
                                       QStringLiteral("Align Centres Horizontally")}};
  EditStep step(*this, names[horizontal][int(edge)]);
  Batch batch(*this);
  for (DesignControl *c : collSelectedControls) {
    const qint32 position = clampToInt32(placed(c));
    (horizontal ? c->Left : c->Top) = position;
    if (ResizeFrame *frame = m_model.Frame(GetResizeIndex(c)))
      (horizontal ? frame->Left : frame->Top) = position - kFrameBand;
  }
  batch.add(Geometry);
  showCurrentGeometry();
}

void frmPanel::AlignLeft() { align(Axis::Horizontal, Edge::Near); }
void frmPanel::AlignRight() { align(Axis::Horizontal, Edge::Far); }
void frmPanel::AlignTop() { align(Axis::Vertical, Edge::Near); }
void frmPanel::AlignBottom() { align(Axis::Vertical, Edge::Far); }
void frmPanel::AlignCentresHorizontally() { align(Axis::Horizontal, Edge::Centre); }
void frmPanel::AlignCentresVertically() { align(Axis::Vertical, Edge::Centre); }

void frmPanel::placeInOrder(Axis axis, const QString &name, const PlaceRule &place) {
  const int n = int(collSelectedControls.size());
  if (n < 2) return;
  const bool horizontal = axis == Axis::Horizontal;
  auto position = [&](DesignControl *c) -> qint32 & { return horizontal ? c->Left : c->Top; };
  auto extent = [&](const DesignControl *c) { return horizontal ? c->Width : c->Height; };

  qint32 smallest = std::numeric_limits<qint32>::max();
  std::vector<double> keys;
  keys.reserve(n);
  for (int i = 0; i < n; ++i) {
    const qint32 p = position(collSelectedControls[i]);
    smallest = std::min(smallest, p);
    keys.push_back(PlacementKey(p, i + 1, n));
  }
  SortControlPlacements(keys);

  EditStep step(*this, name);
  Batch batch(*this);
  qint64 previousEnd = 0;
  for (int k = 0; k < n; ++k) {
    DesignControl *c = collSelectedControls[PlacementSelectionPlace(keys[k], n) - 1];
    const qint32 placed = clampToInt32(place(smallest, k, previousEnd));
    position(c) = placed;
    if (ResizeFrame *frame = m_model.Frame(GetResizeIndex(c)))
      (horizontal ? frame->Left : frame->Top) = placed - kFrameBand;
    previousEnd = qint64(placed) + extent(c);
  }
  batch.add(Geometry);
  showCurrentGeometry();
}

// Spreads the selection evenly between its smallest and largest position;
// a control that would overlap the one placed before it goes 10 twips after
// it instead. Sizes never change.
void frmPanel::spread(Axis axis) {
  const int n = int(collSelectedControls.size());
  if (n < 2) return;
  const bool horizontal = axis == Axis::Horizontal;
  qint32 min = std::numeric_limits<qint32>::max(), max = std::numeric_limits<qint32>::min();
  for (const DesignControl *c : collSelectedControls) {
    min = std::min(min, horizontal ? c->Left : c->Top);
    max = std::max(max, horizontal ? c->Left : c->Top);
  }
  const qint64 gap = RoundHalfEven(double(qint64(max) - min) / (n - 1));
  constexpr qint64 kOverlapGap = 10;
  placeInOrder(
      axis,
      horizontal ? QStringLiteral("Spread Horizontally") : QStringLiteral("Spread Vertically"),
      [gap](qint64 smallest, int k, qint64 previousEnd) {
        const qint64 target = smallest + k * gap;
        return k > 0 && target < previousEnd ? previousEnd + kOverlapGap : target;
      });
}

void frmPanel::SpreadHorizontally() { spread(Axis::Horizontal); }
void frmPanel::SpreadVertically() { spread(Axis::Vertical); }

void frmPanel::distribute(Axis axis, qint32 gap) {
  placeInOrder(axis,
               axis == Axis::Horizontal ? QStringLiteral("Distribute Horizontally")
                                        : QStringLiteral("Distribute Vertically"),
               [gap](qint64 smallest, int k, qint64 previousEnd) {
                 return k == 0 ? smallest : previousEnd + gap;
               });
}

void frmPanel::DistributeHorizontally(qint32 gap) { distribute(Axis::Horizontal, gap); }
void frmPanel::DistributeVertically(qint32 gap) { distribute(Axis::Vertical, gap); }

// The selected controls take the width and/or height of the current control.
void frmPanel::makeSame(bool width, bool height, const QString &name) {
  const auto *current = dynamic_cast<const DesignControl *>(objCurrentControl);
  if (!current || collSelectedControls.size() < 2 || !IsObjectSelected(current)) return;
  const qint32 w = current->Width, h = current->Height;
  EditStep step(*this, name);
  Batch batch(*this);
  for (DesignControl *c : collSelectedControls) {
    if (width) c->Width = w;
    if (height) c->Height = h;
    if (ResizeFrame *frame = m_model.Frame(GetResizeIndex(c))) PlaceFrame(*frame, *c);
  }
  batch.add(Geometry);
  showCurrentGeometry();
}

void frmPanel::MakeSameWidth() { makeSame(true, false, QStringLiteral("Make Same Width")); }
void frmPanel::MakeSameHeight() { makeSame(false, true, QStringLiteral("Make Same Height")); }
void frmPanel::MakeSameSize() { makeSame(true, true, QStringLiteral("Make Same Size")); }

// The grid shows the current control's new geometry after keys and arrange
// commands, as it does while the mouse drags.
void frmPanel::showCurrentGeometry() {
  if (const auto *c = dynamic_cast<const DesignControl *>(objCurrentControl);
      c && m_model.Contains(c))
    emit geometryRowsChanged(c->Width, c->Height, c->Top, c->Left);
}
