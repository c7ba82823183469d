#include "ui/paintsupport.h"

#include <QCache>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImageReader>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "model/textfile.h"

QColor colorFromValue(qint32 value) {
  if (value < 0) {
    switch (value & 0xFF) {
      case 0x05:
        return QColor(255, 255, 255);  // window
      case 0x08:                       // window text
      case 0x12:
        return QColor(0, 0, 0);  // button text
      case 0x0F:
        return QColor(240, 240, 240);  // button face
      case 0x10:
        return QColor(160, 160, 160);  // button shadow
      case 0x14:
        return QColor(255, 255, 255);  // highlight edge
      case 0x0D:
        return QColor(0, 120, 215);  // selection
      case 0x0E:
        return QColor(255, 255, 255);  // selection text
      default:
        return QColor(240, 240, 240);
    }
  }
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

namespace {
double deviceDpi(const QPainter &p) {
  const QPaintDevice *d = p.device();
  const int dpi = d ? d->logicalDpiY() : 96;
  return dpi > 0 ? dpi : 96;
}
}  // namespace

QFont scaledFont(const QPainter &p, const QString &family, double points, bool bold, bool italic,
                 bool underline, double pixelsPerTwip) {
  QFont f(family.isEmpty() ? QStringLiteral("Arial") : family);
  double px = points * 20.0 * pixelsPerTwip;
  if (!std::isfinite(px) || px <= 0) px = 1;
  px = std::min(px, 4000.0);
  f.setPointSizeF(std::max(0.5, px * 72.0 / deviceDpi(p)));
  f.setBold(bold);
  f.setItalic(italic);
  f.setUnderline(underline);
  return f;
}

QFont pixelFont(const QPainter &p, double pixels, bool bold, const QString &family) {
  QFont f(family.isEmpty() ? QStringLiteral("DejaVu Sans") : family);
  f.setStyleHint(QFont::SansSerif);
  if (!std::isfinite(pixels) || pixels <= 0) pixels = 1;
  f.setPointSizeF(std::max(0.5, pixels * 72.0 / deviceDpi(p)));
  f.setBold(bold);
  return f;
}

QImage loadPicture(const QString &file) {
  if (file.isEmpty()) return {};
  const QFileInfo info(file);
  if (!info.isFile()) return {};
  static QCache<QString, QImage> cache(64 * 1024);  // cost in KiB
  const QString key = info.absoluteFilePath() + u'|' +
                      QString::number(info.lastModified().toMSecsSinceEpoch()) + u'|' +
                      QString::number(info.size());
  if (const QImage *hit = cache.object(key)) return *hit;
  QFile device(file);
  if (!openRegularFile(device, kPictureFileLimit)) return {};
  QImageReader reader(&device);
  reader.setAutoTransform(true);
  QImage image = reader.read();
  if (image.isNull()) return {};
  const qsizetype cost = std::max<qsizetype>(1, image.sizeInBytes() / 1024);
  cache.insert(key, new QImage(image), cost);
  return image;
}

QRectF placeImage(const QSizeF &size, const QRectF &area, bool stretch, double zoom,
                  bool shrinkToFit) {
  if (stretch) return area;
  if (!(zoom > 0) || !std::isfinite(zoom)) zoom = 1;
  QSizeF s = size * zoom;
  if (shrinkToFit && (s.width() > area.width() || s.height() > area.height()) && s.width() > 0 &&
      s.height() > 0) {
    const double k = std::min(area.width() / s.width(), area.height() / s.height());
    s *= k;
  }
  return QRectF(area.center().x() - s.width() / 2, area.center().y() - s.height() / 2, s.width(),
                s.height());
}

namespace {
const QChar kEllipsis(0x2026);

// The painter's font size in pixels, without asking the font engine.
double fontPixels(const QPainter &p) {
  const QFont &font = p.font();
  if (font.pixelSize() > 0) return font.pixelSize();
  return font.pointSizeF() * deviceDpi(p) / 72.0;
}

// More characters than could ever show side by side in `width` in a font of
// `em` pixels: no common character is narrower than a tenth of it (an "i"
// or a space is about a fifth).
qsizetype charsAcross(double em, double width) {
  const double narrowest = std::max(em / 10, 0.5);
  if (!(width > 0) || !std::isfinite(width)) return 2;
  return qsizetype(std::min(width / narrowest, 1e6)) + 2;
}
}  // namespace

QString fittedText(const QPainter &p, const QString &text, const QRectF &area) {
  // Lines are at least 0.8 em apart.
  const double em = fontPixels(p);
  const double lineHeight = std::max(em * 0.8, 1.0);
  const qsizetype lines = std::isfinite(area.height())
                              ? qsizetype(std::clamp(area.height() / lineHeight, 0.0, 1e4)) + 1
                              : 1;
  const qsizetype budget = lines * charsAcross(em, area.width());
  if (text.size() <= budget) return text;

  // Only the beginning can show: its lines that fit, the last one elided.
  const QFontMetricsF fm(p.font(), p.device());
  QString head = text.left(budget);
  if (head.back().isHighSurrogate()) head.chop(1);
  head.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  head.replace(u'\n', QChar::LineSeparator);
  QTextLayout layout(head, p.font(), p.device());
  QTextOption option;
  option.setWrapMode(QTextOption::WordWrap);
  layout.setTextOption(option);
  QStringList shown;
  double height = 0;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(area.width());
    if (!shown.isEmpty() && height + line.height() > area.height()) break;
    height += line.height();
    QString piece = head.mid(line.textStart(), line.textLength());
    if (piece.endsWith(QChar::LineSeparator)) piece.chop(1);
    if (fm.horizontalAdvance(piece) > area.width())
      piece = fm.elidedText(piece, Qt::ElideRight, area.width());
    shown << piece;
  }
  layout.endLayout();
  if (shown.isEmpty()) return QString();
  QString &last = shown.last();
  const QString elided =
      fm.elidedText(last, Qt::ElideRight, area.width() - fm.horizontalAdvance(kEllipsis));
  last = elided == last ? last + kEllipsis : elided;
  return shown.join(u'\n');
}

QString elidedLine(const QPainter &p, const QString &text, double width, Qt::TextElideMode mode) {
  const QFontMetricsF fm(p.font(), p.device());
  const qsizetype across = charsAcross(fontPixels(p), width);
  QString shown = text;
  if (text.size() > 2 * across) {
    // Either end keeps more than can show of it, so the elided text is the same.
    if (mode == Qt::ElideLeft)
      shown = text.right(across);
    else if (mode == Qt::ElideMiddle)
      shown = text.left(across) + text.right(across);
    else
      shown = text.left(across);
  }
  return fm.elidedText(shown, mode, width);
}

QColor mix(const QColor &a, const QColor &b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto m = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
  return QColor(m(a.red(), b.red()), m(a.green(), b.green()), m(a.blue(), b.blue()),
                m(a.alpha(), b.alpha()));
}

int luma(const QColor &c) { return (c.red() * 299 + c.green() * 587 + c.blue() * 114) / 1000; }
