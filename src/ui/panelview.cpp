#include "ui/panelview.h"

#include <QCloseEvent>
#include <QDrag>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>

#include "app/mdiformdesigner.h"
#include "model/numbers.h"
#include "surface/frmpanel.h"
#include "ui/controlpainter.h"
#include "ui/palettewidget.h"
#include "ui/paintsupport.h"
#include "ui/qtconvert.h"
#include "ui/webbrowserhost.h"

namespace {
QRectF pixelRect(qint32 left, qint32 top, qint32 width, qint32 height) {
  return QRectF(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                TwipsToPixels(height));
}

int keyCodeOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Shift: return KeyCode::Shift;
    case Qt::Key_Control: return KeyCode::Ctrl;
    case Qt::Key_Left: return KeyCode::Left;
    case Qt::Key_Up: return KeyCode::Up;
    case Qt::Key_Right: return KeyCode::Right;
    case Qt::Key_Down: return KeyCode::Down;
    case Qt::Key_Delete: return KeyCode::Delete;
    case Qt::Key_F1: return KeyCode::F1;
    default: return 0;
  }
}

int shiftStateOf(Qt::KeyboardModifiers m) {
  int s = 0;
  if (m & Qt::ShiftModifier) s |= ShiftState::Shift;
  if (m & Qt::ControlModifier) s |= ShiftState::Ctrl;
  if (m & Qt::AltModifier) s |= ShiftState::Alt;
  return s;
}

int buttonsOf(Qt::MouseButtons b) {
  int out = 0;
  if (b & Qt::LeftButton) out |= MouseButton::Left;
  if (b & Qt::RightButton) out |= MouseButton::Right;
  if (b & Qt::MiddleButton) out |= MouseButton::Middle;
  return out;
}

Qt::CursorShape cursorOf(FramePointer p) {
  switch (p) {
    case FramePointer::Move: return Qt::SizeAllCursor;
    case FramePointer::SizeNWSE: return Qt::SizeFDiagCursor;
    case FramePointer::SizeNESW: return Qt::SizeBDiagCursor;
    case FramePointer::SizeWE: return Qt::SizeHorCursor;
    case FramePointer::SizeNS: return Qt::SizeVerCursor;
    case FramePointer::Default: break;
  }
  return Qt::ArrowCursor;
}
}  // namespace

PanelCanvasView::PanelCanvasView(frmPanel &panel, MDIFormDesigner &designer, QWidget *parent)
    : QWidget(parent), m_panel(panel), m_designer(designer) {
  setAcceptDrops(true);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_browsers = new WebBrowserHost(*this, m_panel.model());
  connect(&m_panel, &frmPanel::changed, this, [this] {
    update();
    m_browsers->sync();
  });
  QTimer::singleShot(0, m_browsers, &WebBrowserHost::sync);
  // Clocks are live.
  m_clockTick.setInterval(1000);
  connect(&m_clockTick, &QTimer::timeout, this, [this] {
    if (!m_panel.model().Controls(ControlKind::Clock).empty()) update();
  });
  m_clockTick.start();
}

DesignControl *PanelCanvasView::controlAt(const QPointF &pixels) const {
  const auto &order = m_panel.model().ZOrder();
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    DesignControl *c = *it;
    if (c->Visible && pixelRect(c->Left, c->Top, c->Width, c->Height).contains(pixels)) return c;
  }
  return nullptr;
}

int PanelCanvasView::frameAt(const QPointF &pixels) const {
  for (const auto &record : m_panel.model().PanelDetails.CollControls) {
    const ResizeFrame *f = const_cast<PanelModel &>(m_panel.model()).Frame(record->lngPictResizeIndex);
    if (f && f->Visible && pixelRect(f->Left, f->Top, f->Width, f->Height).contains(pixels))
      return f->index;
  }
  return 0;
}

