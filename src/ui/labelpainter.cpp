#include "ui/labelpainter.h"

#include <QPainter>

#include "model/designcontrol.h"
#include "ui/paintsupport.h"

void paintLabelControl(QPainter &p, const QRectF &rect, const DesignLabel &l,
                       double pixelsPerTwip) {
  if (!(rect.width() >= 1) || !(rect.height() >= 1)) return;
  p.save();
  p.setClipRect(rect, Qt::IntersectClip);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.fillRect(rect, colorFromValue(l.backColor));
  if (!l.text.isEmpty()) {
    p.setFont(scaledFont(p, l.font.name, l.font.size, l.font.bold, l.font.italic, l.font.underline,
                         pixelsPerTwip));
    p.setPen(colorFromValue(l.foreColor));
    const QRectF area = rect.adjusted(1, 1, -1, -1);
    QString text = fittedText(p, l.text, area);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    p.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
  }
  p.restore();
}
