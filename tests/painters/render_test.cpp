#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <functional>
#include <limits>

#include "components/meterfaderlogic.h"
#include "components/meterscale.h"
#include "model/designcontrol.h"
#include "ui/controlpainter.h"
#include "ui/palettepainter.h"

namespace {

constexpr double kPixelsPerTwip = 1.0 / 15.0;
const QColor kCanvas(255, 0, 255);  // a colour no painter uses
const QDateTime kNow(QDate(2024, 5, 1), QTime(0, 0, 15));

QImage render(const DesignControl &c, QSize size, const QDateTime &now = kNow,
              double pixelsPerTwip = kPixelsPerTwip) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(kCanvas);
  QPainter p(&image);
  paintControl(p, QRectF(QPointF(0, 0), QSizeF(size)), c, now, pixelsPerTwip);
  return image;
}

QColor at(const QImage &image, QPointF point) {
  return image.pixelColor(static_cast<int>(point.x()), static_cast<int>(point.y()));
}

bool isGreen(const QColor &c) { return c.green() > 150 && c.green() > c.red() + 60; }
bool isDark(const QColor &c) { return c.red() < 90 && c.green() < 90 && c.blue() < 90; }
bool isRed(const QColor &c) { return c.red() > 180 && c.green() < 110 && c.blue() < 110; }

// The bounding box of the pixels that match.
QRect inkBox(const QImage &image, const std::function<bool(QColor)> &match) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (match(image.pixelColor(x, y))) box |= QRect(x, y, 1, 1);
  return box;
}

}  // namespace

TEST(RenderMeter, LitSegmentsFollowTheLevelInBothStyles) {
  const QSize size(60, 320);
  for (qint32 style : {0, 1}) {
    DesignMeter m;
    m.meter.meterStyle = style;
    m.meter.meterScale = 0;
    const MeterLayout layout = computeMeterLayout(QRectF(0, 0, 60, 320), m.meter, 1.0);
    const QRectF bar = layout.bars[0];
    const int count = ledSegmentCount(bar.height());
    // The centre of the LED segment at a fraction of the bar (top of the
    // bar is 0 dB, bottom -60 dB on the linear scale).
    auto segmentCentre = [&](double fraction) {
      const int i = std::min(count - 1, static_cast<int>(fraction * count));
      return QPointF(bar.center().x(), bar.bottom() - (i + 0.5) / count * bar.height());
    };
    m.setLevel(-200, kMeterSilence);
    const QImage lit = render(m, size);
    EXPECT_TRUE(isGreen(at(lit, segmentCentre(0.1)))) << "style " << style;
    EXPECT_TRUE(isGreen(at(lit, segmentCentre(0.6)))) << "style " << style;
    EXPECT_FALSE(isGreen(at(lit, segmentCentre(0.8)))) << "above -20 dB stays dark";
    const QPointF right =
        segmentCentre(0.1) + QPointF(layout.bars[1].center().x() - bar.center().x(), 0);
    EXPECT_TRUE(isDark(at(lit, right))) << "the right channel is silent";

    m.setLevel(kMeterSilence, kMeterSilence);
    const QImage silent = render(m, size);
    EXPECT_TRUE(isDark(at(silent, segmentCentre(0.1)))) << "style " << style;
  }
}

TEST(RenderMeter, OverloadLightsRedAtTheTop) {
  DesignMeter m;
  m.setLevel(0, 0);
  const MeterLayout layout = computeMeterLayout(QRectF(0, 0, 60, 320), m.meter, 1.0);
  const QRectF bar = layout.bars[1];
  const QImage image = render(m, QSize(60, 320));
  const int count = ledSegmentCount(bar.height());
  EXPECT_TRUE(isRed(at(image, QPointF(bar.center().x(), bar.top() + 1.5 * bar.height() / count))));
}

TEST(RenderClock, SecondHandPointsAtTheSecond) {
  // At 00:00:15 the hour and minute hands point up and the seconds hand to
  // the right; at 00:00:45 to the left. Element hands are built of blocks,
  // so look along a stretch of the ray.
  for (bool elements : {false, true}) {
    DesignClock c;
    c.elementHands = elements;
    c.faceNumbers = false;
    const QSize size(200, 200);
    const double r = 97;
    auto redAlong = [&](const QImage &image, double dx) {
      for (double f = 0.4; f <= 0.75; f += 0.01)
        if (isRed(at(image, QPointF(100 + dx * f * r, 100)))) return true;
      return false;
    };
    const QImage quarter = render(c, size, QDateTime(QDate(2024, 5, 1), QTime(0, 0, 15)));
    EXPECT_TRUE(redAlong(quarter, +1)) << "elements " << elements;
    EXPECT_FALSE(redAlong(quarter, -1)) << "elements " << elements;
    const QImage threeQuarters = render(c, size, QDateTime(QDate(2024, 5, 1), QTime(0, 0, 45)));
    EXPECT_TRUE(redAlong(threeQuarters, -1)) << "elements " << elements;
    EXPECT_FALSE(redAlong(threeQuarters, +1)) << "elements " << elements;
  }
}

TEST(RenderClock, OffsetAndDigitalText) {
  DesignClock c;
  c.digital = true;
  c.backgroundColor = 0x000000;
  c.foregroundColor = 0x00FF00;  // green
  c.fontSize = 20;
  const QImage image = render(c, QSize(220, 60));
  const QRect ink = inkBox(image, [](QColor p) { return isGreen(p); });
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_NEAR(ink.center().x(), 110, 6) << "centred";
  EXPECT_TRUE(isDark(image.pixelColor(2, 2))) << "background colour";

  // A font far too large for the control is shrunk to show the whole time.
  c.fontSize = 400;
  const QRect big = inkBox(render(c, QSize(220, 60)), [](QColor p) { return isGreen(p); });
  EXPECT_GT(big.left(), 0);
  EXPECT_LT(big.right(), 219);
}

