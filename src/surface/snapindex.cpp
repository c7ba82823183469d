#include "surface/snapindex.h"

#include <algorithm>
#include <limits>

#include "model/numbers.h"

namespace {
// How many boxes a neighbour search looks at past those that do not overlap
// the dragged box across: enough for the rows of a dense panel, and a
// bound on the time a step takes.
constexpr int kNeighbourWalk = 256;

int other(SnapAxis axis) { return 1 - int(axis); }

bool overlapsAcross(SnapAxis axis, const SnapBox &a, const SnapBox &b) {
  const int o = other(axis);
  return a.lo[o] < b.hi[o] && b.lo[o] < a.hi[o];
}

// The middle of where two boxes overlap across the axis.
qint64 middleAcross(SnapAxis axis, const SnapBox &a, const SnapBox &b) {
  const int o = other(axis);
  const qint64 from = std::max(a.lo[o], b.lo[o]), to = std::min(a.hi[o], b.hi[o]);
  return from + (to - from) / 2;
}
}  // namespace

SnapIndex::SnapIndex(const std::vector<SnapBox> &others, const SnapBox &panel) : m_boxes(others) {
  for (const SnapAxis axis : {SnapAxis::X, SnapAxis::Y}) {
    const int a = int(axis), o = other(axis);
    std::vector<Line> lines;
    lines.reserve(3 * (others.size() + 1));
    auto add = [&](const SnapBox &b) {
      for (const qint64 at : {b.lo[a], b.mid(axis), b.hi[a]})
        lines.push_back({at, b.lo[o], b.hi[o]});
    };
    for (const SnapBox &b : others) add(b);
    add(panel);
    std::sort(lines.begin(), lines.end(), [](const Line &l, const Line &r) { return l.at < r.at; });
    // One line per position, reaching over every box that has it.
    std::vector<Line> &merged = m_lines[a];
    for (const Line &l : lines) {
      if (!merged.empty() && merged.back().at == l.at) {
        merged.back().from = std::min(merged.back().from, l.from);
        merged.back().to = std::max(merged.back().to, l.to);
      } else {
        merged.push_back(l);
      }
    }
    auto sortedBy = [&](auto key) {
      std::vector<int> order(m_boxes.size());
      for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
      std::sort(order.begin(), order.end(),
                [&](int l, int r) { return key(m_boxes[l]) < key(m_boxes[r]); });
      return order;
    };
    m_byLo[a] = sortedBy([a](const SnapBox &b) { return b.lo[a]; });
    m_byHi[a] = sortedBy([a](const SnapBox &b) { return b.hi[a]; });
  }
}

void SnapIndex::snapToLines(SnapAxis axis, const std::array<qint64, 3> &features,
                            const std::array<bool, 3> &use, qint32 tolerance,
                            Candidate &best) const {
  const std::vector<Line> &lines = m_lines[int(axis)];
  for (int i = 0; i < 3; ++i) {
    if (!use[i]) continue;
    const qint64 v = features[i];
    auto it = std::lower_bound(lines.begin(), lines.end(), v,
                               [](const Line &l, qint64 at) { return l.at < at; });
    if (it != lines.end()) best.offer(it->at - v, tolerance);
    if (it != lines.begin()) best.offer(std::prev(it)->at - v, tolerance);
  }
}

int SnapIndex::neighbour(SnapAxis axis, const SnapBox &box, bool before) const {
  const int a = int(axis);
  int looked = 0;
  if (before) {
    const std::vector<int> &byHi = m_byHi[a];
    auto it = std::upper_bound(byHi.begin(), byHi.end(), box.lo[a],
                               [&](qint64 v, int i) { return v < m_boxes[i].hi[a]; });
    while (it != byHi.begin() && looked++ < kNeighbourWalk) {
      --it;
      const SnapBox &b = m_boxes[*it];
      if (b.lo[a] < b.hi[a] && overlapsAcross(axis, b, box)) return *it;
    }
  } else {
    const std::vector<int> &byLo = m_byLo[a];
    auto it = std::lower_bound(byLo.begin(), byLo.end(), box.hi[a],
                               [&](int i, qint64 v) { return m_boxes[i].lo[a] < v; });
    for (; it != byLo.end() && looked++ < kNeighbourWalk; ++it) {
      const SnapBox &b = m_boxes[*it];
      if (b.lo[a] < b.hi[a] && overlapsAcross(axis, b, box)) return *it;
    }
  }
  return -1;
}

