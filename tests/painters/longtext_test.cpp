// Painters lay out and draw only what of a text can show, its beginning: a
// megabyte caption costs what a short one does (bench/canvas_bench.cpp).
#include <gtest/gtest.h>

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <functional>
#include <memory>

#include "model/designcontrol.h"
#include "ui/controlpainter.h"

namespace {

// A device that records the text each drawn run of glyphs carries.
class TextRecorder : public QPaintDevice {
 public:
  QString drawn;
  QPaintEngine *paintEngine() const override { return &m_engine; }

 protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth:
      case PdmHeight:
        return 2000;
      case PdmWidthMM:
      case PdmHeightMM:
        return 529;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY:
        return 96;
      case PdmDepth:
        return 32;
      case PdmNumColors:
        return 1 << 24;
      case PdmDevicePixelRatio:
        return 1;
      case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
      default:
        return 0;
    }
  }

 private:
  class Engine : public QPaintEngine {
   public:
    explicit Engine(TextRecorder &device) : QPaintEngine(AllFeatures), m_device(device) {}
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath &) override {}
    void drawTextItem(const QPointF &, const QTextItem &item) override {
      m_device.drawn += item.text();
    }
    Type type() const override { return User; }

   private:
    TextRecorder &m_device;
  };
  mutable Engine m_engine{*this};
};

QString drawnText(const DesignControl &control, QSizeF size) {
  TextRecorder device;
  QPainter p(&device);
  paintControl(p, QRectF(QPointF(10, 10), size), control, QDateTime(), 1.0 / 15.0);
  p.end();
  return device.drawn;
}

}  // namespace

TEST(LongText, PaintersDrawOnlyTheBeginningThatFits) {
  const QString huge = QString("Talk back ").repeated(200000);
  const QString hugeLines = QString("Talk\r\n").repeated(200000);
  auto button = [](const QString &text) {
    auto b = std::make_unique<DesignButton>();
    b->caption = text;
    return std::unique_ptr<DesignControl>(std::move(b));
  };
  auto label = [](const QString &text) {
    auto l = std::make_unique<DesignLabel>();
    l->text = text;
    return std::unique_ptr<DesignControl>(std::move(l));
  };
  auto kept = [](const QString &text) {
    auto k = std::make_unique<DesignKept>();
    k->type = text;
    k->tag = text;
    return std::unique_ptr<DesignControl>(std::move(k));
  };
  auto browser = [](const QString &text) {
    auto w = std::make_unique<DesignWebBrowser>();
    w->locationURL = "http://studio/" + text;
    return std::unique_ptr<DesignControl>(std::move(w));
  };
  auto fader = [](const QString &text) {
    auto f = std::make_unique<DesignMeterFader>();
    f->meterName = text;
    return std::unique_ptr<DesignControl>(std::move(f));
  };
  const struct {
    const char *name;
    std::function<std::unique_ptr<DesignControl>(const QString &)> make;
    bool wraps;  // else one line, elided
  } kinds[] = {{"button", button, true},
               {"label", label, true},
               {"kept", kept, true},
               {"browser", browser, false},
               {"fader", fader, false}};
  for (const auto &kind : kinds) {
    // A caption that fits is drawn whole.
    const QString fits = drawnText(*kind.make("Talk"), QSizeF(300, 200));
    EXPECT_TRUE(fits.contains("Talk") && !fits.contains(QChar(0x2026))) << kind.name;
    // Of a huge one, the beginning that fits; a wrapped text is cut with "…"
    // (laid out whole, it shows its middle when centred, and no mark).
    for (const QString &text : {huge, hugeLines}) {
      const QString drawn = drawnText(*kind.make(text), QSizeF(300, 200));
      EXPECT_TRUE(drawn.contains("Talk")) << kind.name;
      if (kind.wraps) EXPECT_TRUE(drawn.contains(QChar(0x2026))) << kind.name;
      EXPECT_LT(drawn.size(), 5000) << kind.name;
    }
  }
}