TEST(RenderMeterFader, KnobAndNominalMarkFollowTheirValues) {
  const QRectF rect(0, 0, 140, 420);
  const MeterFaderLayout layout = computeMeterFaderLayout(rect, false, 1.0);
  DesignMeterFader f;
  for (float level : {-30.0f, 0.0f, 8.0f}) {
    f.faderLevel = level;
    f.faderNominal = -10.0f;
    const QImage image = render(f, QSize(140, 420));
    const QRectF knob = layout.knobAt(level);
    const QColor cap = at(image, QPointF(knob.center().x(), knob.top() + knob.height() * 0.12));
    EXPECT_GT(cap.lightness(), 150) << "knob at " << level;
    const QColor nominal = at(image, QPointF(layout.track.right() + 3, layout.yOf(-10)));
    EXPECT_TRUE(nominal.red() > 200 && nominal.green() > 120 && nominal.blue() < 60)
        << "amber nominal mark";
  }
}

TEST(RenderText, FontsScaleWithTheZoom) {
  DesignLabel label;
  label.text = QStringLiteral("WWWW");
  label.foreColor = 0x000000;
  auto inkWidth = [&](double pixelsPerTwip) {
    return inkBox(render(label, QSize(400, 100), kNow, pixelsPerTwip),
                  [](QColor p) { return p.lightness() < 100; })
        .width();
  };
  const int normal = inkWidth(1.0 / 15);
  EXPECT_GT(normal, 10);
  EXPECT_NEAR(inkWidth(2.0 / 15), 2 * normal, normal * 0.15);
}

TEST(RenderText, ButtonCaptionShowsAmpersandsAsTyped) {
  DesignButton b;
  auto captionWidth = [&](const QString &caption) {
    b.caption = caption;
    // Inside the bevel, whose dark edge would count as ink.
    const QImage face = render(b, QSize(200, 40)).copy(4, 4, 192, 32);
    return inkBox(face, [](QColor p) { return p.lightness() < 60; }).width();
  };
  EXPECT_GT(captionWidth(QStringLiteral("A&B")), captionWidth(QStringLiteral("AB")) + 3);
}

// A kept control's placeholder: hatched over its whole rectangle, its type
// and name written in the middle on a plain band.
TEST(RenderKept, AHatchedRectangleWithTypeAndName) {
  DesignKept kept;
  kept.type = QStringLiteral("CodecControl");
  kept.tag = QStringLiteral("Codec1");
  const QImage image = render(kept, QSize(200, 90));
  EXPECT_TRUE(inkBox(image, [](QColor c) { return c == kCanvas; }).isEmpty());
  // The hatching: grey lines across a light ground near the corners.
  const QRect corner(2, 2, 30, 20);
  int lines = 0;
  for (int y = corner.top(); y <= corner.bottom(); ++y)
    for (int x = corner.left(); x <= corner.right(); ++x)
      if (image.pixelColor(x, y).lightness() < 200) ++lines;
  EXPECT_GT(lines, 20);
  // The text: dark ink in the middle, away from the dashed frame.
  int ink = 0;
  for (int y = 20; y < 70; ++y)
    for (int x = 30; x < 170; ++x)
      if (image.pixelColor(x, y).lightness() < 130) ++ink;
  EXPECT_GT(ink, 40);
}

TEST(RenderRobustness, DegenerateRectsAndZoomsPaintNothingOrSomethingButNeverFail) {
  DesignButton button;
  button.caption = QStringLiteral("x");
  button.picture = QStringLiteral("/nonexistent/picture.png");
  DesignLabel label;
  DesignWebBrowser browser;
  DesignMeter meter;
  meter.meter.centerPad = std::numeric_limits<qint16>::min();
  meter.meter.meterScale = 99;
  meter.meter.levelLeft = std::numeric_limits<qint32>::max();
  DesignMeterFader fader;
  fader.faderLevel = std::numeric_limits<float>::quiet_NaN();
  fader.faderNominal = std::numeric_limits<float>::infinity();
  DesignClock clock;
  clock.offSet = std::numeric_limits<qint32>::min();
  clock.fontSize = 1e9;
  clock.digital = true;
  DesignKept kept;
  kept.type = QString(500, u'W');
  const DesignControl *controls[] = {&button, &label, &browser, &meter, &fader, &clock, &kept};
  QImage image(64, 64, QImage::Format_ARGB32);
  QPainter p(&image);
  for (const DesignControl *c : controls) {
    for (QRectF r : {QRectF(0, 0, 0, 0), QRectF(5, 5, -10, 20), QRectF(0, 0, 1, 1),
                     QRectF(0, 0, 3, 64), QRectF(-1e6, -1e6, 2e6, 2e6)}) {
      for (double zoom : {kPixelsPerTwip, 0.0, -1.0, std::nan(""), 50.0})
        paintControl(p, r, *c, QDateTime(), zoom);
    }
  }
  SUCCEED();
}

TEST(RenderPalette, EveryItemDrawsItsOwnIcon) {
  std::vector<QImage> icons;
  for (int i = 0; i <= int(PaletteItem::CodecControl); ++i) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(kCanvas);
    QPainter p(&image);
    paintPaletteIcon(p, image.rect(), PaletteItem(i));
    p.end();
    EXPECT_FALSE(inkBox(image, [](QColor c) { return c != kCanvas; }).isEmpty()) << i;
    for (const QImage &other : icons) EXPECT_NE(image, other) << i;
    icons.push_back(image);
  }
}
