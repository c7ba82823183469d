#include "ui/buttonpainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "model/designcontrol.h"
#include "ui/paintsupport.h"

void paintButtonControl(QPainter &p, const QRectF &rect, const DesignButton &b,
                        double pixelsPerTwip, bool pressed) {
  if (!(rect.width() >= 1) || !(rect.height() >= 1)) return;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  const QRectF r(rect.toAlignedRect());
  const QColor face = colorFromValue(b.backColor);
  // Face with a faint vertical sheen, then the two-pixel bevel: light top and
  // left, dark bottom and right, and a black outer shadow.
  QLinearGradient sheen(r.topLeft(), r.bottomLeft());
  sheen.setColorAt(0, mix(face, Qt::white, 0.12));
  sheen.setColorAt(1, mix(face, Qt::black, 0.06));
  p.fillRect(r, sheen);
  const QColor light = mix(face, Qt::white, 0.75);
  const QColor mid = mix(face, Qt::black, 0.35);
  const QColor dark = mix(face, Qt::black, 0.8);
  // Integer edges: QRect's right() and bottom() are the last pixel inside.
  const QRect ir = rect.toAlignedRect();
  auto hline = [&p](int x1, int x2, int y, const QColor &c) {
    p.fillRect(QRect(x1, y, x2 - x1 + 1, 1), c);
  };
  auto vline = [&p](int x, int y1, int y2, const QColor &c) {
    p.fillRect(QRect(x, y1, 1, y2 - y1 + 1), c);
  };
  if (ir.width() >= 4 && ir.height() >= 4 && pressed) {
    hline(ir.left(), ir.right(), ir.top(), dark);
    vline(ir.left(), ir.top(), ir.bottom(), dark);
    hline(ir.left() + 1, ir.right() - 1, ir.top() + 1, mid);
    vline(ir.left() + 1, ir.top() + 1, ir.bottom() - 1, mid);
    hline(ir.left() + 1, ir.right(), ir.bottom(), light);
    vline(ir.right(), ir.top() + 1, ir.bottom(), light);
  } else if (ir.width() >= 4 && ir.height() >= 4) {
    hline(ir.left(), ir.right() - 1, ir.top(), light);
    vline(ir.left(), ir.top(), ir.bottom() - 1, light);
    hline(ir.left(), ir.right(), ir.bottom(), dark);
    vline(ir.right(), ir.top(), ir.bottom(), dark);
    hline(ir.left() + 1, ir.right() - 1, ir.bottom() - 1, mid);
    vline(ir.right() - 1, ir.top() + 1, ir.bottom() - 1, mid);
  }
  const QRectF content = r.adjusted(3, 3, -3, -3).translated(pressed ? 1 : 0, pressed ? 1 : 0);
  p.setClipRect(content.adjusted(-1, -1, 1, 1), Qt::IntersectClip);

  QRectF textArea = content;
  const QImage picture = loadPicture(b.picture);
  if (!picture.isNull()) {
    QRectF imageArea = content;
    if (!b.caption.isEmpty()) {
      const double captionHeight =
          std::min(content.height() / 2, b.font.size * 20 * pixelsPerTwip * 1.6);
      imageArea.setBottom(content.bottom() - captionHeight);
      textArea.setTop(imageArea.bottom());
    }
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(placeImage(picture.size(), imageArea, false, pixelsPerTwip * 15.0, true), picture);
  }
  if (!b.caption.isEmpty()) {
    p.setFont(scaledFont(p, b.font.name, b.font.size, b.font.bold, b.font.italic, b.font.underline,
                         pixelsPerTwip));
    p.setPen(colorFromValue(b.foreColor));
    QString caption = fittedText(p, b.caption, textArea);
    caption.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    p.drawText(textArea, Qt::AlignCenter | Qt::TextWordWrap, caption);
  }
  p.restore();
}
