// Moving and resizing the current control with the mouse on its frame; the
// other selected controls follow by the same amounts.
#include <cstdlib>

#include "model/numbers.h"
#include "surface/frameedges.h"
#include "surface/frmpanel.h"

void frmPanel::FrameMouseDown(int frameIndex, int button, double x, double y) {
  ResizeFrame *frame = m_model.Frame(frameIndex);
  if (!frame) return;
  if (button != MouseButton::Left && button != MouseButton::Right) return;
  Batch batch(*this);
  finishGesture();
  // The press focuses the frame, which selects its control; a Ctrl+press
  // deselects it instead (even when its frame has the focus already), and
  // then nothing is dragged.
  if (m_focusFrame != frameIndex || boolCtrlDown) FrameGotFocus(frameIndex);
  if (m_focusFrame != frameIndex) return;
  lngMouseStartX = RoundHalfEven(x);
  lngMouseStartY = RoundHalfEven(y);
  if (button == MouseButton::Left) {
    intResizeEdge = qint16(GetEdgeCorner(x, y, *frame));
    boolResizing = true;
  } else {
    boolMoving = true;
    frame->MousePointer = FramePointer::Move;
    batch.add(Pointer);
  }
  // The whole drag, up to the release, is one undo step.
  BeginEdit(boolResizing ? QStringLiteral("Resize") : QStringLiteral("Move"),
            StepName::WithControls);
  m_gestureOpen = true;
  beginSnapping();
}

void frmPanel::FrameMouseUp(int, int, double, double) {
  boolResizing = false;
  boolMoving = false;
  finishGesture();
}

void frmPanel::FrameMouseMove(int frameIndex, int buttons, double x, double y) {
  ResizeFrame *frame = m_model.Frame(frameIndex);
  if (!frame) return;
  Batch batch(*this);

  if (!boolResizing && !boolMoving) {
    const int code = GetEdgeCorner(x, y, *frame);
    if (code != FrameEdge::Inside && frame->MousePointer != PointerForEdge(code)) {
      frame->MousePointer = PointerForEdge(code);
      batch.add(Pointer);
    }
  }

  // Dragging works on the current control through its own frame. After a
  // Ctrl+press that deselected the pressed control, the current control is
  // another one and the drag is ignored rather than jumping that control
  // onto the pressed frame.
  auto *control = dynamic_cast<DesignControl *>(objCurrentControl);
  if (!control || GetResizeIndex(control) != frameIndex) return;

  const qint32 xi = RoundHalfEven(x);
  const qint32 yi = RoundHalfEven(y);
  qint32 oldWidth = 0, oldHeight = 0;
  if (boolResizing) {
    oldWidth = control->Width;
    oldHeight = control->Height;
    qint32 dLeft = 0, dTop = 0, dWidth = 0, dHeight = 0;
    const int edge = intResizeEdge;
    // Left and top edges: the frame moves with the edge, so the pointer keeps
    // its place inside it and the step is how far it left that place. Right
    // and bottom edges: the frame's origin stays, so the step is counted
    // from the last pointer position.
    if (HasLeftEdge(edge)) {
      dLeft = xi - lngMouseStartX;
      dWidth = -dLeft;
    } else if (HasRightEdge(edge)) {
      dWidth = xi - lngMouseStartX;
    }
    if (HasTopEdge(edge)) {
      dTop = yi - lngMouseStartY;
      dHeight = -dTop;
    } else if (HasBottomEdge(edge)) {
      dHeight = yi - lngMouseStartY;
    }
    const qint32 rawWidth = dWidth, rawHeight = dHeight;
    snapResizeStep(*control, edge, dLeft, dTop, dWidth, dHeight);
    if (HasLeftEdge(edge)) {
      frame->Left += dLeft;
      if (frame->Width + dWidth > kFrameMinimum) frame->Width += dWidth;
      control->Left = frame->Left + kFrameBand;
      control->Width = frame->Width - kFrameMinimum;
    } else if (HasRightEdge(edge)) {
      if (dWidth + frame->Width > kFrameMinimum) frame->Width += dWidth;
      // What snapping added stays out of the next step's count, so that the
      // edge lets go again once the pointer moves on.
      lngMouseStartX = xi + (dWidth - rawWidth);
      control->Width = frame->Width - kFrameMinimum;
    }
    if (HasTopEdge(edge)) {
      frame->Top += dTop;
      if (frame->Height + dHeight > kFrameMinimum) frame->Height += dHeight;
      control->Top = frame->Top + kFrameBand;
      control->Height = frame->Height - kFrameMinimum;
    } else if (HasBottomEdge(edge)) {
      if (dHeight + frame->Height > kFrameMinimum) frame->Height += dHeight;
      lngMouseStartY = yi + (dHeight - rawHeight);
      control->Height = frame->Height - kFrameMinimum;
    }
    batch.add(Geometry);
    emit geometryRowsChanged(control->Width, control->Height, control->Top, control->Left);
    ResizeSelected(dLeft, dTop, dWidth, dHeight, false);
  } else if (boolMoving) {
    // The frame moves with the pointer, which keeps its place inside it: a
    // step is how far it left that place (snapping may add to it).
    qint32 dx = xi - lngMouseStartX;
    qint32 dy = yi - lngMouseStartY;
    snapMoveStep(dx, dy);
    frame->Left += dx;
    control->Left = frame->Left + kFrameBand;
    frame->Top += dy;
    control->Top = frame->Top + kFrameBand;
    batch.add(Geometry);
    emit geometryRowsChanged(control->Width, control->Height, control->Top, control->Left);
    ResizeSelected(dx, dy, 0, 0, false);
  }

  // An analogue clock stays square: the side follows whichever of width and
  // height changed more.
  auto *clock = As<DesignClock>(control);
  if (buttons != 0 && clock && !clock->Digital) {
    if (std::abs(qint64(clock->Height) - oldHeight) > std::abs(qint64(clock->Width) - oldWidth))
      clock->Width = clock->Height;
    else
      clock->Height = clock->Width;
    frame->Width = clock->Width + kFrameMinimum;
    frame->Height = frame->Width;
    batch.add(Geometry);
  }
}
