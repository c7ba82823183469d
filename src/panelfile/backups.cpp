#include "panelfile/backups.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <algorithm>
#include <numeric>

#include "model/textfile.h"

namespace {

bool fail(QString *error, const QString &why) {
  if (error) *error = why;
  return false;
}

}  // namespace

QString backupFolder() {
  return joinPath(programSettings().startFolder, QStringLiteral("Backup/"));
}

QString backupFileName(const QString &fileName, const QDateTime &time) {
  const QString stamp = time.toString(QStringLiteral("yyyyMMddHHmmss"));
  const qsizetype dot = fileName.lastIndexOf(u'.');
  if (dot < 0) return fileName + u'_' + stamp;
  return fileName.left(dot) + u'_' + stamp + fileName.mid(dot);
}

std::vector<BackupCopy> backupsOf(const QString &fileName) {
  const qsizetype dot = fileName.lastIndexOf(u'.');
  const QString base = dot < 0 ? fileName : fileName.left(dot);
  const QString extension = dot < 0 ? QString() : fileName.mid(dot);
  const QRegularExpression name(QRegularExpression::anchoredPattern(
      QRegularExpression::escape(base) + QStringLiteral("_(\\d{14})") +
      QRegularExpression::escape(extension)));
  std::vector<BackupCopy> copies;
  const QDir dir(backupFolder());
  for (const QFileInfo &info : dir.entryInfoList(QDir::Files | QDir::NoSymLinks)) {
    const QRegularExpressionMatch match = name.match(info.fileName());
    if (!match.hasMatch()) continue;
    const QDateTime time =
        QDateTime::fromString(match.captured(1), QStringLiteral("yyyyMMddHHmmss"));
    if (time.isValid()) copies.push_back({info.filePath(), time, info.size()});
  }
  return copies;
}

QString newestBackupOf(const QString &fileName) {
  const std::vector<BackupCopy> copies = backupsOf(fileName);
  const auto newest =
      std::max_element(copies.begin(), copies.end(),
                       [](const BackupCopy &a, const BackupCopy &b) { return a.time < b.time; });
  return newest == copies.end() ? QString() : newest->path;
}

bool writeBackupCopy(const QString &fileName, const QByteArray &bytes, QString *error,
                     const QDateTime &time) {
  const QString folder = backupFolder();
  if (!QDir().mkpath(folder)) return fail(error, QStringLiteral("cannot create ") + folder);
  return writeFileSafely(folder + backupFileName(fileName, time), bytes, error, false,
                         AtLink::Replace);
}

bool makeBackupFile(const QString &path, QString *error) {
  const QString source =
      folderOf(path).isEmpty() ? joinPath(programSettings().startFolder, path) : path;
  QByteArray bytes;
  QString why;
  if (!readRegularFile(source, kPanelFileLimit, &bytes, &why))
    return fail(error, source + u' ' + why);
  return writeBackupCopy(fileNameOf(path), bytes, error);
}

bool backUpChangedFile(const QString &path, QString *error) {
  QByteArray bytes;
  QString why;
  if (!readRegularFile(path, kPanelFileLimit, &bytes, &why)) return fail(error, path + u' ' + why);
  return writeBackupCopy(fileNameOf(path), bytes, error, QFileInfo(path).lastModified());
}

std::vector<bool> backupsToKeep(const std::vector<BackupCopy> &backups, const QDateTime &now,
                                const BackupPolicy &policy, qint64 sizeLimit) {
  std::vector<bool> keep(backups.size(), true);
  if (policy.keepEverything || backups.empty()) return keep;
  // Newest first.
  std::vector<size_t> order(backups.size());
  std::iota(order.begin(), order.end(), size_t(0));
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return backups[a].time > backups[b].time; });
  constexpr qint64 kDay = 24 * 60 * 60;
  QSet<qint64> days, weeks;  // those that already have their backup
  for (size_t k = 1; k < order.size(); ++k) {
    const BackupCopy &copy = backups[order[k]];
    const qint64 age = copy.time.secsTo(now);
    if (age < policy.allDays * kDay) continue;
    const QDate date = copy.time.date();
    int weekYear = 0;
    const int week = date.weekNumber(&weekYear);
    const bool daily = age < policy.dailyDays * kDay;
    QSet<qint64> &seen = daily ? days : weeks;
    const qint64 bucket = daily ? date.toJulianDay() : qint64(weekYear) * 100 + week;
    if (seen.contains(bucket))
      keep[order[k]] = false;
    else
      seen.insert(bucket);
  }
  if (sizeLimit <= 0) return keep;
  qint64 total = backups[order.front()].size;
  bool full = false;
  for (size_t k = 1; k < order.size(); ++k) {
    if (!keep[order[k]]) continue;
    total += backups[order[k]].size;
    full = full || total > sizeLimit;
    if (full) keep[order[k]] = false;
  }
  return keep;
}

int pruneBackups(const QString &fileName, qint64 sizeLimit) {
  const BackupPolicy &policy = programSettings().backups;
  if (policy.keepEverything) return 0;
  const std::vector<BackupCopy> copies = backupsOf(fileName);
  const std::vector<bool> keep = backupsToKeep(copies, DateTimeStamp::now(), policy, sizeLimit);
  int removed = 0;
  for (size_t k = 0; k < copies.size(); ++k)
    if (!keep[k] && QFile::remove(copies[k].path)) ++removed;
  return removed;
}

BackupPolicy readBackupPolicy() {
  BackupPolicy policy;
  QSettings settings;
  settings.beginGroup(QStringLiteral("Backups"));
  const auto number = [&](const char *key, qint64 fallback) {
    bool ok = false;
    const qint64 value = settings.value(QLatin1String(key)).toLongLong(&ok);
    return ok && value >= 0 ? value : fallback;
  };
  policy.keepEverything = settings.value(QStringLiteral("KeepEverything"), false).toBool();
  policy.allDays = int(qMin<qint64>(number("KeepAllDays", policy.allDays), 36500));
  policy.dailyDays = int(qMin<qint64>(number("KeepDailyDays", policy.dailyDays), 36500));
  policy.panelLimit = qMin<qint64>(number("PanelLimitMB", policy.panelLimit >> 20), 1 << 30) << 20;
  policy.mapLimit = qMin<qint64>(number("MapLimitMB", policy.mapLimit >> 20), 1 << 30) << 20;
  return policy;
}
