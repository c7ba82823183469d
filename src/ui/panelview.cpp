#include "ui/panelview.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygonF>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusTipEvent>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <utility>

#include "app/mainwindowlogic.h"
#include "grid/propertygrid.h"
#include "model/numbers.h"
#include "surface/frameedges.h"
#include "surface/paneleditor.h"
#include "surface/previewsession.h"
#include "ui/controlpainter.h"
#include "ui/paintsupport.h"
#include "ui/palettewidget.h"
#include "ui/plaintext.h"
#include "ui/previewlogpane.h"
#include "ui/qtconvert.h"
#include "ui/webbrowserhost.h"

namespace {
constexpr double kContentMargin = 8;  // pixels of canvas beyond the outermost frame
constexpr double kBandThreshold = 4;  // pixels a press must travel to become a rubber band
constexpr double kSnapPixels = 6;     // how near on screen an edge must come to snap
constexpr double kMinDotSpacing = 4;  // pixels between the grid dots drawn
// The steps of Zoom In and Zoom Out.
constexpr double kZoomSteps[] = {0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 3.0, 4.0};

// The next step up or down from a zoom (which Fit to Window may have left
// between two steps); the zoom itself at either end.
double zoomStep(double zoom, bool up) {
  if (up) {
    for (const double step : kZoomSteps)
      if (step > zoom * 1.001) return step;
  } else {
    for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it)
      if (*it < zoom * 0.999) return *it;
  }
  return zoom;
}

int keyCodeOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Shift:
      return KeyCode::Shift;
    case Qt::Key_Control:
      return KeyCode::Ctrl;
    case Qt::Key_Left:
      return KeyCode::Left;
    case Qt::Key_Up:
      return KeyCode::Up;
    case Qt::Key_Right:
      return KeyCode::Right;
    case Qt::Key_Down:
      return KeyCode::Down;
    case Qt::Key_Delete:
      return KeyCode::Delete;
    case Qt::Key_F1:
      return KeyCode::F1;
    default:
      return 0;
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
    case FramePointer::Move:
      return Qt::SizeAllCursor;
    case FramePointer::SizeNWSE:
      return Qt::SizeFDiagCursor;
    case FramePointer::SizeNESW:
      return Qt::SizeBDiagCursor;
    case FramePointer::SizeWE:
      return Qt::SizeHorCursor;
    case FramePointer::SizeNS:
      return Qt::SizeVerCursor;
    case FramePointer::Default:
      break;
  }
  return Qt::ArrowCursor;
}
}  // namespace

