#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

class QPrinter;
class QWidget;
class PanelModel;
class Ui;

// File > Export Image… and File > Print… for the active panel.

// What the export dialog chose: the file (ending in .png or .svg) and the
// pixels per 15 twips of a PNG (2 for double size).
struct ImageExportChoice {
  QString file;
  double scale = 1.0;
};

// The save dialog of File > Export Image: PNG, double-size PNG or SVG by the
// chosen type or the typed extension; a name without one takes the type's.
// An existing file is chosen only after `ui` asked whether to replace it
// (No goes back to the dialog).
std::optional<ImageExportChoice> askImageExportFile(QWidget *parent, Ui &ui,
                                                    const PanelModel &panel);

// Writes the image; a failure is told through `ui`, naming the file, and
// leaves an existing file as it was.
bool writeImageExport(Ui &ui, const PanelModel &panel, const ImageExportChoice &choice);

// Both steps, for the menu.
void exportPanelImage(QWidget *parent, Ui &ui, const PanelModel &panel);

// Prints the panel on one page of `printer` (printPanelPage). Printing to a
// PDF file writes it as an export does, whole or not at all, under a name
// ending in .pdf (added when missing; `ui` asks before an existing file of
// the new name is replaced); the hardware map and the panel files of the
// panels folder are refused. A failure is told through `ui`, naming the
// printer or the file.
bool printPanelOn(QPrinter &printer, Ui &ui, const PanelModel &panel,
                  const QDateTime &printedAt = QDateTime::currentDateTime());

// The print dialog (which also prints to a PDF file), then printPanelOn.
void printPanel(QWidget *parent, Ui &ui, const PanelModel &panel);
