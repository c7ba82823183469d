// Align and spread the selected controls.
#include <algorithm>
#include <limits>

#include "model/numbers.h"
#include "surface/frameedges.h"
#include "surface/paneleditor.h"
#include "surface/placementkey.h"

namespace {
qint32 clampToInt32(qint64 v) {
  return qint32(std::clamp<qint64>(v, std::numeric_limits<qint32>::min(),
                                   std::numeric_limits<qint32>::max()));
}
}  // namespace

// Aligns the near (Left/Top) or far (right/bottom) edges, or the centres, of
// the selection to the extreme edge or the middle of the whole selection.
void PanelEditor::align(Axis axis, Edge edge) {
  if (m_selectedControls.size() < 2) return;
  const bool horizontal = axis == Axis::Horizontal;
  auto nearEdge = [&](const DesignControl *c) -> qint64 { return horizontal ? c->left : c->top; };
  auto extent = [&](const DesignControl *c) -> qint64 { return horizontal ? c->width : c->height; };

  qint64 smallest = std::numeric_limits<qint64>::max();
  qint64 largestEnd = std::numeric_limits<qint64>::min();
  for (const DesignControl *c : m_selectedControls) {
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
        return roundHalfEven(double(smallest + largestEnd - extent(c)) / 2);
    }
    return nearEdge(c);
  };

  static const QString names[2][3] = {{QStringLiteral("Align Top"), QStringLiteral("Align Bottom"),
                                       QStringLiteral("Align Centres Vertically")},
                                      {QStringLiteral("Align Left"), QStringLiteral("Align Right"),
                                       QStringLiteral("Align Centres Horizontally")}};
  EditStep step(*this, names[horizontal][int(edge)]);
  Batch batch(*this);
  for (DesignControl *c : m_selectedControls) {
    const qint32 position = clampToInt32(placed(c));
    (horizontal ? c->left : c->top) = position;
    if (ResizeFrame *frame = m_model.frame(frameIndexOf(c)))
      (horizontal ? frame->left : frame->top) = position - kFrameBand;
  }
  batch.add(Geometry);
  showCurrentGeometry();
}

void PanelEditor::alignLeft() { align(Axis::Horizontal, Edge::Near); }
void PanelEditor::alignRight() { align(Axis::Horizontal, Edge::Far); }
void PanelEditor::alignTop() { align(Axis::Vertical, Edge::Near); }
void PanelEditor::alignBottom() { align(Axis::Vertical, Edge::Far); }
void PanelEditor::alignCentresHorizontally() { align(Axis::Horizontal, Edge::Centre); }
void PanelEditor::alignCentresVertically() { align(Axis::Vertical, Edge::Centre); }

void PanelEditor::placeInOrder(Axis axis, const QString &name, const PlaceRule &place) {
  const int n = int(m_selectedControls.size());
  if (n < 2) return;
  const bool horizontal = axis == Axis::Horizontal;
  auto position = [&](DesignControl *c) -> qint32 & { return horizontal ? c->left : c->top; };
  auto extent = [&](const DesignControl *c) { return horizontal ? c->width : c->height; };

  qint32 smallest = std::numeric_limits<qint32>::max();
  std::vector<double> keys;
  keys.reserve(n);
  for (int i = 0; i < n; ++i) {
    const qint32 p = position(m_selectedControls[i]);
    smallest = std::min(smallest, p);
    keys.push_back(placementKey(p, i + 1, n));
  }
  sortControlPlacements(keys);

  EditStep step(*this, name);
  Batch batch(*this);
  qint64 previousEnd = 0;
  for (int k = 0; k < n; ++k) {
    DesignControl *c = m_selectedControls[placementSelectionPlace(keys[k], n) - 1];
    const qint32 placed = clampToInt32(place(smallest, k, previousEnd));
    position(c) = placed;
    if (ResizeFrame *frame = m_model.frame(frameIndexOf(c)))
      (horizontal ? frame->left : frame->top) = placed - kFrameBand;
    previousEnd = qint64(placed) + extent(c);
  }
  batch.add(Geometry);
  showCurrentGeometry();
}

// Spreads the selection evenly between its smallest and largest position;
// a control that would overlap the one placed before it goes 10 twips after
// it instead. Sizes never change.
void PanelEditor::spread(Axis axis) {
  const int n = int(m_selectedControls.size());
  if (n < 2) return;
  const bool horizontal = axis == Axis::Horizontal;
  qint32 min = std::numeric_limits<qint32>::max(), max = std::numeric_limits<qint32>::min();
  for (const DesignControl *c : m_selectedControls) {
    min = std::min(min, horizontal ? c->left : c->top);
    max = std::max(max, horizontal ? c->left : c->top);
  }
  const qint64 gap = roundHalfEven(double(qint64(max) - min) / (n - 1));
  constexpr qint64 kOverlapGap = 10;
  placeInOrder(
      axis,
      horizontal ? QStringLiteral("Spread Horizontally") : QStringLiteral("Spread Vertically"),
      [gap](qint64 smallest, int k, qint64 previousEnd) {
        const qint64 target = smallest + k * gap;
        return k > 0 && target < previousEnd ? previousEnd + kOverlapGap : target;
      });
}

void PanelEditor::spreadHorizontally() { spread(Axis::Horizontal); }
void PanelEditor::spreadVertically() { spread(Axis::Vertical); }

void PanelEditor::distribute(Axis axis, qint32 gap) {
  placeInOrder(axis,
               axis == Axis::Horizontal ? QStringLiteral("Distribute Horizontally")
                                        : QStringLiteral("Distribute Vertically"),
               [gap](qint64 smallest, int k, qint64 previousEnd) {
                 return k == 0 ? smallest : previousEnd + gap;
               });
}

void PanelEditor::distributeHorizontally(qint32 gap) { distribute(Axis::Horizontal, gap); }
void PanelEditor::distributeVertically(qint32 gap) { distribute(Axis::Vertical, gap); }

// The selected controls take the width and/or height of the current control.
void PanelEditor::makeSame(bool width, bool height, const QString &name) {
  const auto *current = dynamic_cast<const DesignControl *>(m_currentControl);
  if (!current || m_selectedControls.size() < 2 || !isObjectSelected(current)) return;
  const qint32 w = current->width, h = current->height;
  EditStep step(*this, name);
  Batch batch(*this);
  for (DesignControl *c : m_selectedControls) {
    if (width) c->width = w;
    if (height) c->height = h;
    if (ResizeFrame *frame = m_model.frame(frameIndexOf(c))) placeFrame(*frame, *c);
  }
  batch.add(Geometry);
  showCurrentGeometry();
}

void PanelEditor::makeSameWidth() { makeSame(true, false, QStringLiteral("Make Same Width")); }
void PanelEditor::makeSameHeight() { makeSame(false, true, QStringLiteral("Make Same Height")); }
void PanelEditor::makeSameSize() { makeSame(true, true, QStringLiteral("Make Same Size")); }

// The grid shows the current control's new geometry after keys and arrange
// commands, as it does while the mouse drags.
void PanelEditor::showCurrentGeometry() {
  if (const auto *c = dynamic_cast<const DesignControl *>(m_currentControl);
      c && m_model.contains(c))
    emit geometryRowsChanged(c->width, c->height, c->top, c->left);
}