PanelCanvasView::PanelCanvasView(PanelEditor &panel, MainWindowLogic &designer, QWidget *parent)
    : QWidget(parent), m_panel(panel), m_designer(designer) {
  setAcceptDrops(true);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_browsers = new WebBrowserHost(*this, m_panel.model());
  connect(&m_panel, &PanelEditor::changed, this, [this](int flags) {
    if (flags & (PanelEditor::Geometry | PanelEditor::Structure)) fitToContents();
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

QString PanelCanvasView::frameHint() {
  return tr("Right-drag to move, left-drag an edge to resize");
}

namespace {
bool g_gridShown = false;
bool g_snapToControls = true;
bool g_snapToGrid = false;
}  // namespace

void PanelCanvasView::setSnapToControls(bool on) { g_snapToControls = on; }
bool PanelCanvasView::snapToControls() { return g_snapToControls; }
void PanelCanvasView::setSnapToGrid(bool on) { g_snapToGrid = on; }
bool PanelCanvasView::snapToGrid() { return g_snapToGrid; }

void PanelCanvasView::setGridShown(bool shown) {
  if (shown == g_gridShown) return;
  g_gridShown = shown;
  for (QWidget *w : QApplication::allWidgets())
    if (auto *canvas = qobject_cast<PanelCanvasView *>(w)) canvas->update();
}

bool PanelCanvasView::gridShown() { return g_gridShown; }

double PanelCanvasView::pixelsPerTwip() const { return m_zoom / kTwipsPerPixel; }

QRectF PanelCanvasView::pixelRect(qint32 left, qint32 top, qint32 width, qint32 height) const {
  const double k = pixelsPerTwip();
  return QRectF(m_origin.x() + left * k, m_origin.y() + top * k, width * k, height * k);
}

QPointF PanelCanvasView::toTwips(const QPointF &pixels) const {
  const double k = pixelsPerTwip();
  return QPointF((pixels.x() - m_origin.x()) / k, (pixels.y() - m_origin.y()) / k);
}

QPoint PanelCanvasView::twipsAt(const QPointF &pixels) const {
  const QPointF twips = toTwips(pixels);
  return {int(std::floor(twips.x() + 0.5)), int(std::floor(twips.y() + 0.5))};
}

void PanelCanvasView::setZoom(double zoom, const QPointF *anchor) {
  zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
  // A drag or band in progress keeps the scale it started with.
  if (qFuzzyCompare(zoom, m_zoom) || m_dragFrame || m_banding) return;
  // The twip point under the anchor, and where the anchor is in the viewport.
  QPointF at = anchor ? *anchor : QPointF(width() / 2.0, height() / 2.0);
  QPointF inViewport = at;
  if (m_scrollArea) {
    if (!anchor) at = mapFrom(m_scrollArea->viewport(), m_scrollArea->viewport()->rect().center());
    inViewport = mapTo(m_scrollArea->viewport(), at.toPoint());
  }
  const QPointF twips = toTwips(at);
  m_zoom = zoom;
  m_origin = {};  // found again for the new size
  fitToContents();
  if (m_scrollArea) {
    const QPointF now =
        pixelRect(roundHalfEven(twips.x()), roundHalfEven(twips.y()), 0, 0).topLeft();
    m_scrollArea->horizontalScrollBar()->setValue(qRound(now.x() - inViewport.x()));
    m_scrollArea->verticalScrollBar()->setValue(qRound(now.y() - inViewport.y()));
  }
  update();
  m_browsers->sync();
  emit zoomChanged(m_zoom);
}

void PanelCanvasView::zoomIn() { setZoom(zoomStep(m_zoom, true)); }

void PanelCanvasView::zoomOut() { setZoom(zoomStep(m_zoom, false)); }

void PanelCanvasView::fitInto(const QSize &visible) {
  if (!m_scrollArea) return;
  const ContentBounds b = contentBounds();
  const double wide = double(b.maxX - b.minX) / kTwipsPerPixel;
  const double high = double(b.maxY - b.minY) / kTwipsPerPixel;
  const bool empty = b.maxX == b.minX || b.maxY == b.minY;
  setZoom(empty ? 1.0
                : std::min((visible.width() - 2 * kContentMargin - 1) / wide,
                           (visible.height() - 2 * kContentMargin - 1) / high));
  m_scrollArea->horizontalScrollBar()->setValue(0);
  m_scrollArea->verticalScrollBar()->setValue(0);
}

void PanelCanvasView::wheelEvent(QWheelEvent *event) {
  if (!(event->modifiers() & Qt::ControlModifier)) {
    QWidget::wheelEvent(event);  // the scroll area scrolls
    return;
  }
  // Ctrl+wheel zooms a step per notch about the pointer.
  if (const int delta = event->angleDelta().y()) {
    const QPointF at = event->position();
    setZoom(zoomStep(m_zoom, delta > 0), &at);
  }
  event->accept();
}

PanelCanvasView::ContentBounds PanelCanvasView::contentBounds() const {
  // Everything drawn, frames included, in twips; the canvas origin always counts.
  ContentBounds b;
  for (const DesignControl *c : m_panel.model().zOrder()) {
    if (!c->visible) continue;
    b.beyondLeft = b.beyondLeft || c->left < 0;
    b.beyondTop = b.beyondTop || c->top < 0;
    // A frame reaching past the origin only counts with its control: a
    // control at 0 must not move the whole canvas by the frame's width.
    if (c->left < 0) b.minX = std::min<qint64>(b.minX, qint64(c->left) - kFrameBand);
    if (c->top < 0) b.minY = std::min<qint64>(b.minY, qint64(c->top) - kFrameBand);
    b.maxX = std::max<qint64>(b.maxX, qint64(c->left) + c->width + kFrameBand);
    b.maxY = std::max<qint64>(b.maxY, qint64(c->top) + c->height + kFrameBand);
  }
  return b;
}

void PanelCanvasView::fitToContents() {
  if (!m_scrollArea) return;
  const ContentBounds b = contentBounds();
  const qint64 minX = b.minX, minY = b.minY, maxX = b.maxX, maxY = b.maxY;
  m_beyondLeft = b.beyondLeft;
  m_beyondTop = b.beyondTop;
  // While a frame is dragged the canvas only grows to the right and down: a
  // new origin, or a smaller canvas that scrolls, would move the panel under
  // the pointer and add that to the move. The rest waits for the release.
  const bool dragging = m_dragFrame != 0;
  const double k = pixelsPerTwip();
  const QPointF origin = dragging ? m_origin
                                  : QPointF(minX < 0 ? std::ceil(-minX * k + kContentMargin) : 0,
                                            minY < 0 ? std::ceil(-minY * k + kContentMargin) : 0);
  // Zoomed in, what the window shows at 100 % grows with the zoom and scrolls.
  const QSize visible = m_scrollArea->viewport()->size() * std::max(1.0, m_zoom);
  QSize wanted(std::max(visible.width(), int(std::ceil(origin.x() + maxX * k + kContentMargin))),
               std::max(visible.height(), int(std::ceil(origin.y() + maxY * k + kContentMargin))));
  if (dragging) wanted = wanted.expandedTo(size());
  const QPointF shift = origin - m_origin;
  m_origin = origin;
  if (size() != wanted) resize(wanted);
  if (!shift.isNull()) {
    // The canvas grew to the left or upwards: keep what is seen in place.
    QScrollBar *h = m_scrollArea->horizontalScrollBar();
    QScrollBar *v = m_scrollArea->verticalScrollBar();
    h->setValue(h->value() + int(shift.x()));
    v->setValue(v->value() + int(shift.y()));
    update();
  }
}

void PanelCanvasView::setPreview(PreviewSession *session) {
  if (m_preview) disconnect(m_preview, nullptr, this, nullptr);
  // A frame drag in progress ends where it is, as one undo step; a rubber
  // band is dropped.
  if (m_dragFrame) endFrameDrag(0);
  m_bodyFrame = 0;
  m_banding = false;
  m_preview = session;
  showFrameHint(false);
  unsetCursor();
  if (session) {
    connect(session, &PreviewSession::changed, this, qOverload<>(&QWidget::update));
    connect(session, &PreviewSession::metersMoved, this, [this] {
      for (const ControlKind kind : {ControlKind::Meter, ControlKind::MeterFader})
        for (const DesignControl *c : m_panel.model().Controls(kind))
          update(pixelRect(c->left, c->top, c->width, c->height).toAlignedRect());
    });
  }
  m_browsers->showLivePage(nullptr);
  m_browsers->setInteractive(session != nullptr);
  update();
}

DesignControl *PanelCanvasView::controlAt(const QPointF &pixels) const {
  const auto &order = m_panel.model().zOrder();
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    DesignControl *c = *it;
    if (c->visible && pixelRect(c->left, c->top, c->width, c->height).contains(pixels)) return c;
  }
  return nullptr;
}

int PanelCanvasView::frameAt(const QPointF &pixels) const {
  for (const auto &record : m_panel.model().panelRecord.records) {
    const ResizeFrame *f = const_cast<PanelModel &>(m_panel.model()).frame(record->frameIndex);
    if (f && f->visible && pixelRect(f->left, f->top, f->width, f->height).contains(pixels))
      return f->index;
  }
  return 0;
}

bool PanelCanvasView::event(QEvent *event) {
  if (event->type() == QEvent::ToolTip && m_preview) {
    QToolTip::hideText();  // operators see no design hints
    return true;
  }
  if (event->type() == QEvent::ToolTip) {
    // The control under the pointer, else the frame, says how to handle it.
    auto *help = static_cast<QHelpEvent *>(event);
    QString tip;
    if (const DesignControl *c = controlAt(help->pos())) {
      tip = c->toolTipText;
    } else if (const int index = frameAt(help->pos())) {
      tip = m_panel.model().frame(index)->toolTipText;
    }
    tip.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (tip.isEmpty())
      QToolTip::hideText();
    else
      QToolTip::showText(help->globalPos(), plainToolTip(tip), this);
    return true;
  }
  return QWidget::event(event);
}

void PanelCanvasView::paintEvent(QPaintEvent *event) {
  QPainter p(this);
  PanelModel &model = m_panel.model();
  // The panel's own area (its Width and Height) in its colour; what lies
  // beyond it is hatched grey so that the panel's edges show at any zoom.
  const QRect panelArea = pixelRect(0, 0, model.width, model.height).toRect();
  const QRect inPanel = event->rect().intersected(panelArea);
  if (inPanel != event->rect()) {
    // One pass: the pattern's gaps take the background colour.
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(QColor(0xb8, 0xbc, 0xc4));
    for (const QRect &r : QRegion(event->rect()) - QRegion(panelArea))
      p.fillRect(r, QBrush(QColor(0x9c, 0xa0, 0xa8), Qt::BDiagPattern));
    p.setBackgroundMode(Qt::TransparentMode);
  }
  p.fillRect(inPanel, colorFromValue(model.canvas.backColor));
  // The background picture at its own size in pixels, zoomed with the
  // panel, within the panel's area.
  if (const QImage picture = loadPicture(model.canvas.picture); !picture.isNull()) {
    p.save();
    p.setClipRect(panelArea);
    p.drawImage(QRectF(m_origin, QSizeF(picture.size()) * zoom()), picture);
    p.restore();
  }
  // With controls at negative positions the panel's own top and left edges
  // lie inside the canvas: dotted lines mark them, meeting at its (0, 0).
  if (!m_preview) {
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, Qt::DotLine));
    if (m_beyondLeft) p.drawLine(QPointF(m_origin.x(), 0), QPointF(m_origin.x(), height()));
    if (m_beyondTop) p.drawLine(QPointF(0, m_origin.y()), QPointF(width(), m_origin.y()));
  }
  if (g_gridShown && !m_preview && m_panel.gridSize() > 0 && !inPanel.isEmpty()) {
    // A dot at each grid point of the panel, dark on light grounds and light
    // on dark ones. Zoomed far out only every n-th point is drawn, so that
    // the dots stay apart instead of tinting the panel.
    double step = m_panel.gridSize() * pixelsPerTwip();
    if (step < kMinDotSpacing) step *= std::ceil(kMinDotSpacing / step);
    const QRect area = inPanel;
    QPolygonF dots;
    const double firstX = m_origin.x() + std::ceil((area.left() - m_origin.x()) / step) * step;
    const double firstY = m_origin.y() + std::ceil((area.top() - m_origin.y()) / step) * step;
    for (double y = firstY; y <= area.bottom(); y += step)
      for (double x = firstX; x <= area.right(); x += step) dots << QPointF(x, y);
    const QColor ground = colorFromValue(model.canvas.backColor);
    p.setPen(ground.lightness() > 100 ? QColor(0, 0, 0, 110) : QColor(255, 255, 255, 110));
    p.drawPoints(dots);
  }
  // Frames lie behind every control; a previewed panel shows none.
  const QColor frameColor(0xC0, 0xC0, 0xC0);
  for (const auto &record : model.panelRecord.records) {
    const ResizeFrame *f = model.frame(record->frameIndex);
    if (!f || !f->visible || m_preview) continue;
    const QRectF frame = pixelRect(f->left, f->top, f->width, f->height);
    if (event->region().intersects(frame.toAlignedRect())) p.fillRect(frame, frameColor);
  }
  const QDateTime now = QDateTime::currentDateTime();
  const DesignControl *pressed = m_preview ? m_preview->pressed() : nullptr;
  const auto paint = [&](const DesignControl &c, const DesignControl &own) {
    const QRectF r = pixelRect(c.left, c.top, c.width, c.height);
    if (!event->region().intersects(r.toAlignedRect())) return;  // e.g. only meters moved
    p.save();
    paintControl(p, r, c, now, pixelsPerTwip(), &own == pressed);
    p.restore();
  };
  PreviewSession::forEachShown(m_panel, m_preview, paint);
  if (m_preview) return;
  // The current control gets a thin focus mark inside its frame.
  if (auto *current = dynamic_cast<DesignControl *>(m_panel.currentControl());
      current && current->visible && m_panel.isObjectSelected(current)) {
    QPen pen(QColor(0x1d, 0x6f, 0xd6), 1, Qt::DashLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(pixelRect(current->left, current->top, current->width, current->height)
                   .adjusted(-2.5, -2.5, 2.5, 2.5));
  }
  paintSnapMarks(p);
  if (m_banding) {
    p.setPen(QPen(QColor(0x1d, 0x6f, 0xd6), 1, Qt::DashLine));
    p.setBrush(QColor(0x1d, 0x6f, 0xd6, 0x30));
    p.drawRect(QRectF(m_bandStart, m_bandEnd).normalized());
  }
}

void PanelCanvasView::setSnapping(Qt::KeyboardModifiers modifiers) {
  PanelEditor::SnapOptions &options = m_panel.snapOptions;
  options.toControls = g_snapToControls;
  options.toGrid = g_snapToGrid;
  options.tolerance = roundHalfEven(kSnapPixels / pixelsPerTwip());
  options.suspended = modifiers & Qt::AltModifier;
}

void PanelCanvasView::paintSnapMarks(QPainter &p) {
  // A guide line for each alignment that holds, and each of the equal gaps
  // as a line with end ticks, while a drag snaps.
  const SnapMarks &marks = m_panel.snapMarks();
  if (marks.empty()) return;
  const QColor guide(0xe0, 0x20, 0x80);
  p.save();
  p.setPen(QPen(guide, 1));
  // A twip point given on an axis and across it, in pixels.
  const QPointF origin = pixelRect(0, 0, 0, 0).topLeft();
  const double k = pixelsPerTwip();
  auto point = [&](SnapAxis axis, qint64 along, qint64 across) {
    const QPointF at =
        origin + (axis == SnapAxis::X ? QPointF(along, across) : QPointF(across, along)) * k;
    return QPointF(std::floor(at.x()) + 0.5, std::floor(at.y()) + 0.5);  // crisp 1-pixel lines
  };
  for (const SnapGuide &g : marks.guides)
    p.drawLine(point(g.axis, g.at, g.from), point(g.axis, g.at, g.to));
  for (const SnapGap &gap : marks.gaps) {
    const QPointF from = point(gap.axis, gap.from, gap.across);
    const QPointF to = point(gap.axis, gap.to, gap.across);
    p.drawLine(from, to);
    const QPointF tick = gap.axis == SnapAxis::X ? QPointF(0, 4) : QPointF(4, 0);
    p.drawLine(from - tick, from + tick);
    p.drawLine(to - tick, to + tick);
  }
  p.restore();
}

void PanelCanvasView::syncModifiers(Qt::KeyboardModifiers modifiers) {
  m_panel.setShiftDown(modifiers & Qt::ShiftModifier);
  m_panel.setCtrlDown(modifiers & Qt::ControlModifier);
}

void PanelCanvasView::updateCursor(int frameIndex) {
  const ResizeFrame *f = frameIndex ? m_panel.model().frame(frameIndex) : nullptr;
  setCursor(f ? cursorOf(f->mousePointer) : Qt::ArrowCursor);
}

void PanelCanvasView::showFrameHint(bool show) {
  if (show == m_hintShown) return;
  m_hintShown = show;
  // Handed up to the main window, whose status bar shows it.
  QStatusTipEvent tip(show ? frameHint() : QString());
  QCoreApplication::sendEvent(this, &tip);
}

void PanelCanvasView::mousePressEvent(QMouseEvent *event) {
  setFocus(Qt::MouseFocusReason);
  m_designer.activatePanel(&m_panel);
  if (m_preview) {
    if (event->button() == Qt::LeftButton) m_preview->mouseDown(controlAt(event->position()));
    return;
  }
  syncModifiers(event->modifiers());
  m_browsers->showLivePage(nullptr);  // a page shown on request goes back to its place
  const QPointF pos = event->position();
  if (DesignControl *c = controlAt(pos)) {
    if (event->button() != Qt::LeftButton) return;
    const bool wasSelected = m_panel.isObjectSelected(c);
    m_panel.controlGotFocus(c);
    // Only a control selected before the press is dragged by its body, so
    // that a click always just selects.
    if (wasSelected && m_panel.isObjectSelected(c)) {
      m_bodyFrame = m_panel.frameIndexOf(c);
      m_bodyPressAt = pos;
    }
    return;
  }
  if (const int frame = frameAt(pos)) {
    pressFrame(frame, buttonsOf(event->button()), pos);  // it focuses the frame itself
    return;
  }
  if (event->button() == Qt::LeftButton) {
    // A drag from here is a rubber band; with Ctrl it adds to the selection,
    // so the selection stays until the band is known.
    m_banding = true;
    m_bandAdds = event->modifiers() & Qt::ControlModifier;
    m_bandStart = m_bandEnd = pos;
    if (m_bandAdds) return;
  }
  m_panel.canvasGotFocus();
}

void PanelCanvasView::pressFrame(int frame, int button, const QPointF &pos) {
  const ResizeFrame *f = m_panel.model().frame(frame);
  if (!f) return;
  const QPoint twips = twipsAt(pos);
  setSnapping(QApplication::keyboardModifiers());
  m_panel.frameMouseDown(frame, button, twips.x() - f->left, twips.y() - f->top);
  m_dragFrame = frame;
  updateCursor(frame);
}

void PanelCanvasView::mouseDoubleClickEvent(QMouseEvent *event) {
  if (m_preview) {  // a second click
    mousePressEvent(event);
    return;
  }
  // A double click on a web browser shows its live page over everything
  // until the next press.
  if (auto *browser = controlCast<DesignWebBrowser>(controlAt(event->position()));
      browser && event->button() == Qt::LeftButton) {
    m_browsers->showLivePage(browser);
    return;
  }
  mousePressEvent(event);
}

void PanelCanvasView::mouseMoveEvent(QMouseEvent *event) {
  if (m_preview) return;
  const QPointF pos = event->position();
  if (m_banding) {
    m_bandEnd = pos;
    update();
    return;
  }
  if (m_bodyFrame) {
    if (!(event->buttons() & Qt::LeftButton)) {
      m_bodyFrame = 0;
    } else if ((pos - m_bodyPressAt).manhattanLength() < QApplication::startDragDistance()) {
      return;
    } else {
      // Far enough to be a drag: it moves the selection from where it was pressed.
      pressFrame(std::exchange(m_bodyFrame, 0), MouseButton::Right, m_bodyPressAt);
    }
  }
  if (m_dragFrame && event->buttons() == Qt::NoButton) {
    // The release went elsewhere (another window took the mouse): the drag
    // ends here, so that it stays one undo step of its own.
    endFrameDrag(0);
  }
  const int frame = m_dragFrame ? m_dragFrame : frameAt(pos);
  const bool onFrame = frame && (m_dragFrame || !controlAt(pos));
  showFrameHint(onFrame);
  if (!onFrame) {
    if (!m_dragFrame) unsetCursor();
    return;
  }
  const ResizeFrame *f = m_panel.model().frame(frame);
  if (!f) return;
  const QPoint twips = twipsAt(pos);
  setSnapping(event->modifiers());
  m_panel.frameMouseMove(frame, buttonsOf(event->buttons()), twips.x() - f->left,
                         twips.y() - f->top);
  updateCursor(frame);
}

void PanelCanvasView::mouseReleaseEvent(QMouseEvent *event) {
  if (m_preview) {
    if (event->button() == Qt::LeftButton && m_preview->pressed())
      m_preview->mouseUp(controlAt(event->position()) == m_preview->pressed());
    return;
  }
  if (m_banding) {
    finishRubberBand(event->position(), event->modifiers());
    return;
  }
  m_bodyFrame = 0;
  if (m_dragFrame) endFrameDrag(buttonsOf(event->button()));
}

void PanelCanvasView::endFrameDrag(int button) {
  m_panel.frameMouseUp(std::exchange(m_dragFrame, 0), button, 0, 0);
  fitToContents();  // what the drag held back
}

void PanelCanvasView::finishRubberBand(const QPointF &end, Qt::KeyboardModifiers modifiers) {
  m_banding = false;
  m_bandEnd = end;
  update();
  const QRectF band = QRectF(m_bandStart, m_bandEnd).normalized();
  if (band.width() < kBandThreshold && band.height() < kBandThreshold) {
    // No band after all: a Ctrl+click on the canvas is a click on the canvas.
    if (m_bandAdds) m_panel.canvasGotFocus();
    return;
  }
  const QPoint topLeft = twipsAt(band.topLeft()), bottomRight = twipsAt(band.bottomRight());
  syncModifiers(modifiers);
  m_panel.rubberBandSelect(
      QRect(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y())),
      m_bandAdds);
}

