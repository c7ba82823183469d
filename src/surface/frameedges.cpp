#include "surface/frameedges.h"

#include "surface/frmpanel.h"

int EdgeCornerCode(double x, double y, qint32 width, qint32 height) {
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

int frmPanel::GetEdgeCorner(double x, double y, const ResizeFrame &frame) {
  return EdgeCornerCode(x, y, frame.Width, frame.Height);
}

bool HasLeftEdge(int code) {
  return code == FrameEdge::TopLeft || code == FrameEdge::Left || code == FrameEdge::BottomLeft;
}
bool HasRightEdge(int code) {
  return code == FrameEdge::BottomRight || code == FrameEdge::Right || code == FrameEdge::TopRight;
}
bool HasTopEdge(int code) {
  return code == FrameEdge::TopLeft || code == FrameEdge::TopRight || code == FrameEdge::Top;
}
bool HasBottomEdge(int code) {
  return code == FrameEdge::BottomLeft || code == FrameEdge::Bottom ||
         code == FrameEdge::BottomRight;
}

FramePointer PointerForEdge(int code) {
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

void PlaceFrame(ResizeFrame &frame, const DesignControl &control) {
  frame.Left = control.Left - kFrameBand;
  frame.Top = control.Top - kFrameBand;
  frame.Width = control.Width + kFrameMinimum;
  frame.Height = control.Height + kFrameMinimum;
}
