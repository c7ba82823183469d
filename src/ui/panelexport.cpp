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
  const QSize size = PanelPixelSize(panel, scale);
  if (tooLarge(size)) return {};
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return {};  // no memory for it
  image.fill(Qt::white);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    RenderPanel(p, panel, scale, now);
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
  const QSize size = PanelPixelSize(panel);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setResolution(96);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setTitle(panel.pictMain.Tag);
  svg.setDescription(kCreator);
  {
    QPainter p(&svg);
    if (!p.isActive()) return {};
    RenderPanel(p, panel, 1.0, now);
  }
  return bytes;
}

}  // namespace

std::optional<ExportFormat> ExportFormatOfFile(const QString &file) {
  const QString suffix = QFileInfo(file).suffix().toLower();
  if (suffix == QLatin1String("png")) return ExportFormat::Png;
  if (suffix == QLatin1String("svg")) return ExportFormat::Svg;
  if (suffix == QLatin1String("pdf")) return ExportFormat::Pdf;
  return std::nullopt;
}

QByteArray PanelFileBytes(const PanelModel &panel, ExportFormat format, double scale,
                          const QDateTime &now) {
  switch (format) {
    case ExportFormat::Png:
      return pngBytes(panel, scale, now);
    case ExportFormat::Svg:
      return svgBytes(panel, now);
    case ExportFormat::Pdf:
      return PrintedPdfBytes(panel, DefaultPrintLayout(panel), 300, now);
  }
  return {};
}

bool ExportPanelFile(const PanelModel &panel, const QString &file, double scale, QString *error,
                     const QDateTime &now) {
  const std::optional<ExportFormat> format = ExportFormatOfFile(file);
  if (!format) {
    if (error) *error = QStringLiteral("the file name does not end in .png, .svg or .pdf");
    return false;
  }
  const QByteArray bytes = PanelFileBytes(panel, *format, scale, now);
  if (bytes.isEmpty()) {
    const QSize size = PanelPixelSize(panel, *format == ExportFormat::Png ? scale : 1.0);
    if (error)
      *error = QStringLiteral("the panel is too large to draw (%1 x %2 pixels)")
                   .arg(size.width())
                   .arg(size.height());
    return false;
  }
  return WriteFileSafely(file, bytes, error);
}

QPageLayout DefaultPrintLayout(const PanelModel &panel) {
  const QSize size = PanelPixelSize(panel);
  return QPageLayout(QPageSize(QPageSize::A4),
                     size.width() > size.height() ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
}

QByteArray PrintedPdfBytes(const PanelModel &panel, const QPageLayout &layout, int resolution,
                           const QDateTime &printedAt) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter pdf(&buffer);
  pdf.setResolution(resolution);
  pdf.setCreator(kCreator);
  pdf.setTitle(panel.pictMain.Tag);
  pdf.setPageLayout(layout);
  {
    QPainter p(&pdf);
    if (!p.isActive()) return {};
    const QRect page = pdf.pageLayout().paintRectPixels(pdf.resolution());
    PrintPanelPage(p, QRectF(QPointF(0, 0), QSizeF(page.size())), panel, printedAt);
  }
  return bytes;
}

void PrintPanelPage(QPainter &p, const QRectF &page, const PanelModel &panel,
                    const QDateTime &printedAt) {
  p.save();
  const double dpi = p.device() ? std::max(1, p.device()->logicalDpiY()) : 96;
  const double footerText = kFooterPoints * dpi / 72;
  const double footerHeight = footerText * 2.2;
  const QRectF area(page.left(), page.top(), page.width(),
                    std::max(1.0, page.height() - footerHeight));
  const QSizeF natural(PanelPixelSize(panel));
  const double scale = std::min(area.width() / natural.width(), area.height() / natural.height());
  p.save();
  p.translate(area.left() + (area.width() - natural.width() * scale) / 2, area.top());
  p.setRenderHint(QPainter::Antialiasing);
  RenderPanel(p, panel, scale, printedAt);
  p.restore();

  const QRectF footer(page.left(), page.bottom() - footerText * 1.4, page.width(),
                      footerText * 1.4);
  p.setPen(QColor(0x50, 0x50, 0x50));
  p.setFont(PixelFont(p, footerText));
  const QString stamp =
      QStringLiteral("Printed ") + printedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  p.drawText(footer, Qt::AlignRight | Qt::AlignVCenter, stamp);
  const double stampWidth = p.fontMetrics().horizontalAdvance(stamp) + footerText * 2;
  p.drawText(footer.adjusted(0, 0, -stampWidth, 0), Qt::AlignLeft | Qt::AlignVCenter,
             p.fontMetrics().elidedText(panel.pictMain.Tag, Qt::ElideRight,
                                        int(footer.width() - stampWidth)));
  p.restore();
}