void PanelCanvasView::leaveEvent(QEvent *event) {
  showFrameHint(false);
  QWidget::leaveEvent(event);
}

void PanelCanvasView::keyPressEvent(QKeyEvent *event) {
  const int code = keyCodeOf(event->key());
  if (!code || m_preview) {  // a previewed panel cannot be edited
    QWidget::keyPressEvent(event);
    return;
  }
  // The keys of the panel stay here: arrows must not scroll the canvas.
  m_panel.keyDown(code, shiftStateOf(event->modifiers()));
  event->accept();
}

void PanelCanvasView::keyReleaseEvent(QKeyEvent *event) {
  if (const int code = keyCodeOf(event->key()); code && !m_preview)
    m_panel.keyUp(code, shiftStateOf(event->modifiers()));
}

void PanelCanvasView::dragEnterEvent(QDragEnterEvent *event) {
  if (!m_preview && event->mimeData()->hasFormat(PaletteWidget::kMimeType))
    event->acceptProposedAction();
}

void PanelCanvasView::dragMoveEvent(QDragMoveEvent *event) {
  if (!m_preview && event->mimeData()->hasFormat(PaletteWidget::kMimeType))
    event->acceptProposedAction();
}

void PanelCanvasView::dropEvent(QDropEvent *event) {
  const QMimeData *data = event->mimeData();
  if (m_preview || !data->hasFormat(PaletteWidget::kMimeType)) return;
  const QString source = QString::fromUtf8(data->data(PaletteWidget::kMimeType));
  const QPointF pos = event->position();
  const QPoint twips = twipsAt(pos);
  m_designer.grid().commitOpenEdit();  // a value typed in the grid lands first
  m_designer.activatePanel(&m_panel);
  setFocus(Qt::OtherFocusReason);
  m_panel.dropFromPalette(source, twips.x(), twips.y(), m_designer.dragOffset().x(),
                          m_designer.dragOffset().y(), controlAt(pos) == nullptr);
  event->acceptProposedAction();
}

