#include "ui/palettewidget.h"

#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include "app/mainwindowlogic.h"
#include "model/numbers.h"
#include "model/panelmodel.h"
#include "ui/controlpainter.h"
#include "ui/qtconvert.h"

namespace {
constexpr PaletteItem kItems[] = {
    PaletteItem::Button, PaletteItem::Label,      PaletteItem::WebBrowser,  PaletteItem::Meter,
    PaletteItem::Clock,  PaletteItem::MeterFader, PaletteItem::CodecControl};
constexpr int kColumns = 3;
constexpr int kTileWidth = 112;
constexpr int kTileHeight = 64;
constexpr int kGap = 6;

ControlKind kindOf(PaletteItem item) {
  switch (item) {
    case PaletteItem::Button:
      return ControlKind::Button;
    case PaletteItem::Label:
      return ControlKind::Label;
    case PaletteItem::WebBrowser:
      return ControlKind::WebBrowser;
    case PaletteItem::Meter:
      return ControlKind::Meter;
    case PaletteItem::Clock:
      return ControlKind::Clock;
    case PaletteItem::MeterFader:
    case PaletteItem::CodecControl:
      break;
  }
  return ControlKind::MeterFader;
}
}  // namespace

PaletteWidget::PaletteWidget(MainWindowLogic &designer, QWidget *parent)
    : QWidget(parent), m_designer(designer) {
  setMouseTracking(true);
  setToolTip(QString());
}

PaletteWidget::~PaletteWidget() = default;

QString PaletteWidget::sourceName(PaletteItem item) {
  switch (item) {
    case PaletteItem::Button:
      return QStringLiteral("MasterButton");
    case PaletteItem::Label:
      return QStringLiteral("MasterLabel");
    case PaletteItem::WebBrowser:
      return QStringLiteral("pictWebBrowser");
    case PaletteItem::Meter:
      return QStringLiteral("MasterLarkLED");
    case PaletteItem::Clock:
      return QStringLiteral("MasterLKClock");
    case PaletteItem::MeterFader:
      return QStringLiteral("MasterMeterFaderDragger");
    case PaletteItem::CodecControl:
      return QStringLiteral("pictCodecControl");
  }
  return QString();
}

QString PaletteWidget::caption(PaletteItem item) {
  switch (item) {
    case PaletteItem::Button:
      return tr("Button");
    case PaletteItem::Label:
      return tr("Label");
    case PaletteItem::WebBrowser:
      return tr("Web Browser");
    case PaletteItem::Meter:
      return tr("Meter");
    case PaletteItem::Clock:
      return tr("Clock");
    case PaletteItem::MeterFader:
      return tr("Meter Fader");
    case PaletteItem::CodecControl:
      return tr("Codec Control");
  }
  return QString();
}

QSize PaletteWidget::sizeHint() const {
  const int rows = (std::size(kItems) + kColumns - 1) / kColumns;
  return QSize(kColumns * kTileWidth + (kColumns + 1) * kGap,
               rows * kTileHeight + (rows + 1) * kGap);
}

QRect PaletteWidget::itemRect(PaletteItem item) const {
  const int i =
      static_cast<int>(std::find(std::begin(kItems), std::end(kItems), item) - std::begin(kItems));
  const int col = i % kColumns, row = i / kColumns;
  return QRect(kGap + col * (kTileWidth + kGap), kGap + row * (kTileHeight + kGap), kTileWidth,
               kTileHeight);
}

int PaletteWidget::itemAt(const QPoint &pos) const {
  for (int i = 0; i < int(std::size(kItems)); ++i)
    if (itemRect(kItems[i]).contains(pos)) return i;
  return -1;
}

