#include "ui/panelrenderer.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_set>

#include "model/panelmodel.h"
#include "surface/previewsession.h"
#include "ui/controlpainter.h"
#include "ui/paintsupport.h"
#include "ui/qtconvert.h"

namespace {
double validScale(double scale) { return scale > 0 && std::isfinite(scale) ? scale : 1.0; }
}  // namespace

QSize panelPixelSize(const PanelModel &panel, double scale) {
  scale = validScale(scale);
  const auto pixels = [scale](qint32 twips) {
    const double pixels = std::ceil(twipsToPixels(std::max<qint32>(twips, 0)) * scale - 1e-9);
    return int(std::min(pixels, 1e9));
  };
  return QSize(std::max(1, pixels(panel.width)), std::max(1, pixels(panel.height)));
}

void renderPanel(QPainter &p, const PanelModel &panel, double scale, const QDateTime &now) {
  scale = validScale(scale);
  const double pixelsPerTwip = scale / kTwipsPerPixel;
  const QRectF area(QPointF(0, 0), QSizeF(panelPixelSize(panel, scale)));
  p.save();
  p.setClipRect(area, Qt::IntersectClip);
  p.fillRect(area, colorFromValue(panel.canvas.backColor));
  // The background picture at its own size in pixels, from the top-left corner.
  if (const QImage picture = loadPicture(panel.canvas.picture); !picture.isNull())
    p.drawImage(QRectF(QPointF(0, 0), QSizeF(picture.size()) * scale), picture);
  // Buttons that do not react to operators show a grey caption, as in preview.
  std::unordered_set<const DesignControl *> disabled;
  for (const auto &record : panel.panelRecord.records)
    if (!record->enabled && record->control && record->control->kind() == ControlKind::Button)
      disabled.insert(record->control);
  for (const DesignControl *c : panel.zOrder()) {
    if (!c->visible) continue;
    const QRectF r(c->left * pixelsPerTwip, c->top * pixelsPerTwip, c->width * pixelsPerTwip,
                   c->height * pixelsPerTwip);
    if (!r.intersects(area)) continue;
    std::unique_ptr<DesignControl> greyed;
    if (disabled.contains(c)) {
      greyed = c->clone();
      static_cast<DesignButton &>(*greyed).foreColor = PreviewSession::kDisabledTextColor;
    }
    p.save();
    paintControl(p, r, greyed ? *greyed : *c, now, pixelsPerTwip);
    p.restore();
  }
  p.restore();
}
