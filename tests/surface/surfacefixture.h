#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "support/fakeui.h"
#include "surface/paneleditor.h"

// A panel window with helpers to place controls and click them.
class SurfaceTest : public ::testing::Test {
 protected:
  FakeUi ui;
  PanelEditor panel{ui};

  PanelModel &model() { return panel.model(); }

  // A control with its record and frame, as the Insert menu makes it, moved
  // to the given geometry.
  DesignControl *add(qint32 left, qint32 top, qint32 width, qint32 height,
                     ControlKind kind = ControlKind::Button) {
    DesignControl *c = panel.insertControl(kind);
    c->left = left;
    c->top = top;
    c->width = width;
    c->height = height;
    panel.setNeedToSave(false);
    return c;
  }

  ResizeFrame &frameOf(const DesignControl *c) {
    ResizeFrame *frame = model().frame(panel.frameIndexOf(c));
    EXPECT_NE(frame, nullptr);
    return *frame;
  }

  void click(DesignControl *c, bool ctrl = false, bool shift = false) {
    panel.setCtrlDown(ctrl);
    panel.setShiftDown(shift);
    panel.controlGotFocus(c);
    panel.setCtrlDown(false);
    panel.setShiftDown(false);
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
  return {c->left, c->top, c->width, c->height};
}
inline Geometry geometryOf(const ResizeFrame &f) { return {f.left, f.top, f.width, f.height}; }
inline void printTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void printTo(const Geometry &g, std::ostream *os) {
  *os << "(" << g.left << ", " << g.top << ", " << g.width << " x " << g.height << ")";
}