PanelSubWindow::PanelSubWindow(PanelEditor &panel, MainWindowLogic &designer, QWidget *parent)
    : QMdiSubWindow(parent), m_panel(panel), m_designer(designer) {
  setAttribute(Qt::WA_DeleteOnClose);
  // Opaque, so that a window covered by others is not painted again each
  // time one more opens over it.
  setAutoFillBackground(true);
  m_scrollArea = new QScrollArea(this);
  m_scrollArea->setFrameShape(QFrame::NoFrame);
  m_scrollArea->setFocusPolicy(Qt::NoFocus);
  m_scrollArea->setWidgetResizable(false);
  m_canvas = new PanelCanvasView(panel, designer);
  m_scrollArea->setWidget(m_canvas);
  m_canvas->setScrollArea(m_scrollArea);
  m_scrollArea->viewport()->installEventFilter(this);
  // The preview log lies under the canvas; it takes no room of its own from
  // the window, so showing it never resizes the panel's window.
  auto *content = new QWidget(this);
  auto *layout = new QVBoxLayout(content);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_scrollArea, 3);
  m_logPane = new PreviewLogPane(content);
  m_logPane->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  m_logPane->setMaximumHeight(160);
  m_logPane->hide();
  layout->addWidget(m_logPane, 1);
  setWidget(content);
  setWindowTitle(title());
  // Ctrl+W is Spread Vertically and Ctrl+F4 is File > Close: the system
  // menu's Close claims neither a second time.
  if (QMenu *menu = systemMenu())
    for (QAction *action : menu->actions())
      if (action->shortcut() == QKeySequence(QKeySequence::Close)) action->setShortcut({});
  m_panelSize = windowSizeOf(panel.model().width, panel.model().height);
  connect(&panel, &PanelEditor::changed, this, [this](int flags) {
    if (flags & PanelEditor::Caption) setWindowTitle(title());
    // Only a new Width or Height (from the grid or by undo) moves the
    // window; a control moved or resized never does.
    if ((flags & PanelEditor::Geometry) &&
        windowSizeOf(m_panel.model().width, m_panel.model().height) != m_panelSize)
      showPanelSize();
  });
}

