#include "app/startup.h"

#include <QStringList>

#include "model/numbers.h"

namespace {
QString withSlash(const QString &folder) {
  if (folder.isEmpty() || folder.endsWith(u'/') || folder.endsWith(u'\\')) return folder;
  return folder + u'/';
}
}  // namespace

void InitSettings(ProgramSettings &s, const QString &currentFolder) {
  s.boolUseComma = CheckUseComma();
  s.strStartFolder = withSlash(currentFolder);
  s.strAppFolder = withSlash(currentFolder.trimmed());
  QString helpFolder = s.strAppFolder;
  helpFolder.replace(u'\\', u'/');
  s.strHelpAddress = QStringLiteral("file://") + helpFolder + QStringLiteral("help.pdf");
  s.strDefaultGraphicsFolder = currentFolder.isEmpty()
                                   ? QString()
                                   : withSlash(currentFolder) + QStringLiteral("PanelGraphics/");
  s.strPanelsFolder = s.strStartFolder + QStringLiteral("CVSPanels/");
  s.strHardwareMapFile = s.strPanelsFolder + QStringLiteral("HardwareMap.xml");
}

bool ApplyCommandText(ProgramSettings &s, const QString &commandText) {
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
    if (ReadPort(fields[1].trimmed(), &port)) s.intServerPort = port;
  } else {
    s.intServerPort = 5200;
  }
  s.strServerAddress = fields[0].trimmed();
  if (fields.size() >= 3) s.strLoginName = fields[2];
  s.boolServerMode = true;
  return true;
}

QString ReadRememberedConnection() { return ReadConnectionData().trimmed(); }
