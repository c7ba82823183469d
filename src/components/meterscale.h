#pragma once

#include <QRectF>
#include <QString>
#include <QtGlobal>
#include <vector>

struct MeterSettings;

// Levels arrive in tenths of dB (dBFS); this value and anything below it is
// silence.
constexpr qint32 kMeterSilence = -600;

enum class MeterScaleKind { Linear = 0, Standard = 1, British = 2 };

// The colour zone of a level: green, amber, red.
enum class MeterZone { Normal, Warning, Over };

// Zone limits in dBFS: amber from -18 (the alignment level), red from -6.
constexpr double kWarningDb = -18.0;
constexpr double kOverDb = -6.0;

MeterZone zoneOf(double db);

struct MeterTick {
  double db = 0;
  double fraction = 0;  // 0 at the bottom of the bar, 1 at the top
  QString label;        // empty for a minor tick
};

// How a level in dB maps onto the height of a bar.
//  Linear:   -60 .. 0 dB evenly.
//  Standard: piecewise, giving the upper 20 dB half of the bar.
//  British:  marks 1-7 evenly spaced, 4 dB apart (6 dB between 1 and 2), with
//            mark 4 at the -18 dBFS alignment level.
class MeterScale {
 public:
  explicit MeterScale(MeterScaleKind kind = MeterScaleKind::Linear);
  // Unknown codes show the linear scale.
  static MeterScale fromCode(qint32 code);

  MeterScaleKind kind() const { return m_kind; }
  double minDb() const;
  double maxDb() const;
  // Clamped to [0, 1]; NaN gives 0.
  double fractionOf(double db) const;
  // A level in tenths of dB; silence gives 0.
  double fractionOfLevel(qint32 tenths) const;
  // The inverse of fractionOf over [0, 1].
  double dbAt(double fraction) const;
  // Top to bottom.
  const std::vector<MeterTick> &ticks() const { return m_ticks; }

 private:
  struct Point {
    double db;
    double fraction;
  };
  MeterScaleKind m_kind;
  std::vector<Point> m_points;  // rising in both members
  std::vector<MeterTick> m_ticks;
};

// The labelled ticks that fit a bar of `barHeight` pixels with labels
// `labelHeight` high: no two labels closer than a label's height. The ends of
// the scale are kept first, then the others from the top. Unlabelled ticks
// are kept when they are at least 3 pixels apart from a kept tick.
std::vector<MeterTick> visibleTicks(const std::vector<MeterTick> &ticks, double barHeight,
                                    double labelHeight);

struct LedSegment {
  double bottom = 0;  // fractions of the bar height
  double top = 0;
  MeterZone zone = MeterZone::Normal;
  bool lit = false;
};

// The number of LED segments for a bar of `barHeight` pixels: about one per
// 4 pixels (3 lit, 1 gap), at least 1, at most 64.
int ledSegmentCount(double barHeight);

// Segments from the bottom up. A segment's zone is that of the level at its
// centre; it is lit when the level reaches its centre.
std::vector<LedSegment> ledSegments(const MeterScale &scale, int count, qint32 levelTenths);

// Where the parts of a two-channel meter go inside `rect` (pixels).
// `pixelScale` is device pixels per 96-dpi pixel; the centre pad is given in
// 96-dpi pixels.
struct MeterLayout {
  QRectF bezel;
  QRectF bars[2];
  QRectF scale;  // empty when there is no room for labels
  double labelPixels = 0;
  bool showScale() const { return !scale.isEmpty(); }
};
MeterLayout computeMeterLayout(const QRectF &rect, const MeterSettings &settings,
                               double pixelScale);

// The fall of a shown level toward the input, in dB per second; the peak is
// held for a moment and then falls the same way.
class MeterBallistics {
 public:
  // Decay rates of 0 or less take the default fall.
  static constexpr double kDefaultFallDbPerSecond = 20.0;
  static constexpr double kPeakHoldSeconds = 1.5;

  explicit MeterBallistics(qint16 decayRate = 0);
  void setDecayRate(qint16 decayRate);
  // Advances by `seconds` toward `inputTenths`; rises are immediate.
  void update(qint32 inputTenths, double seconds);
  qint32 levelTenths() const;
  qint32 peakTenths() const;

 private:
  double m_fall;
  double m_level;
  double m_peak;
  double m_peakAge = 0;
};
