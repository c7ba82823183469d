#include "surface/frameedges.h"

#include "surface/paneleditor.h"

int edgeCornerCode(double x, double y, qint32 width, qint32 height) {
  const bool left = x < kEdgeGrab;
  const bool right = x > width - kEdgeGrab;
  const bool top = y < kEdgeGrab;
  const bool bottom = y > height - kEdgeGrab;
  if (left && top) return FrameEdge::TopLeft;
  if (left && bottom) return FrameEdge::BottomLeft;
  if (right && top) return FrameEdge::TopRight;
  if (right && bottom) return FrameEdge::BottomRight;
  if (left) return FrameEdge::Left;
  if (right) return FrameEdge::Right;
  if (top) return FrameEdge::Top;
  if (bottom) return FrameEdge::Bottom;
  return FrameEdge::Inside;
}

int PanelEditor::edgeCorner(double x, double y, const ResizeFrame &frame) {
  return edgeCornerCode(x, y, frame.width, frame.height);
}

bool hasLeftEdge(int code) {
  return code == FrameEdge::TopLeft || code == FrameEdge::Left || code == FrameEdge::BottomLeft;
}
bool hasRightEdge(int code) {
  return code == FrameEdge::BottomRight || code == FrameEdge::Right || code == FrameEdge::TopRight;
}
bool hasTopEdge(int code) {
  return code == FrameEdge::TopLeft || code == FrameEdge::TopRight || code == FrameEdge::Top;
}
bool hasBottomEdge(int code) {
  return code == FrameEdge::BottomLeft || code == FrameEdge::Bottom ||
         code == FrameEdge::BottomRight;
}

FramePointer pointerForEdge(int code) {
  switch (code) {
    case FrameEdge::TopLeft:
    case FrameEdge::BottomRight:
      return FramePointer::SizeNWSE;
    case FrameEdge::BottomLeft:
    case FrameEdge::TopRight:
      return FramePointer::SizeNESW;
    case FrameEdge::Left:
    case FrameEdge::Right:
      return FramePointer::SizeWE;
    case FrameEdge::Top:
    case FrameEdge::Bottom:
      return FramePointer::SizeNS;
    default:
      return FramePointer::Default;
  }
}

void placeFrame(ResizeFrame &frame, const DesignControl &control) {
  frame.left = control.left - kFrameBand;
  frame.top = control.top - kFrameBand;
  frame.width = control.width + kFrameMinimum;
  frame.height = control.height + kFrameMinimum;
}
