#include "ui/exportcommand.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include "app/commandlineui.h"
#include "app/startup.h"
#include "hwmap/hardwaremap.h"
#include "model/settings.h"
#include "model/uiservice.h"
#include "panelfile/localstore.h"
#include "surface/paneleditor.h"
#include "surface/panelreadhooks.h"
#include "ui/panelexport.h"

namespace {
int fail(FILE *err, int status, const QString &file, const QString &why) {
  QString reason = why.trimmed();
  reason.replace(QLatin1String("\r\n"), QLatin1String(" "));
  reason.replace(u'\n', u' ');
  if (reason.endsWith(u'.')) reason.chop(1);
  std::fprintf(err, "tessary-designer: %s: %s.\n", qPrintable(file), qPrintable(reason));
  return status;
}
}  // namespace

int runExportCommand(int &argc, char **argv, const QString &out, const QString &panelFile,
                     FILE *err) {
  // Stderr says what went wrong with the files, nothing else: Qt's own notes
  // (the platform's set-up) would make a successful run look like a failure.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
      std::fprintf(stderr, "tessary-designer: %s\n", qPrintable(text));
  });
  qputenv("QT_QPA_PLATFORM", "offscreen");  // drawing needs fonts, not a display
  QGuiApplication app(argc, argv);
  initSettings(programSettings(), QDir::currentPath());  // button pictures in PanelGraphics/
  if (!exportFormatOfFile(out))
    return fail(err, 2, out, QStringLiteral("the output must end in .png, .svg or .pdf"));
  const QFileInfo info(panelFile);
  if (!info.exists()) return fail(err, 2, panelFile, QStringLiteral("does not exist"));
  if (info.isDir()) return fail(err, 1, panelFile, QStringLiteral("is a folder, not a panel file"));
  QString unreadable;
  const QString text = loadPanelText(panelFile, nullptr, &unreadable);
  if (!unreadable.isEmpty()) return fail(err, 1, panelFile, unreadable);
  if (text.isEmpty())
    return fail(
        err, 1, panelFile,
        info.isReadable() ? QStringLiteral("holds no panel") : QStringLiteral("cannot be read"));
  CommandLineUi ui;
  PanelEditor panel(ui);
  XmlError error;
  bool read = false;
  {
    PanelReadHooks hooks(panel);  // the pictures of the buttons and of the panel
    read =
        readPanelText(text, info.absoluteFilePath(), panel.model(), hooks, HardwareMap(), &error);
  }
  if (!read) return fail(err, 1, panelFile, QStringLiteral("does not parse: ") + error.text());
  QString why;
  if (!exportPanelFile(panel.model(), out, 1.0, &why))
    return fail(err, 1, out, QStringLiteral("cannot be written: ") + why);
  return 0;
}
