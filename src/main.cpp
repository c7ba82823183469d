#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QSettings>
#include <cstdio>

#include "app/checkcommand.h"
#include "app/commandline.h"
#include "app/crashrecovery.h"
#include "app/mainwindowlogic.h"
#include "app/panelfilewatcher.h"
#include "app/recentpanels.h"
#include "app/replacecommand.h"
#include "app/startup.h"
#include "model/helpmanual.h"
#include "model/processsetup.h"
#include "model/settings.h"
#include "model/textfile.h"
#include "panelfile/interruptedsave.h"
#include "panelfile/localstore.h"
#include "ui/exportcommand.h"
#include "ui/mainwindow.h"
#include "ui/qtui.h"
#include "ui/webbrowserhost.h"

namespace {
bool displayAvailable() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (!platform.isEmpty() && platform != "xcb" && platform != "wayland") return true;
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Where the manual is looked for: the start folder, the installed tree
// beside the program, the build folder.
QStringList helpFiles(const QString &startFolder) {
  return helpFileCandidates(startFolder, QFileInfo(QFile::symLinkTarget("/proc/self/exe")).path(),
                            QStringLiteral(TESSARY_BUILD_DIR));
}

// The manual line of --help: the file F1 opens, or where it was looked for.
QString manualText() {
  const QStringList candidates = helpFiles(QDir::currentPath());
  for (const QString &file : candidates)
    if (QFileInfo(file).isFile()) return file;
  return QStringLiteral("not found (looked for %1)").arg(candidates.join(QStringLiteral(", ")));
}
}  // namespace

int main(int argc, char **argv) {
  ignoreFileSizeLimitSignal();  // a write over a file-size limit fails instead of killing us
  keepFreedMemoryForReuse();
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const CommandLine cmd = parseCommandLine(arguments);
  if (!cmd.error.isEmpty()) {
    std::fprintf(stderr, "tessary-designer: %s\n\n%s", qPrintable(cmd.error),
                 qPrintable(cmd.helpText));
    return 2;
  }
  if (cmd.showHelp) {
    std::printf("%s\nManual: %s\n", qPrintable(cmd.helpText), qPrintable(manualText()));
    return 0;
  }
  if (cmd.showVersion) {
    std::printf("tessary-designer %s\n", qPrintable(kVersionText));
    return 0;
  }
  // Settings (recent panels, the backup policy) and the recovery folder are
  // kept under these names.
  QCoreApplication::setOrganizationName(QStringLiteral("Corvane"));
  QCoreApplication::setApplicationName(QStringLiteral("tessary-designer"));
  QCoreApplication::setApplicationVersion(kVersionText);
  programSettings().backups = readBackupPolicy();
  if (!cmd.exportFile.isEmpty())
    return runExportCommand(argc, argv, cmd.exportFile, cmd.panelFiles.first(), stderr);
  if (cmd.check) {
    QCoreApplication app(argc, argv);  // reading panels needs no window
    return runCheckCommand(cmd.panelFiles, cmd.json, stdout, stderr);
  }
  if (cmd.replace) {
    QCoreApplication app(argc, argv);  // reading and saving panels needs no window
    return runReplaceCommand(cmd.findText, cmd.replacementText, cmd.field, cmd.dryRun,
                             cmd.panelFiles, stdout, stderr);
  }
  if (!displayAvailable()) {
    std::fprintf(stderr,
                 "tessary-designer: no display found. Start it from a desktop session, or set "
                 "DISPLAY (for example under Xvfb).\n");
    return 1;
  }

  WebBrowserHost::prepareProcess();
  QApplication app(argc, argv);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/tessary/icon.png")));

  ProgramSettings &settings = programSettings();
  initSettings(settings, QDir::currentPath());
  settings.helpFileCandidates = helpFiles(settings.appFolder);
  QString commandText = cmd.serverText;
  if (commandText.isEmpty()) commandText = readRememberedConnection();

  QtUi ui;
  MainWindowLogic designer(ui);
  RecentPanels recent(designer);
  MainWindow window(designer);
  window.setRecentPanels(&recent);
  ui.setParentWidget(&window);
  designer.load();
  QSettings layout;  // the window's size, place and panes of the last session
  window.setLayoutSettings(&layout);
  window.show();
  if (!commandText.isEmpty()) applyCommandText(settings, commandText);
  // Completes a save of a panel and its map that a designer could not finish.
  completeInterruptedSave(ui, {settings.panelsFolder, backupFolder()});
  // Offers back the work of a designer that did not end normally.
  CrashRecovery recovery(designer, CrashRecovery::defaultFolder());
  window.setRecovery(&recovery);  // the status bar says when it is off
  if (!recovery.start())
    std::fprintf(stderr, "tessary-designer: %s\n", qPrintable(recovery.problem()));
  // Offers to reload an unchanged panel whose file someone else changed.
  PanelFileWatcher watcher(designer);
  for (const QString &file : cmd.panelFiles)
    designer.openLocalPanelFile(QFileInfo(file).absoluteFilePath());
  // The connect dialog at every start; it connects only when asked to.
  designer.connectToServer();
  return app.exec();
}
