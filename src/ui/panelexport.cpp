#include "ui/panelexport.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>

#include "model/panelmodel.h"
#include "model/textfile.h"
#include "ui/paintsupport.h"
#include "ui/panelrenderer.h"

namespace {
constexpr double kFooterPoints = 9;
const QString kCreator = QStringLiteral("Tessary Panel Designer");

// An image past these is refused rather than allocated: a panel file may
// give any size, and a gigabyte image helps no one.
constexpr int kMaxImageSide = 32000;
constexpr qint64 kMaxImagePixels = 200'000'000;

bool tooLarge(const QSize &size) {
  return size.width() > kMaxImageSide || size.height() > kMaxImageSide ||
         qint64(size.width()) * size.height() > kMaxImagePixels;
}

QByteArray pngBytes(const PanelModel &panel, double scale, const QDateTime &now) {
  const QSize size = panelPixelSize(panel, scale);
  if (tooLarge(size)) return {};
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return {};  // no memory for it
  image.fill(Qt::white);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    renderPanel(p, panel, scale, now);
  }
  // Shown at its size in pixels as 96 dots per inch (192 for double size).
  const int dotsPerMeter = qRound(96 * scale / 0.0254);
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) return {};
  return bytes;
}

QByteArray svgBytes(const PanelModel &panel, const QDateTime &now) {
  const QSize size = panelPixelSize(panel);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setResolution(96);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setTitle(panel.canvas.tag);
  svg.setDescription(kCreator);
  {
    QPainter p(&svg);
    if (!p.isActive()) return {};
    renderPanel(p, panel, 1.0, now);
  }
  return bytes;
}

}  // namespace

std::optional<ExportFormat> exportFormatOfFile(const QString &file) {
  const QString suffix = QFileInfo(file).suffix().toLower();
  if (suffix == QLatin1String("png")) return ExportFormat::Png;
  if (suffix == QLatin1String("svg")) return ExportFormat::Svg;
  if (suffix == QLatin1String("pdf")) return ExportFormat::Pdf;
  return std::nullopt;
}

QByteArray panelFileBytes(const PanelModel &panel, ExportFormat format, double scale,
                          const QDateTime &now) {
  switch (format) {
    case ExportFormat::Png:
      return pngBytes(panel, scale, now);
    case ExportFormat::Svg:
      return svgBytes(panel, now);
    case ExportFormat::Pdf:
      return printedPdfBytes(panel, defaultPrintLayout(panel), 300, now);
  }
  return {};
}

bool exportPanelFile(const PanelModel &panel, const QString &file, double scale, QString *error,
                     const QDateTime &now) {
  const std::optional<ExportFormat> format = exportFormatOfFile(file);
  if (!format) {
    if (error) *error = QStringLiteral("the file name does not end in .png, .svg or .pdf");
    return false;
  }
  const QByteArray bytes = panelFileBytes(panel, *format, scale, now);
  if (bytes.isEmpty()) {
    const QSize size = panelPixelSize(panel, *format == ExportFormat::Png ? scale : 1.0);
    if (error)
      *error = QStringLiteral("the panel is too large to draw (%1 x %2 pixels)")
                   .arg(size.width())
                   .arg(size.height());
    return false;
  }
  return writeFileSafely(file, bytes, error);
}

QPageLayout defaultPrintLayout(const PanelModel &panel) {
  const QSize size = panelPixelSize(panel);
  return QPageLayout(QPageSize(QPageSize::A4),
                     size.width() > size.height() ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
}

QByteArray printedPdfBytes(const PanelModel &panel, const QPageLayout &layout, int resolution,
                           const QDateTime &printedAt) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter pdf(&buffer);
  pdf.setResolution(resolution);
  pdf.setCreator(kCreator);
  pdf.setTitle(panel.canvas.tag);
  pdf.setPageLayout(layout);
  {
    QPainter p(&pdf);
    if (!p.isActive()) return {};
    const QRect page = pdf.pageLayout().paintRectPixels(pdf.resolution());
    printPanelPage(p, QRectF(QPointF(0, 0), QSizeF(page.size())), panel, printedAt);
  }
  return bytes;
}

void printPanelPage(QPainter &p, const QRectF &page, const PanelModel &panel,
                    const QDateTime &printedAt) {
  p.save();
  const double dpi = p.device() ? std::max(1, p.device()->logicalDpiY()) : 96;
  const double footerText = kFooterPoints * dpi / 72;
  const double footerHeight = footerText * 2.2;
  const QRectF area(page.left(), page.top(), page.width(),
                    std::max(1.0, page.height() - footerHeight));
  const QSizeF natural(panelPixelSize(panel));
  const double scale = std::min(area.width() / natural.width(), area.height() / natural.height());
  p.save();
  p.translate(area.left() + (area.width() - natural.width() * scale) / 2, area.top());
  p.setRenderHint(QPainter::Antialiasing);
  renderPanel(p, panel, scale, printedAt);
  p.restore();

  const QRectF footer(page.left(), page.bottom() - footerText * 1.4, page.width(),
                      footerText * 1.4);
  p.setPen(QColor(0x50, 0x50, 0x50));
  p.setFont(pixelFont(p, footerText));
  const QString stamp =
      QStringLiteral("Printed ") + printedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  p.drawText(footer, Qt::AlignRight | Qt::AlignVCenter, stamp);
  const double stampWidth = p.fontMetrics().horizontalAdvance(stamp) + footerText * 2;
  p.drawText(footer.adjusted(0, 0, -stampWidth, 0), Qt::AlignLeft | Qt::AlignVCenter,
             elidedLine(p, panel.canvas.tag, int(footer.width() - stampWidth)));
  p.restore();
}
