// Moving and m_resizing the current control with the mouse on its frame; the
// other selected controls follow by the same amounts.
#include <cstdlib>

#include "model/numbers.h"
#include "surface/frameedges.h"
#include "surface/paneleditor.h"

void PanelEditor::frameMouseDown(int frameIndex, int button, double x, double y) {
  ResizeFrame *frame = m_model.frame(frameIndex);
  if (!frame) return;
  if (button != MouseButton::Left && button != MouseButton::Right) return;
  Batch batch(*this);
  finishGesture();
  // The press focuses the frame, which selects its control; a Ctrl+press
  // deselects it instead (even when its frame has the focus already), and
  // then nothing is dragged.
  if (m_focusFrame != frameIndex || m_ctrlDown) frameGotFocus(frameIndex);
  if (m_focusFrame != frameIndex) return;
  m_mouseStartX = roundHalfEven(x);
  m_mouseStartY = roundHalfEven(y);
  if (button == MouseButton::Left) {
    m_resizeEdge = qint16(edgeCorner(x, y, *frame));
    m_resizing = true;
  } else {
    m_moving = true;
    frame->mousePointer = FramePointer::Move;
    batch.add(Pointer);
  }
  // The whole drag, up to the release, is one undo step.
  beginEdit(m_resizing ? QStringLiteral("Resize") : QStringLiteral("Move"), StepName::WithControls);
  m_gestureOpen = true;
  beginSnapping();
}

void PanelEditor::frameMouseUp(int, int, double, double) {
  m_resizing = false;
  m_moving = false;
  finishGesture();
}

void PanelEditor::frameMouseMove(int frameIndex, int buttons, double x, double y) {
  ResizeFrame *frame = m_model.frame(frameIndex);
  if (!frame) return;
  Batch batch(*this);

  if (!m_resizing && !m_moving) {
    const int code = edgeCorner(x, y, *frame);
    if (code != FrameEdge::Inside && frame->mousePointer != pointerForEdge(code)) {
      frame->mousePointer = pointerForEdge(code);
      batch.add(Pointer);
    }
  }

  // Dragging works on the current control through its own frame. After a
  // Ctrl+press that deselected the pressed control, the current control is
  // another one and the drag is ignored rather than jumping that control
  // onto the pressed frame.
  auto *control = dynamic_cast<DesignControl *>(m_currentControl);
  if (!control || frameIndexOf(control) != frameIndex) return;

  const qint32 xi = roundHalfEven(x);
  const qint32 yi = roundHalfEven(y);
  qint32 oldWidth = 0, oldHeight = 0;
  if (m_resizing) {
    oldWidth = control->width;
    oldHeight = control->height;
    qint32 dLeft = 0, dTop = 0, dWidth = 0, dHeight = 0;
    const int edge = m_resizeEdge;
    // Left and top edges: the frame moves with the edge, so the pointer keeps
    // its place inside it and the step is how far it left that place. Right
    // and bottom edges: the frame's origin stays, so the step is counted
    // from the last pointer position.
    if (hasLeftEdge(edge)) {
      dLeft = xi - m_mouseStartX;
      dWidth = -dLeft;
    } else if (hasRightEdge(edge)) {
      dWidth = xi - m_mouseStartX;
    }
    if (hasTopEdge(edge)) {
      dTop = yi - m_mouseStartY;
      dHeight = -dTop;
    } else if (hasBottomEdge(edge)) {
      dHeight = yi - m_mouseStartY;
    }
    const qint32 rawWidth = dWidth, rawHeight = dHeight;
    snapResizeStep(*control, edge, dLeft, dTop, dWidth, dHeight);
    if (hasLeftEdge(edge)) {
      frame->left += dLeft;
      if (frame->width + dWidth > kFrameMinimum) frame->width += dWidth;
      control->left = frame->left + kFrameBand;
      control->width = frame->width - kFrameMinimum;
    } else if (hasRightEdge(edge)) {
      if (dWidth + frame->width > kFrameMinimum) frame->width += dWidth;
      // What snapping added stays out of the next step's count, so that the
      // edge lets go again once the pointer moves on.
      m_mouseStartX = xi + (dWidth - rawWidth);
      control->width = frame->width - kFrameMinimum;
    }
    if (hasTopEdge(edge)) {
      frame->top += dTop;
      if (frame->height + dHeight > kFrameMinimum) frame->height += dHeight;
      control->top = frame->top + kFrameBand;
      control->height = frame->height - kFrameMinimum;
    } else if (hasBottomEdge(edge)) {
      if (dHeight + frame->height > kFrameMinimum) frame->height += dHeight;
      m_mouseStartY = yi + (dHeight - rawHeight);
      control->height = frame->height - kFrameMinimum;
    }
    batch.add(Geometry);
    emit geometryRowsChanged(control->width, control->height, control->top, control->left);
    resizeSelected(dLeft, dTop, dWidth, dHeight, false);
  } else if (m_moving) {
    // The frame moves with the pointer, which keeps its place inside it: a
    // step is how far it left that place (snapping may add to it).
    qint32 dx = xi - m_mouseStartX;
    qint32 dy = yi - m_mouseStartY;
    snapMoveStep(dx, dy);
    frame->left += dx;
    control->left = frame->left + kFrameBand;
    frame->top += dy;
    control->top = frame->top + kFrameBand;
    batch.add(Geometry);
    emit geometryRowsChanged(control->width, control->height, control->top, control->left);
    resizeSelected(dx, dy, 0, 0, false);
  }

  // An analogue clock stays square: the side follows whichever of width and
  // height changed more.
  auto *clock = controlCast<DesignClock>(control);
  if (buttons != 0 && clock && !clock->digital) {
    if (std::abs(qint64(clock->height) - oldHeight) > std::abs(qint64(clock->width) - oldWidth))
      clock->width = clock->height;
    else
      clock->height = clock->width;
    frame->width = clock->width + kFrameMinimum;
    frame->height = frame->width;
    batch.add(Geometry);
  }
}
