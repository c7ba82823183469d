#include "ui/panelexportdialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "model/panelmodel.h"
#include "model/settings.h"
#include "model/textfile.h"
#include "model/uiservice.h"
#include "ui/panelexport.h"
#include "ui/plaintext.h"

namespace {
struct ImageType {
  QString filter;
  QString suffix;
  double scale;
};

const std::vector<ImageType> &imageTypes() {
  static const std::vector<ImageType> types = {
      {QStringLiteral("PNG image (*.png)"), QStringLiteral("png"), 1.0},
      {QStringLiteral("PNG image, double size for HiDPI screens (*.png)"), QStringLiteral("png"),
       2.0},
      {QStringLiteral("SVG drawing (*.svg)"), QStringLiteral("svg"), 1.0},
  };
  return types;
}

// Where the dialog opens: the folder exported to last, else the panel file's.
QString &lastExportFolder() {
  static QString folder;
  return folder;
}

QString startFolder(const PanelModel &panel) {
  if (!lastExportFolder().isEmpty()) return lastExportFolder();
  const QString path = panel.documentPath;
  if (!path.isEmpty() && !path.startsWith(QLatin1String("tcp://"), Qt::CaseInsensitive))
    return QFileInfo(path).absolutePath();
  return QDir::homePath();
}

QString panelName(const PanelModel &panel) {
  const QString name = panel.canvas.tag.trimmed();
  return name.isEmpty() ? QStringLiteral("Panel") : name;
}

// Why a print may not write this file: it is the hardware map or a panel
// file of the panels folder. Empty when it may.
QString keptFromPrint(const QString &file) {
  const ProgramSettings &s = programSettings();
  const QFileInfo info(file);
  const auto same = [](const QFileInfo &a, const QString &b) {
    const QFileInfo other(b);
    return a.absoluteFilePath() == other.absoluteFilePath() ||
           (a.exists() && a.canonicalFilePath() == other.canonicalFilePath());
  };
  if (!s.hardwareMapFile.isEmpty() && same(info, s.hardwareMapFile))
    return QStringLiteral("it is the hardware map");
  if (!s.panelsFolder.isEmpty() && same(QFileInfo(info.absolutePath()), s.panelsFolder) &&
      info.suffix().compare(QLatin1String("xml"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("it is a panel file of the panels folder");
  return QString();
}
}  // namespace

std::optional<ImageExportChoice> askImageExportFile(QWidget *parent, Ui &ui,
                                                    const PanelModel &panel) {
  QStringList filters;
  for (const ImageType &type : imageTypes()) filters << type.filter;
  QFileDialog dialog(parent, QObject::tr("Export Image"), startFolder(panel));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(filters);
  // The name gets the chosen type's extension after the dialog, so the
  // question about replacing a file is asked here, of the final name.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.selectFile(panelName(panel));
  for (;;) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const ImageType *type = &imageTypes().front();
    for (const ImageType &t : imageTypes())
      if (t.filter == dialog.selectedNameFilter()) type = &t;
    ImageExportChoice choice{dialog.selectedFiles().first(), type->scale};
    // A typed .png or .svg decides the format; any other name ("shot",
    // "shot.jpg") takes the chosen type's extension.
    std::optional<ExportFormat> format = exportFormatOfFile(choice.file);
    if (format != ExportFormat::Png && format != ExportFormat::Svg) {
      choice.file += u'.' + type->suffix;
      format = exportFormatOfFile(choice.file);
    }
    if (format != ExportFormat::Png || type->suffix != QLatin1String("png")) choice.scale = 1.0;
    const QFileInfo info(choice.file);
    if (!info.exists() ||
        ui.message(
            QStringLiteral("%1 already exists.\r\nDo you want to replace it?").arg(info.fileName()),
            Ui::Buttons::YesNo, QStringLiteral("Export Image")) == Ui::Answer::Yes) {
      lastExportFolder() = info.absolutePath();
      return choice;
    }
    dialog.selectFile(info.fileName());  // another name, or Cancel
  }
}

bool writeImageExport(Ui &ui, const PanelModel &panel, const ImageExportChoice &choice) {
  QString error;
  if (exportPanelFile(panel, choice.file, choice.scale, &error)) return true;
  ui.failure(QStringLiteral("The image could not be written to %1: %2.").arg(choice.file, error) +
             QStringLiteral("\r\n\r\nAny file of that name is left as it was. Choose another "
                            "folder, or make room on the disk, and export again."));
  return false;
}

void exportPanelImage(QWidget *parent, Ui &ui, const PanelModel &panel) {
  if (const auto choice = askImageExportFile(parent, ui, panel))
    writeImageExport(ui, panel, *choice);
}

bool printPanelOn(QPrinter &printer, Ui &ui, const PanelModel &panel, const QDateTime &printedAt) {
  const QString typed = printer.outputFileName();
  if (printer.outputFormat() == QPrinter::PdfFormat && !typed.isEmpty()) {
    // Printing to a PDF file is an export: the file ends in .pdf, is never a
    // panel or the map, and is written whole or not at all.
    QString file = typed;
    if (exportFormatOfFile(file) != ExportFormat::Pdf) file += QStringLiteral(".pdf");
    for (const QString &target : {typed, file}) {
      if (const QString why = keptFromPrint(target); !why.isEmpty()) {
        ui.failure(QStringLiteral("The panel was not printed to %1: %2.").arg(target, why) +
                   QStringLiteral("\r\n\r\nThe file is left as it was. Choose another file "
                                  "name and print again."));
        return false;
      }
    }
    // The print dialog asked about the name as typed; the final one is asked here.
    if (file != typed && QFileInfo::exists(file) &&
        ui.message(QStringLiteral("%1 already exists.\r\nDo you want to replace it?")
                       .arg(QFileInfo(file).fileName()),
                   Ui::Buttons::YesNo, QStringLiteral("Print")) != Ui::Answer::Yes)
      return false;
    QString error = QStringLiteral("the panel could not be drawn");
    const QByteArray pdf =
        printedPdfBytes(panel, printer.pageLayout(), printer.resolution(), printedAt);
    if (!pdf.isEmpty() && writeFileSafely(file, pdf, &error)) return true;
    ui.failure(QStringLiteral("The panel could not be printed to %1: %2.").arg(file, error) +
               QStringLiteral("\r\n\r\nAny file of that name is left as it was. Choose "
                              "another folder, or make room on the disk, and print again."));
    return false;
  }
  QPainter p;
  if (!p.begin(&printer)) {
    ui.failure(QStringLiteral("The panel could not be printed on %1.").arg(printer.printerName()) +
               QStringLiteral("\r\n\r\nCheck the printer and print again."));
    return false;
  }
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  printPanelPage(p, QRectF(QPointF(0, 0), QSizeF(page.size())), panel, printedAt);
  return p.end();
}

void printPanel(QWidget *parent, Ui &ui, const PanelModel &panel) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(panelName(panel));
  printer.setCreator(QStringLiteral("Tessary Panel Designer"));
  printer.setPageOrientation(defaultPrintLayout(panel).orientation());
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QObject::tr("Print %1").arg(plainWindowTitle(panelName(panel))));
  if (dialog.exec() != QDialog::Accepted) return;
  printPanelOn(printer, ui, panel);
}
