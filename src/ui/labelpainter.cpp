#include "ui/labelpainter.h"

#include <QPainter>

#include "model/designcontrol.h"
#include "ui/paintsupport.h"

void PaintLabelControl(QPainter &p, const QRectF &rect, const DesignLabel &l,
                       double pixelsPerTwip) {
  if (!(rect.width() >= 1) || !(rect.height() >= 1)) return;
  p.save();
  p.setClipRect(rect, Qt::IntersectClip);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.fillRect(rect, ColorFromValue(l.BackColor));
  if (!l.Text.isEmpty()) {
    p.setFont(ScaledFont(p, l.Font.name, l.Font.size, l.Font.bold, l.Font.italic, l.Font.underline,
                         pixelsPerTwip));
    p.setPen(ColorFromValue(l.ForeColor));
    QString text = l.Text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    p.drawText(rect.adjusted(1, 1, -1, -1), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
  }
  p.restore();
}
