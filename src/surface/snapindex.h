#pragma once

#include <QtGlobal>
#include <array>
#include <cstdlib>
#include <vector>

// Snapping of a dragged box (a control or the selection's bounds) to the
// edges and centres of the other controls and of the panel, and to equal
// gaps between neighbours. Built once when a drag starts; each step then
// looks its candidates up by binary search, whatever the number of controls.
// Coordinates are twips, wide enough for any control's far edge; a box runs
// from lo to hi on each axis.

enum class SnapAxis { X = 0, Y = 1 };

struct SnapBox {
  std::array<qint64, 2> lo{}, hi{};  // indexed by SnapAxis
  static SnapBox fromGeometry(qint64 left, qint64 top, qint64 width, qint64 height) {
    return {{left, top}, {left + width, top + height}};
  }
  qint64 mid(SnapAxis a) const { return lo[int(a)] + (hi[int(a)] - lo[int(a)]) / 2; }
};

// What holds after a step: a guide line for each alignment, and the gaps
// found equal (each gap as its extent along the axis, at a place across it).
struct SnapGuide {
  SnapAxis axis;    // X: a vertical line at `at`; Y: a horizontal one
  qint64 at;        // where the line lies on `axis`
  qint64 from, to;  // its extent across
};
struct SnapGap {
  SnapAxis axis;    // the axis the gap runs along
  qint64 from, to;  // the gap on that axis
  qint64 across;    // where it is shown on the other axis
};
struct SnapMarks {
  std::vector<SnapGuide> guides;
  std::vector<SnapGap> gaps;
  bool empty() const { return guides.empty() && gaps.empty(); }
};

class SnapIndex {
 public:
  // `others` are the controls that stay put; `panel` is the panel's own box.
  SnapIndex(const std::vector<SnapBox> &others, const SnapBox &panel);

  // Which of the dragged box's edges move: all of them for a move, the
  // grabbed ones for a resize.
  struct Moving {
    std::array<bool, 2> lo{true, true}, hi{true, true};
    bool all() const { return lo[0] && lo[1] && hi[0] && hi[1]; }
  };
  // The shift to add on each axis so that the box snaps: to an edge or a
  // centre of another control or of the panel (centres on a move only), or
  // to an equal gap, within `tolerance`; failing that to the grid when `grid` > 0. The
  // marks describe what then holds.
  std::array<qint32, 2> snap(const SnapBox &box, const Moving &m_moving, qint32 tolerance,
                             qint32 grid, SnapMarks *marks) const;

 private:
  struct Line {
    qint64 at, from, to;  // a position on the axis, with the extent across it
  };
  struct Candidate {
    qint64 shift;
    bool found = false;
    void offer(qint64 s, qint32 tolerance) {
      if (std::abs(s) <= tolerance && (!found || std::abs(s) < std::abs(shift))) {
        shift = s;
        found = true;
      }
    }
  };
  void snapToLines(SnapAxis axis, const std::array<qint64, 3> &features,
                   const std::array<bool, 3> &use, qint32 tolerance, Candidate &best) const;
  // Equal gaps for the m_moving edges `lo` and `hi` of the box on the axis.
  void snapToGaps(SnapAxis axis, const SnapBox &box, bool lo, bool hi, qint32 tolerance,
                  Candidate &best) const;
  void markLines(SnapAxis axis, const SnapBox &box, const std::array<bool, 3> &use,
                 SnapMarks &marks) const;
  void markGaps(SnapAxis axis, const SnapBox &box, SnapMarks &marks) const;
  // The nearest box before (`before`) or after `box` on the axis that
  // overlaps it across; -1 when there is none near.
  int neighbour(SnapAxis axis, const SnapBox &box, bool before) const;

  std::vector<SnapBox> m_boxes;
  std::array<std::vector<Line>, 2> m_lines;        // sorted by `at`, one per position
  std::array<std::vector<int>, 2> m_byLo, m_byHi;  // box numbers sorted by lo, by hi
};