void PaletteWidget::paintEvent(QPaintEvent *) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), palette().color(QPalette::Window));
  for (int i = 0; i < int(std::size(kItems)); ++i) {
    const PaletteItem item = kItems[i];
    const QRect r = itemRect(item);
    const bool enabled = item != PaletteItem::CodecControl;
    QColor tile = palette().color(QPalette::Base);
    if (i == m_hover && enabled) tile = palette().color(QPalette::Highlight).lighter(185);
    p.setPen(QPen(palette().color(QPalette::Mid), 1));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    const QRect icon(r.left() + 6, r.top() + 5, r.width() - 12, r.height() - 25);
    if (!enabled) p.setOpacity(0.45);
    paintPaletteIcon(p, icon, item);
    p.setPen(palette().color(QPalette::WindowText));
    QFont f = font();
    f.setPointSizeF(f.pointSizeF() * 0.9);
    p.setFont(f);
    p.drawText(QRect(r.left(), r.bottom() - 19, r.width(), 16), Qt::AlignCenter, caption(item));
    p.setOpacity(1.0);
  }
}

void PaletteWidget::mouseMoveEvent(QMouseEvent *event) {
  const int hover = itemAt(event->position().toPoint());
  if (hover != m_hover) {
    m_hover = hover;
    setCursor(hover >= 0 && kItems[hover] != PaletteItem::CodecControl ? Qt::OpenHandCursor
                                                                       : Qt::ArrowCursor);
    update();
  }
}

void PaletteWidget::leaveEvent(QEvent *) {
  m_hover = -1;
  update();
}

void PaletteWidget::mousePressEvent(QMouseEvent *event) {
  const int i = itemAt(event->position().toPoint());
  if (i < 0 || kItems[i] == PaletteItem::CodecControl) return;  // the codec item does nothing
  startDrag(kItems[i], event->position().toPoint());
}

void PaletteWidget::startDrag(PaletteItem item, const QPoint &pressPos) {
  QPixmap image;
  QPoint hotSpot;
  QMimeData *mime = prepareDrag(item, pressPos, &image, &hotSpot);
  auto *drag = new QDrag(this);
  drag->setMimeData(mime);
  drag->setPixmap(image);
  drag->setHotSpot(hotSpot);
  drag->exec(Qt::CopyAction);
}

QMimeData *PaletteWidget::prepareDrag(PaletteItem item, const QPoint &pressPos, QPixmap *pixmap,
                                      QPoint *hotSpot) {
  // The drag shows the control at its real size; the grab point inside the
  // item maps to the same relative point of the control.
  PanelModel sample;
  const ControlKind kind = kindOf(item);
  DesignControl *control = sample.loadControl(kind);
  if (kind == ControlKind::MeterFader) {
    control->width = 1350;
    control->height = 4920;
  } else if (kind == ControlKind::Clock) {
    control->width = 1630;
    control->height = 1630;
  }
  control->tag = nameStem(kind);
  if (auto *b = controlCast<DesignButton>(control)) b->caption = control->tag;
  if (auto *l = controlCast<DesignLabel>(control)) l->text = control->tag;
  if (auto *f = controlCast<DesignMeterFader>(control)) f->meterName = QStringLiteral("Fader");
  if (auto *w = controlCast<DesignWebBrowser>(control))
    w->locationURL = QStringLiteral("about:blank");

  const QRect r = itemRect(item);
  const double fx = double(pressPos.x() - r.left()) / r.width();
  const double fy = double(pressPos.y() - r.top()) / r.height();
  m_designer.setDragOffset(
      QPoint(roundHalfEven(fx * control->width), roundHalfEven(fy * control->height)));

  if (pixmap) {
    const QSize size(qMax(1, int(twipsToPixels(control->width) * m_dragZoom)),
                     qMax(1, int(twipsToPixels(control->height) * m_dragZoom)));
    QPixmap image(size * devicePixelRatioF());
    image.setDevicePixelRatio(devicePixelRatioF());
    image.fill(Qt::transparent);
    QPainter p(&image);
    paintControl(p, QRectF(QPointF(0, 0), QSizeF(size)), *control, QDateTime::currentDateTime(),
                 m_dragZoom / kTwipsPerPixel);
    *pixmap = image;
  }
  if (hotSpot)
    *hotSpot = QPoint(int(twipsToPixels(m_designer.dragOffset().x()) * m_dragZoom),
                      int(twipsToPixels(m_designer.dragOffset().y()) * m_dragZoom));
  auto *mime = new QMimeData;
  mime->setData(kMimeType, sourceName(item).toUtf8());
  return mime;
}
