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

// Aligns the near (Left/Top) or far (right/bottom) edges of the selection to
// the extreme edge of the whole selection.
void frmPanel::align(Axis axis, bool toFarEdge) {
  if (collSelectedControls.size() < 2) return;
  const bool horizontal = axis == Axis::Horizontal;
  auto nearEdge = [&](const DesignControl *c) -> qint64 { return horizontal ? c->Left : c->Top; };
  auto extent = [&](const DesignControl *c) -> qint64 { return horizontal ? c->Width : c->Height; };

  qint64 reference =
      toFarEdge ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
  for (const DesignControl *c : collSelectedControls)
    reference =
        toFarEdge ? std::max(reference, nearEdge(c) + extent(c)) : std::min(reference, nearEdge(c));

  const QString name =
      horizontal ? (toFarEdge ? QStringLiteral("Align Right") : QStringLiteral("Align Left"))
                 : (toFarEdge ? QStringLiteral("Align Bottom") : QStringLiteral("Align Top"));
  EditStep step(*this, name);
  Batch batch(*this);
  for (DesignControl *c : collSelectedControls) {
    const qint32 edge = clampToInt32(toFarEdge ? reference - extent(c) : reference);
    qint32 &position = horizontal ? c->Left : c->Top;
    position = edge;
    if (ResizeFrame *frame = m_model.Frame(GetResizeIndex(c)))
      (horizontal ? frame->Left : frame->Top) = edge - kFrameBand;
  }
  batch.add(Geometry);
  showCurrentGeometry();
}

void frmPanel::AlignLeft() { align(Axis::Horizontal, false); }
void frmPanel::AlignRight() { align(Axis::Horizontal, true); }
void frmPanel::AlignTop() { align(Axis::Vertical, false); }
void frmPanel::AlignBottom() { align(Axis::Vertical, true); }

// Spreads the selection evenly between its smallest and largest position,
// in order of position (then of selection); a control that would overlap the
// one placed before it goes 10 twips after it instead. Sizes never change.
void frmPanel::spread(Axis axis) {
  const int n = int(collSelectedControls.size());
  if (n < 2) return;
  const bool horizontal = axis == Axis::Horizontal;
  auto position = [&](DesignControl *c) -> qint32 & { return horizontal ? c->Left : c->Top; };
  auto extent = [&](const DesignControl *c) { return horizontal ? c->Width : c->Height; };
  constexpr qint64 kOverlapGap = 10;

  qint32 min = std::numeric_limits<qint32>::max(), max = std::numeric_limits<qint32>::min();
  std::vector<double> keys;
  keys.reserve(n);
  for (int i = 0; i < n; ++i) {
    const qint32 p = position(collSelectedControls[i]);
    min = std::min(min, p);
    max = std::max(max, p);
    keys.push_back(PlacementKey(p, i + 1, n));
  }
  const qint64 gap = RoundHalfEven(double(qint64(max) - min) / (n - 1));
  SortControlPlacements(keys);

  EditStep step(*this, horizontal ? QStringLiteral("Spread Horizontally")
                                  : QStringLiteral("Spread Vertically"));
  Batch batch(*this);
  const DesignControl *previous = nullptr;
  for (int k = 0; k < n; ++k) {
    DesignControl *c = collSelectedControls[PlacementSelectionPlace(keys[k], n) - 1];
    qint64 target = min + k * gap;
    if (previous) {
      const qint64 previousEnd =
          qint64(horizontal ? previous->Left : previous->Top) + extent(previous);
      if (target < previousEnd) target = previousEnd + kOverlapGap;
    }
    const qint32 placed = clampToInt32(target);
    position(c) = placed;
    if (ResizeFrame *frame = m_model.Frame(GetResizeIndex(c)))
      (horizontal ? frame->Left : frame->Top) = placed - kFrameBand;
    previous = c;
  }
  batch.add(Geometry);
  showCurrentGeometry();
}

void frmPanel::SpreadHorizontally() { spread(Axis::Horizontal); }
void frmPanel::SpreadVertically() { spread(Axis::Vertical); }

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