QSize PanelSubWindow::windowSizeOf(qint32 width, qint32 height) {
  return {qRound(twipsToPixels(width)), qRound(twipsToPixels(height))};
}

void PanelSubWindow::showPanelSize() {
  m_panelSize = windowSizeOf(m_panel.model().width, m_panel.model().height);
  // A maximised window keeps filling the workspace, and a minimised one its
  // icon: the size waits for the window to be restored.
  if (isMaximized() || isMinimized() || size() == m_panelSize) return;
  const bool following = std::exchange(m_followingPanel, true);
  resize(m_panelSize);
  m_followingPanel = following;
}

void PanelSubWindow::fitToWindow() {
  QSize visible = m_scrollArea->maximumViewportSize();
  if (QMdiArea *area = mdiArea()) {
    // A window larger than the workspace shows only part of its canvas:
    // bring the canvas's top-left corner into view and fit into what shows.
    QWidget *workspace = area->viewport();
    const QRect shown = workspace->rect();
    const auto bringIn = [](QScrollBar *bar, int near, int far, int first, int last) {
      if (near < first || far > last) bar->setValue(bar->value() + near - first);
    };
    QRect canvasPart(m_scrollArea->viewport()->mapTo(workspace, QPoint(0, 0)), visible);
    bringIn(area->horizontalScrollBar(), canvasPart.left(), canvasPart.right(), shown.left(),
            shown.right());
    bringIn(area->verticalScrollBar(), canvasPart.top(), canvasPart.bottom(), shown.top(),
            shown.bottom());
    canvasPart.moveTopLeft(m_scrollArea->viewport()->mapTo(workspace, QPoint(0, 0)));
    visible = canvasPart.intersected(shown).size();
  }
  m_canvas->fitInto(visible);
}

