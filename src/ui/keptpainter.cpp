#include "ui/keptpainter.h"

#include <QPainter>
#include <algorithm>

#include "model/designcontrol.h"
#include "ui/paintsupport.h"

void paintKeptControl(QPainter &p, const QRectF &rect, const DesignKept &kept,
                      double pixelsPerTwip) {
  if (!(rect.width() >= 1) || !(rect.height() >= 1)) return;
  const QColor ink(96, 96, 96);
  p.save();
  p.setClipRect(rect);
  p.fillRect(rect, QColor(236, 236, 236));
  p.fillRect(rect, QBrush(QColor(170, 170, 170), Qt::BDiagPattern));
  p.setPen(QPen(ink, 1, Qt::DashLine));
  p.setBrush(Qt::NoBrush);
  p.drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));

  // Type over name, centred on a plain band so the hatching does not hide them.
  const QString type = typeName(kept);
  p.setFont(pixelFont(p, std::clamp(pixelsPerTwip * 15.0 * 11.0, 6.0, 48.0)));
  const QRectF inner = rect.adjusted(3, 3, -3, -3);
  const QString text = fittedText(p, kept.tag.isEmpty() ? type : type + u'\n' + kept.tag, inner);
  QRectF band = p.boundingRect(inner, Qt::AlignCenter | Qt::TextWordWrap, text);
  band = band.adjusted(-3, -1, 3, 1).intersected(inner);
  p.fillRect(band, QColor(236, 236, 236));
  p.setPen(ink);
  p.drawText(inner, Qt::AlignCenter | Qt::TextWordWrap, text);
  p.restore();
}
