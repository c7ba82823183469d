#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "support/fakeui.h"
#include "surface/frmpanel.h"

// A panel window with helpers to place controls and click them.
class SurfaceTest : public ::testing::Test {
 protected:
  FakeUi ui;
  frmPanel panel{ui};

  PanelModel &model() { return panel.model(); }

  // A control with its record and frame, as the Insert menu makes it, moved
  // to the given geometry.
  DesignControl *add(qint32 left, qint32 top, qint32 width, qint32 height,
                     ControlKind kind = ControlKind::Button) {
    DesignControl *c = panel.InsertControl(kind);
    c->Left = left;
    c->Top = top;
    c->Width = width;
    c->Height = height;
    panel.setNeedToSave(false);
    return c;
  }

  ResizeFrame &frameOf(const DesignControl *c) {
    ResizeFrame *frame = model().Frame(panel.GetResizeIndex(c));
    EXPECT_NE(frame, nullptr);
    return *frame;
  }

  void click(DesignControl *c, bool ctrl = false, bool shift = false) {
    panel.boolCtrlDown = ctrl;
    panel.boolShiftDown = shift;
    panel.ControlGotFocus(c);
    panel.boolCtrlDown = panel.boolShiftDown = false;
  }

  // A plain click on the first, Ctrl+clicks on the others.
  void select(std::initializer_list<DesignControl *> controls) {
    bool first = true;
    for (DesignControl *c : controls) {
      click(c, !first);
      first = false;
    }
  }
};

// Left, top, width and height of a control or a frame, comparable in one go.
struct Geometry {
  qint32 left, top, width, height;
  bool operator==(const Geometry &) const = default;
};
inline Geometry geometryOf(const DesignControl *c) {
  return {c->Left, c->Top, c->Width, c->Height};
}
inline Geometry geometryOf(const ResizeFrame &f) { return {f.Left, f.Top, f.Width, f.Height}; }
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const Geometry &g, std::ostream *os) {
  *os << "(" << g.left << ", " << g.top << ", " << g.width << " x " << g.height << ")";
}