void PanelSubWindow::takePlaceOf(PanelSubWindow &old) {
  if (old.isMaximized())
    showMaximized();
  else
    move(old.pos());
  stackUnder(&old);
  m_canvas->setZoom(old.m_canvas->zoom());
  for (const auto bar : {&QScrollArea::horizontalScrollBar, &QScrollArea::verticalScrollBar})
    (m_scrollArea->*bar)()->setValue((old.m_scrollArea->*bar)()->value());
}

bool PanelSubWindow::eventFilter(QObject *watched, QEvent *event) {
  if (watched == m_scrollArea->viewport() && event->type() == QEvent::Resize)
    m_canvas->fitToContents();
  return QMdiSubWindow::eventFilter(watched, event);
}

PanelSubWindow::~PanelSubWindow() {
  m_canvas->setPreview(nullptr);
  m_logPane->setSession(nullptr);
}

QString PanelSubWindow::title() const {
  // The title bar elides by shaping the whole text: a megabyte caption would
  // hold the window for a minute.
  const QString caption = plainWindowTitle(m_panel.caption());
  return m_preview ? tr("%1 (Preview)").arg(caption) : caption;
}

void PanelSubWindow::setPreview(bool on) {
  if (on == bool(m_preview)) return;
  std::unique_ptr<PreviewSession> leaving;
  if (on) {
    m_preview = std::make_unique<PreviewSession>(m_panel);
  } else {
    leaving = std::move(m_preview);
  }
  m_canvas->setPreview(m_preview.get());
  m_logPane->setSession(m_preview.get());
  m_logPane->setVisible(on);
  setWindowTitle(title());
  if (on) m_canvas->setFocus(Qt::OtherFocusReason);
  emit previewChanged(on);
}

