#include "ui/controlpainter.h"

#include <QPainter>
#include <cmath>

#include "model/designcontrol.h"
#include "ui/buttonpainter.h"
#include "ui/clockpainter.h"
#include "ui/keptpainter.h"
#include "ui/labelpainter.h"
#include "ui/meterfaderpainter.h"
#include "ui/meterpainter.h"
#include "ui/webbrowserpainter.h"

void paintControl(QPainter &p, const QRectF &pixelRect, const DesignControl &c,
                  const QDateTime &now, double pixelsPerTwip, bool pressed) {
  if (!pixelRect.isValid() || !std::isfinite(pixelRect.width()) ||
      !std::isfinite(pixelRect.height()))
    return;
  if (!(pixelsPerTwip > 0) || !std::isfinite(pixelsPerTwip)) pixelsPerTwip = 1.0 / 15.0;
  switch (c.kind()) {
    case ControlKind::Button:
      paintButtonControl(p, pixelRect, static_cast<const DesignButton &>(c), pixelsPerTwip,
                         pressed);
      break;
    case ControlKind::Label:
      paintLabelControl(p, pixelRect, static_cast<const DesignLabel &>(c), pixelsPerTwip);
      break;
    case ControlKind::WebBrowser:
      paintWebBrowserControl(p, pixelRect, static_cast<const DesignWebBrowser &>(c), pixelsPerTwip);
      break;
    case ControlKind::Meter:
      paintMeterControl(p, pixelRect, static_cast<const DesignMeter &>(c), pixelsPerTwip);
      break;
    case ControlKind::MeterFader:
      paintMeterFaderControl(p, pixelRect, static_cast<const DesignMeterFader &>(c), pixelsPerTwip);
      break;
    case ControlKind::Clock:
      paintClockControl(p, pixelRect, static_cast<const DesignClock &>(c), now, pixelsPerTwip);
      break;
    case ControlKind::Kept:
      paintKeptControl(p, pixelRect, static_cast<const DesignKept &>(c), pixelsPerTwip);
      break;
  }
}
