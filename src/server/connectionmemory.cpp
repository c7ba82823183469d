#include "server/connectionmemory.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <algorithm>

#include "model/codepage.h"
#include "model/settings.h"
#include "model/textfile.h"

QString GetCommonFolder() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (base.isEmpty()) return QString();
  if (!base.endsWith(u'/')) base += u'/';
  const QString folder = base + QStringLiteral("CorvanePC");
  if (!QDir().mkpath(folder)) return QString();
  return folder + u'/';
}

QString ConnectionDataFile() {
  const QString folder = GetCommonFolder();
  const QString name = QStringLiteral("TessaryConnect.txt");
  return folder.size() > 1 ? folder + name : name;
}

bool IsUsableServerAddress(const QString &address) {
  const QString a = address.trimmed();
  return !a.isEmpty() && std::none_of(a.begin(), a.end(), [](QChar c) {
    return c.isSpace() || c.unicode() < 0x20 || c.unicode() == 0x7f || c == u'/';
  });
}

void ForgetConnectionData() { QFile::remove(ConnectionDataFile()); }

void SaveConnectionData() {
  const ProgramSettings &s = Settings();
  if (!IsUsableServerAddress(s.strServerAddress)) return;
  const QString line = QStringLiteral("tcp://") + s.strServerAddress + u':' +
                       QString::number(s.intServerPort) + u':' + s.strLoginName +
                       QStringLiteral("\r\n");
  QString error;
  WriteTextFileSafely(ConnectionDataFile(), line, &error);
}

QString ReadConnectionData() {
  QFile file(ConnectionDataFile());
  if (!file.open(QIODevice::ReadOnly)) return QString();
  QString text = DecodeWindows1252(file.readAll());
  if (file.error() != QFileDevice::NoError) return QString();
  file.close();
  text.remove(u'\r');
  text.remove(u'\n');
  if (text.isEmpty()) file.remove();
  return text;
}