void PanelSubWindow::closeDecided() {
  m_closeDecided = true;
  close();
}

void PanelSubWindow::closeEvent(QCloseEvent *event) {
  m_designer.grid().commitOpenEdit();
  if (!m_closeDecided) {
    if (!m_designer.queryClosePanel(&m_panel)) {
      event->ignore();
      return;
    }
    m_closeDecided = true;
    m_designer.closePanel(&m_panel);  // the main window drops this view on panelRemoved
  }
  QMdiSubWindow::closeEvent(event);
}

void PanelSubWindow::changeEvent(QEvent *event) {
  if (event->type() != QEvent::WindowStateChange) {
    QMdiSubWindow::changeEvent(event);
    return;
  }
  // Maximising, minimising and restoring are no resize by the user; a
  // restored window takes the panel's size, which may have changed meanwhile.
  const bool following = std::exchange(m_followingPanel, true);
  QMdiSubWindow::changeEvent(event);
  m_followingPanel = following;
  showPanelSize();
}

void PanelSubWindow::resizeEvent(QResizeEvent *event) {
  QMdiSubWindow::resizeEvent(event);
  // Following the panel's own size is no resize by the user, and neither is
  // a maximised or minimised window, nor the layout of a panel being opened:
  // looking at a panel never changes it.
  if (m_followingPanel || isMaximized() || isMinimized() || m_panel.isOpening()) return;
  // Only a side the user changed takes the window's size: a side at the
  // panel's own size in pixels, or one this resize left alone, keeps the
  // panel's twips (80000 twips show as 5333 pixels, which are 79995 twips).
  const PanelModel &model = m_panel.model();
  const QSize own = windowSizeOf(model.width, model.height);
  const auto side = [](int now, int before, int own, qint32 twips) {
    return now == own || now == before ? twips : roundHalfEven(pixelsToTwips(now));
  };
  m_panel.windowResized(
      side(event->size().width(), event->oldSize().width(), own.width(), model.width),
      side(event->size().height(), event->oldSize().height(), own.height(), model.height));
}