void SnapIndex::snapToGaps(SnapAxis axis, const SnapBox &box, bool lo, bool hi, qint32 tolerance,
                           Candidate &best) const {
  const int a = int(axis);
  const int before = neighbour(axis, box, true), after = neighbour(axis, box, false);
  const qint64 gapBefore = before < 0 ? 0 : box.lo[a] - m_boxes[before].hi[a];
  const qint64 gapAfter = after < 0 ? 0 : m_boxes[after].lo[a] - box.hi[a];
  // The gaps the neighbours keep to their own neighbours further out.
  qint64 gapFurther = 0, gapBeyond = 0;
  if (before >= 0)
    if (const int n = neighbour(axis, m_boxes[before], true); n >= 0)
      gapFurther = m_boxes[before].lo[a] - m_boxes[n].hi[a];
  if (after >= 0)
    if (const int n = neighbour(axis, m_boxes[after], false); n >= 0)
      gapBeyond = m_boxes[n].lo[a] - m_boxes[after].hi[a];
  // A shift of a moving low edge widens the gap before; of a high edge, it
  // narrows the gap after; of both (a move), it does both.
  const bool both = before >= 0 && after >= 0;
  if (lo && hi) {
    if (both) best.offer((gapAfter - gapBefore) / 2, tolerance);  // centred
    if (gapFurther > 0) best.offer(gapFurther - gapBefore, tolerance);
    if (gapBeyond > 0) best.offer(gapAfter - gapBeyond, tolerance);
  } else if (lo) {
    if (both) best.offer(gapAfter - gapBefore, tolerance);
    if (gapFurther > 0) best.offer(gapFurther - gapBefore, tolerance);
  } else if (hi) {
    if (both) best.offer(gapAfter - gapBefore, tolerance);
    if (gapBeyond > 0) best.offer(gapAfter - gapBeyond, tolerance);
  }
}

void SnapIndex::markLines(SnapAxis axis, const SnapBox &box, const std::array<bool, 3> &use,
                          SnapMarks &marks) const {
  const std::vector<Line> &lines = m_lines[int(axis)];
  const int o = other(axis);
  const std::array<qint64, 3> features{box.lo[int(axis)], box.mid(axis), box.hi[int(axis)]};
  for (int i = 0; i < 3; ++i) {
    if (!use[i] || (i > 0 && features[i] == features[i - 1])) continue;
    auto it = std::lower_bound(lines.begin(), lines.end(), features[i],
                               [](const Line &l, qint64 at) { return l.at < at; });
    if (it == lines.end() || it->at != features[i]) continue;
    marks.guides.push_back(
        {axis, it->at, std::min(it->from, box.lo[o]), std::max(it->to, box.hi[o])});
  }
}

void SnapIndex::markGaps(SnapAxis axis, const SnapBox &box, SnapMarks &marks) const {
  const int a = int(axis);
  // The chain before - box - after, with one more neighbour on each side.
  const int before = neighbour(axis, box, true), after = neighbour(axis, box, false);
  const int further = before < 0 ? -1 : neighbour(axis, m_boxes[before], true);
  const int beyond = after < 0 ? -1 : neighbour(axis, m_boxes[after], false);
  auto gap = [&](const SnapBox *l, const SnapBox *r) { return r->lo[a] - l->hi[a]; };
  const SnapBox *chain[] = {
      further < 0 ? nullptr : &m_boxes[further], before < 0 ? nullptr : &m_boxes[before], &box,
      after < 0 ? nullptr : &m_boxes[after], beyond < 0 ? nullptr : &m_boxes[beyond]};
  // Gap i lies between chain[i] and chain[i + 1]; the pairs that touch the
  // box: (0, 1), (1, 2) and (2, 3).
  bool shown[4] = {};
  for (int i = 0; i < 3; ++i) {
    const SnapBox *l = chain[i], *m = chain[i + 1], *r = chain[i + 2];
    if (!l || !m || !r) continue;
    const qint64 g = gap(l, m);
    if (g > 0 && g == gap(m, r)) shown[i] = shown[i + 1] = true;
  }
  for (int i = 0; i < 4; ++i)
    if (shown[i])
      marks.gaps.push_back({axis, chain[i]->hi[a], chain[i + 1]->lo[a],
                            middleAcross(axis, *chain[i], *chain[i + 1])});
}

std::array<qint32, 2> SnapIndex::snap(const SnapBox &box, const Moving &moving, qint32 tolerance,
                                      qint32 grid, SnapMarks *marks) const {
  std::array<qint32, 2> shift{0, 0};
  SnapBox snapped = box;
  std::array<std::array<bool, 3>, 2> used;
  for (const SnapAxis axis : {SnapAxis::X, SnapAxis::Y}) {
    const int a = int(axis);
    used[a] = {moving.lo[a], moving.all(), moving.hi[a]};
    if (!moving.lo[a] && !moving.hi[a]) continue;
    Candidate best;
    if (tolerance >= 0) {
      snapToLines(axis, {box.lo[a], box.mid(axis), box.hi[a]}, used[a], tolerance, best);
      snapToGaps(axis, box, moving.lo[a], moving.hi[a], tolerance, best);
    }
    // A shift is never more than the tolerance or half a grid step.
    if (best.found) {
      shift[a] = qint32(best.shift);
    } else if (grid > 0) {
      const qint64 edge = moving.lo[a] ? box.lo[a] : box.hi[a];
      if (edge >= std::numeric_limits<qint32>::min() && edge <= std::numeric_limits<qint32>::max())
        shift[a] = qint32(qint64(snapToGrid(qint32(edge), grid)) - edge);
    }
    if (moving.lo[a]) snapped.lo[a] += shift[a];
    if (moving.hi[a]) snapped.hi[a] += shift[a];
  }
  if (marks && tolerance >= 0) {
    for (const SnapAxis axis : {SnapAxis::X, SnapAxis::Y}) {
      const int a = int(axis);
      markLines(axis, snapped, used[a], *marks);
      if (moving.lo[a] || moving.hi[a]) markGaps(axis, snapped, *marks);
    }
  }
  return shift;
}
