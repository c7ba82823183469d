#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <optional>

class QPainter;
class PanelModel;

// Images and printed pages of a panel as operators see it (renderPanel):
// File > Export Image, File > Print and the command line's --export. QtGui
// and QtSvg only, so the command line needs no window.

enum class ExportFormat { Png, Svg, Pdf };

// The format a file name asks for by its extension (any letter case); none
// for any other name.
std::optional<ExportFormat> exportFormatOfFile(const QString &file);

// The whole file: a PNG at `scale` pixels per 15 twips (2 for a double-size
// image for high-density screens), an SVG of the panel's size in pixels, or
// a PDF of one page of defaultPrintLayout. Empty when the panel could not
// be drawn.
QByteArray panelFileBytes(const PanelModel &panel, ExportFormat format, double scale,
                          const QDateTime &now);

// Writes that file in the format of its extension, replacing an older one
// only once the new one is complete (a failed write leaves the old file as
// it was). False with the reason in `error`.
bool exportPanelFile(const PanelModel &panel, const QString &file, double scale, QString *error,
                     const QDateTime &now = QDateTime::currentDateTime());

// A4 with margins of 12 mm, landscape for a panel wider than high.
QPageLayout defaultPrintLayout(const PanelModel &panel);

// A PDF of one page of `layout` as printPanelPage lays it out, titled with
// the panel's name; empty when it could not be drawn.
QByteArray printedPdfBytes(const PanelModel &panel, const QPageLayout &layout, int resolution,
                           const QDateTime &printedAt);

// One printed page in `page` (painter coordinates in device pixels): the
// panel fitted into the page above a footer, keeping its aspect, centred
// across; the footer gives the panel's name on the left and the time of
// printing on the right.
void printPanelPage(QPainter &p, const QRectF &page, const PanelModel &panel,
                    const QDateTime &printedAt);