void PanelCanvasView::paintEvent(QPaintEvent *event) {
  QPainter p(this);
  PanelModel &model = m_panel.model();
  // Only what lies in the part to paint is drawn: a large panel shows a
  // small part of its controls at a time.
  const QRectF exposed = QRectF(event->rect()).adjusted(-4, -4, 4, 4);
  p.fillRect(event->rect(), ColorFromValue(model.pictMain.BackColor));
  if (!model.pictMain.Picture.isEmpty()) {
    const QImage picture(model.pictMain.Picture);
    if (!picture.isNull()) p.drawImage(QPointF(0, 0), picture);
  }
  // Frames lie behind every control.
  const QColor frameColor(0xC0, 0xC0, 0xC0);
  for (const auto &record : model.PanelDetails.CollControls) {
    const ResizeFrame *f = model.Frame(record->lngPictResizeIndex);
    if (!f || !f->Visible) continue;
    const QRectF frame = pixelRect(f->Left, f->Top, f->Width, f->Height);
    if (frame.intersects(exposed)) p.fillRect(frame, frameColor);
  }
  const QDateTime now = QDateTime::currentDateTime();
  for (DesignControl *c : model.ZOrder()) {
    if (!c->Visible) continue;
    const QRectF bounds = pixelRect(c->Left, c->Top, c->Width, c->Height);
    if (!bounds.intersects(exposed)) continue;
    p.save();
    PaintControl(p, bounds, *c, now, 1.0 / kTwipsPerPixel);
    p.restore();
  }
  // The current control gets a thin focus mark inside its frame.
  if (auto *current = dynamic_cast<DesignControl *>(m_panel.objCurrentControl);
      current && current->Visible && m_panel.IsObjectSelected(current)) {
    QPen pen(QColor(0x1d, 0x6f, 0xd6), 1, Qt::DashLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(pixelRect(current->Left, current->Top, current->Width, current->Height)
                   .adjusted(-2.5, -2.5, 2.5, 2.5));
  }
}

void PanelCanvasView::syncModifiers(Qt::KeyboardModifiers modifiers) {
  m_panel.boolShiftDown = modifiers & Qt::ShiftModifier;
  m_panel.boolCtrlDown = modifiers & Qt::ControlModifier;
}

void PanelCanvasView::updateCursor(int frameIndex) {
  const ResizeFrame *f = frameIndex ? m_panel.model().Frame(frameIndex) : nullptr;
  setCursor(f ? cursorOf(f->MousePointer) : Qt::ArrowCursor);
}

void PanelCanvasView::mousePressEvent(QMouseEvent *event) {
  setFocus(Qt::MouseFocusReason);
  m_designer.ActivatePanel(&m_panel);
  syncModifiers(event->modifiers());
  const QPointF pos = event->position();
  if (DesignControl *c = controlAt(pos)) {
    if (event->button() == Qt::LeftButton) m_panel.ControlGotFocus(c);
    return;
  }
  if (const int frame = frameAt(pos)) {
    const ResizeFrame *f = m_panel.model().Frame(frame);
    const double x = PixelsToTwips(pos.x()) - f->Left, y = PixelsToTwips(pos.y()) - f->Top;
    m_panel.FrameGotFocus(frame);
    m_panel.FrameMouseDown(frame, buttonsOf(event->button()), x, y);
    m_dragFrame = frame;
    updateCursor(frame);
    return;
  }
  m_panel.CanvasGotFocus();
}

void PanelCanvasView::mouseMoveEvent(QMouseEvent *event) {
  const QPointF pos = event->position();
  const int frame = m_dragFrame ? m_dragFrame : frameAt(pos);
  if (!frame || (!m_dragFrame && controlAt(pos))) {
    if (!m_dragFrame) unsetCursor();
    return;
  }
  const ResizeFrame *f = m_panel.model().Frame(frame);
  if (!f) return;
  m_panel.FrameMouseMove(frame, buttonsOf(event->buttons()), PixelsToTwips(pos.x()) - f->Left,
                         PixelsToTwips(pos.y()) - f->Top);
  updateCursor(frame);
}

void PanelCanvasView::mouseReleaseEvent(QMouseEvent *event) {
  if (!m_dragFrame) return;
  if (const ResizeFrame *f = m_panel.model().Frame(m_dragFrame)) {
    const QPointF pos = event->position();
    m_panel.FrameMouseUp(m_dragFrame, buttonsOf(event->button()), PixelsToTwips(pos.x()) - f->Left,
                         PixelsToTwips(pos.y()) - f->Top);
  }
  m_dragFrame = 0;
}

void PanelCanvasView::keyPressEvent(QKeyEvent *event) {
  const int code = keyCodeOf(event->key());
  if (!code || !m_panel.KeyDown(code, shiftStateOf(event->modifiers())))
    QWidget::keyPressEvent(event);
}

void PanelCanvasView::keyReleaseEvent(QKeyEvent *event) {
  if (const int code = keyCodeOf(event->key())) m_panel.KeyUp(code, shiftStateOf(event->modifiers()));
}

void PanelCanvasView::dragEnterEvent(QDragEnterEvent *event) {
  if (event->mimeData()->hasFormat(PaletteWidget::kMimeType)) event->acceptProposedAction();
}

void PanelCanvasView::dragMoveEvent(QDragMoveEvent *event) {
  if (event->mimeData()->hasFormat(PaletteWidget::kMimeType)) event->acceptProposedAction();
}

void PanelCanvasView::dropEvent(QDropEvent *event) {
  const QMimeData *data = event->mimeData();
  if (!data->hasFormat(PaletteWidget::kMimeType)) return;
  const QString source = QString::fromUtf8(data->data(PaletteWidget::kMimeType));
  const QPointF pos = event->position();
  m_designer.ActivatePanel(&m_panel);
  setFocus(Qt::OtherFocusReason);
  m_panel.DropFromPalette(source, PixelsToTwips(pos.x()), PixelsToTwips(pos.y()),
                          m_designer.lngDragOffsetX, m_designer.lngDragOffsetY,
                          controlAt(pos) == nullptr);
  event->acceptProposedAction();
}

PanelSubWindow::PanelSubWindow(frmPanel &panel, MDIFormDesigner &designer, QWidget *parent)
    : QMdiSubWindow(parent), m_panel(panel), m_designer(designer) {
  setAttribute(Qt::WA_DeleteOnClose);
  m_canvas = new PanelCanvasView(panel, designer, this);
  setWidget(m_canvas);
  setWindowTitle(panel.caption());
  connect(&panel, &frmPanel::changed, this, [this](int flags) {
    if (flags & frmPanel::Caption) setWindowTitle(m_panel.caption());
    if (flags & frmPanel::Geometry) {
      // The panel's window size was set from the grid: follow it.
      const QSize wanted(qRound(TwipsToPixels(m_panel.model().Width)),
                         qRound(TwipsToPixels(m_panel.model().Height)));
      if (qAbs(wanted.width() - width()) > 1 || qAbs(wanted.height() - height()) > 1) resize(wanted);
    }
  });
}

void PanelSubWindow::closeDecided() {
  m_closeDecided = true;
  close();
}

void PanelSubWindow::closeEvent(QCloseEvent *event) {
  if (!m_closeDecided) {
    if (!m_designer.QueryClosePanel(&m_panel)) {
      event->ignore();
      return;
    }
    m_closeDecided = true;
    m_designer.ClosePanel(&m_panel);  // the main window drops this view on panelRemoved
  }
  QMdiSubWindow::closeEvent(event);
}

void PanelSubWindow::resizeEvent(QResizeEvent *event) {
  QMdiSubWindow::resizeEvent(event);
  const QSize outer = event->size();
  m_panel.WindowResized(RoundHalfEven(PixelsToTwips(outer.width())),
                        RoundHalfEven(PixelsToTwips(outer.height())));
}
