// Snapping of frame drags: the index of what stays put is built at the
// press; each step adds the shift that makes the dragged box snap and keeps
// the marks the view draws as guides.
#include <algorithm>
#include <optional>
#include <unordered_set>

#include "surface/frameedges.h"
#include "surface/paneleditor.h"

namespace {
SnapBox boxOf(const DesignControl &c) {
  return SnapBox::fromGeometry(c.left, c.top, c.width, c.height);
}
}  // namespace

void PanelEditor::beginSnapping() {
  m_snapMarks = {};
  m_snapIndex.reset();
  if (!snapOptions.toControls && !snapOptions.toGrid) return;
  const std::unordered_set<const DesignControl *> selected(m_selectedControls.begin(),
                                                           m_selectedControls.end());
  std::vector<SnapBox> others;
  others.reserve(m_model.zOrder().size());
  for (const DesignControl *c : m_model.zOrder())
    if (c->visible && !selected.count(c)) others.push_back(boxOf(*c));
  m_snapIndex = std::make_unique<SnapIndex>(
      others, SnapBox::fromGeometry(0, 0, m_model.canvas.width, m_model.canvas.height));
}

void PanelEditor::endSnapping() {
  m_snapIndex.reset();
  if (m_snapMarks.empty()) return;
  m_snapMarks = {};
  notify(Geometry);
}

void PanelEditor::snapMoveStep(qint32 &dx, qint32 &dy) {
  m_snapMarks = {};
  if (!m_snapIndex || snapOptions.suspended) return;
  // The bounds of what shows of the selection (a hidden control picked from
  // a list moves along but is not lined up).
  std::optional<SnapBox> bounds;
  for (const DesignControl *c : m_selectedControls) {
    if (!c->visible) continue;
    const SnapBox b = boxOf(*c);
    if (!bounds) bounds = b;
    for (int a = 0; a < 2; ++a) {
      bounds->lo[a] = std::min(bounds->lo[a], b.lo[a]);
      bounds->hi[a] = std::max(bounds->hi[a], b.hi[a]);
    }
  }
  if (!bounds) return;
  SnapBox box = *bounds;
  const std::array<qint32, 2> step{dx, dy};
  for (int a = 0; a < 2; ++a) {
    box.lo[a] += step[a];
    box.hi[a] += step[a];
  }
  const auto shift = m_snapIndex->snap(box, {}, snapOptions.toControls ? snapOptions.tolerance : -1,
                                       snapOptions.toGrid ? m_gridSize : 0, &m_snapMarks);
  dx += shift[0];
  dy += shift[1];
}

void PanelEditor::snapResizeStep(const DesignControl &control, int edge, qint32 &dLeft,
                                 qint32 &dTop, qint32 &dWidth, qint32 &dHeight) {
  m_snapMarks = {};
  if (!m_snapIndex || snapOptions.suspended) return;
  SnapBox box = boxOf(control);
  box.lo = {box.lo[0] + dLeft, box.lo[1] + dTop};
  box.hi = {box.lo[0] + control.width + dWidth, box.lo[1] + control.height + dHeight};
  SnapIndex::Moving moving;
  moving.lo = {hasLeftEdge(edge), hasTopEdge(edge)};
  moving.hi = {hasRightEdge(edge), hasBottomEdge(edge)};
  const auto shift =
      m_snapIndex->snap(box, moving, snapOptions.toControls ? snapOptions.tolerance : -1,
                        snapOptions.toGrid ? m_gridSize : 0, &m_snapMarks);
  // A moving left or top edge shifts the control and takes from its size.
  if (moving.lo[0]) dLeft += shift[0], dWidth -= shift[0];
  if (moving.hi[0]) dWidth += shift[0];
  if (moving.lo[1]) dTop += shift[1], dHeight -= shift[1];
  if (moving.hi[1]) dHeight += shift[1];
}
