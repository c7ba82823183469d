#include "server/connectionmemory.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QStandardPaths>
#include <algorithm>

#include "model/codepage.h"
#include "model/settings.h"
#include "model/textfile.h"

QString commonFolder() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (base.isEmpty()) return QString();
  if (!base.endsWith(u'/')) base += u'/';
  const QString folder = base + QStringLiteral("CorvanePC");
  if (!QDir().mkpath(folder)) return QString();
  return folder + u'/';
}

QString connectionDataFile() {
  const QString folder = commonFolder();
  const QString name = QStringLiteral("TessaryConnect.txt");
  return folder.size() > 1 ? folder + name : name;
}

bool isUsableServerAddress(const QString &address) {
  const QString a = address.trimmed();
  return !a.isEmpty() && std::none_of(a.begin(), a.end(), [](QChar c) {
    return c.isSpace() || c.unicode() < 0x20 || c.unicode() == 0x7f || c == u'/';
  });
}

bool isHostAddress(QStringView address) {
  if (address.isEmpty() || address.size() > 253) return false;
  if (!QHostAddress(address.toString()).isNull()) return true;
  for (QStringView label : address.split(u'.')) {
    if (label.isEmpty() || label.size() > 63 || label.front() == u'-' || label.back() == u'-')
      return false;
    for (const QChar c : label)
      if (c.unicode() > 0x7f || !(c.isLetterOrNumber() || c == u'-' || c == u'_')) return false;
  }
  return true;
}

void forgetConnectionData() { QFile::remove(connectionDataFile()); }

void saveConnectionData() {
  const ProgramSettings &s = programSettings();
  if (!isUsableServerAddress(s.serverAddress)) return;
  const QString line = QStringLiteral("tcp://") + s.serverAddress + u':' +
                       QString::number(s.serverPort) + u':' + s.loginName + QStringLiteral("\r\n");
  QString error;
  writeTextFileSafely(connectionDataFile(), line, &error);
}

QString readConnectionData() {
  QByteArray bytes;
  if (!readRegularFile(connectionDataFile(), kSmallFileLimit, &bytes)) return QString();
  QString text = decodeWindows1252(bytes);
  text.remove(u'\r');
  text.remove(u'\n');
  if (text.isEmpty()) QFile::remove(connectionDataFile());
  return text;
}
