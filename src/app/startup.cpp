#include "app/startup.h"

#include <QStringList>

#include "model/numbers.h"

namespace {
QString withSlash(const QString &folder) {
  if (folder.isEmpty() || folder.endsWith(u'/') || folder.endsWith(u'\\')) return folder;
  return folder + u'/';
}
}  // namespace

void initSettings(ProgramSettings &s, const QString &currentFolder) {
  s.useComma = checkUseComma();
  s.startFolder = withSlash(currentFolder);
  s.appFolder = withSlash(currentFolder.trimmed());
  QString helpFolder = s.appFolder;
  helpFolder.replace(u'\\', u'/');
  s.helpAddress = QStringLiteral("file://") + helpFolder + QStringLiteral("help.pdf");
  s.defaultGraphicsFolder = currentFolder.isEmpty()
                                ? QString()
                                : withSlash(currentFolder) + QStringLiteral("PanelGraphics/");
  s.panelsFolder = s.startFolder + QStringLiteral("CVSPanels/");
  s.hardwareMapFile = s.panelsFolder + QStringLiteral("HardwareMap.xml");
}

bool applyCommandText(ProgramSettings &s, const QString &commandText) {
  QString text = commandText;
  text.remove(u'"');
  text = text.trimmed();
  if (text.size() <= 6 || !text.startsWith(QLatin1String("tcp://"), Qt::CaseInsensitive))
    return false;
  QString rest = text.mid(6);
  const qsizetype blank = rest.indexOf(u' ');
  if (blank >= 0) rest = rest.left(blank);
  const QStringList fields = rest.split(u':');
  if (fields.size() >= 2) {
    quint16 port = 0;
    if (readPort(fields[1].trimmed(), &port)) s.serverPort = port;
  } else {
    s.serverPort = 5200;
  }
  s.serverAddress = fields[0].trimmed();
  if (fields.size() >= 3) s.loginName = fields[2];
  s.serverMode = true;
  return true;
}

QString readRememberedConnection() { return readConnectionData().trimmed(); }
