#include "ui/webbrowserpainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>
#include <algorithm>

#include "model/designcontrol.h"
#include "ui/paintsupport.h"

namespace {

void paintArrow(QPainter &p, const QPointF &c, double s, bool left, const QColor &color) {
  const double d = left ? 1 : -1;
  p.setPen(QPen(color, std::max(1.2, s * 0.16), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(QPointF(c.x() - d * s * 0.4, c.y()), QPointF(c.x() + d * s * 0.4, c.y()));
  p.drawLine(QPointF(c.x() - d * s * 0.4, c.y()), QPointF(c.x() - d * s * 0.05, c.y() - s * 0.35));
  p.drawLine(QPointF(c.x() - d * s * 0.4, c.y()), QPointF(c.x() - d * s * 0.05, c.y() + s * 0.35));
}

void paintReload(QPainter &p, const QPointF &c, double s, const QColor &color) {
  const double r = s * 0.33;
  const double w = std::max(1.2, s * 0.16);
  p.setPen(QPen(color, w, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 90 * 16, 280 * 16);
  QPainterPath head;
  head.moveTo(c.x() + r * 0.1, c.y() - r - w * 1.4);
  head.lineTo(c.x() + r * 0.1 + w * 1.8, c.y() - r);
  head.lineTo(c.x() + r * 0.1, c.y() - r + w * 1.4);
  head.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  p.drawPath(head);
}

}  // namespace

void paintGlobe(QPainter &p, const QPointF &c, double r, const QColor &color) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(color, std::max(1.0, r * 0.09)));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(c, r, r);
  p.drawEllipse(c, r * 0.45, r);
  p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
  p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
  const double y = r * 0.52;
  const double x = r * 0.85;
  p.drawLine(QPointF(c.x() - x, c.y() - y), QPointF(c.x() + x, c.y() - y));
  p.drawLine(QPointF(c.x() - x, c.y() + y), QPointF(c.x() + x, c.y() + y));
  p.restore();
}

void paintWebBrowserControl(QPainter &p, const QRectF &rect, const DesignWebBrowser &w,
                            double pixelsPerTwip) {
  if (!(rect.width() >= 1) || !(rect.height() >= 1)) return;
  const double zoom = pixelsPerTwip * 15.0;
  p.save();
  p.setClipRect(rect, Qt::IntersectClip);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  const QRectF r = rect.adjusted(0.5, 0.5, -0.5, -0.5);
  p.setPen(QPen(QColor(150, 156, 164), 1));
  p.setBrush(Qt::white);
  p.drawRect(r);

  const double bar = std::clamp(30.0 * zoom, 6.0, rect.height() * 0.3);
  const QRectF toolbar(r.left(), r.top(), r.width(), bar);
  QLinearGradient g(toolbar.topLeft(), toolbar.bottomLeft());
  g.setColorAt(0, QColor(246, 247, 249));
  g.setColorAt(1, QColor(228, 231, 235));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRect(toolbar);
  p.setPen(QPen(QColor(190, 195, 202), 1));
  p.drawLine(toolbar.bottomLeft(), toolbar.bottomRight());

  const QColor glyph(95, 99, 104);
  const double s = bar * 0.55;
  double x = toolbar.left() + bar * 0.2;
  const double cy = toolbar.center().y();
  const bool roomForButtons = toolbar.width() > bar * 6;
  if (roomForButtons && bar >= 12) {
    paintArrow(p, QPointF(x + s / 2, cy), s, true, glyph);
    x += s * 1.25;
    paintArrow(p, QPointF(x + s / 2, cy), s, false, QColor(180, 184, 190));
    x += s * 1.25;
    paintReload(p, QPointF(x + s / 2, cy), s, glyph);
    x += s * 1.4;
  }
  const QRectF address(x, toolbar.top() + bar * 0.16, toolbar.right() - x - bar * 0.2, bar * 0.68);
  if (address.width() > 4 && address.height() > 3) {
    p.setPen(QPen(QColor(176, 182, 190), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(address, address.height() / 2, address.height() / 2);
    const double px = address.height() * 0.55;
    if (px >= 4) {
      const double iconR = address.height() * 0.26;
      const QPointF iconAt(address.left() + address.height() * 0.55, address.center().y());
      paintGlobe(p, iconAt, iconR, QColor(120, 126, 134));
      p.setFont(pixelFont(p, px));
      p.setPen(QColor(32, 33, 36));
      const QRectF textBox =
          address.adjusted(address.height() * 1.0, 0, -address.height() * 0.4, 0);
      const QString url = w.locationURL.isEmpty() ? QStringLiteral("about:blank") : w.locationURL;
      p.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, elidedLine(p, url, textBox.width()));
    }
  }

  // The page: a quiet globe and the host the browser will show.
  const QRectF page(r.left(), toolbar.bottom() + 1, r.width(), r.bottom() - toolbar.bottom() - 1);
  const double globe = std::min(page.width(), page.height()) * 0.16;
  if (globe >= 4) {
    const QPointF at(page.center().x(), page.center().y() - globe * 0.4);
    paintGlobe(p, at, globe, QColor(200, 206, 214));
    const double px = std::clamp(globe * 0.42, 7.0, 14.0 * zoom);
    // The host lies in the address's beginning; parsing the rest of a
    // megabyte address would cost a frame or more.
    const QString host = QUrl(w.locationURL.left(2048)).host();
    const QString caption = host.isEmpty() ? QStringLiteral("Web page") : host;
    if (page.height() > globe * 2 + px * 3) {
      p.setFont(pixelFont(p, px));
      p.setPen(QColor(150, 156, 164));
      const QRectF line(page.left() + 4, at.y() + globe + px * 0.6, page.width() - 8, px * 1.8);
      p.drawText(line, Qt::AlignHCenter | Qt::AlignTop,
                 elidedLine(p, caption, line.width(), Qt::ElideMiddle));
    }
  }
  p.restore();
}
