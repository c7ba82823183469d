// The replay of an interrupted save's journal: whatever the journal says, it
// moves only a temporary file of this writer onto its own file, only whole,
// and leaves each file either as it was or as its temporary file held it.
// "@DIR@" in the input stands for the folder of the files below, "@STUDIO@"
// and "@MAP@" for what Studio.xml and the map are before the replay, and
// "@STUDIO-NEW@" and "@MAP-NEW@" for the size and hash of their temporary
// files, so that journals can name them.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "fuzzsupport.h"
#include "panelfile/interruptedsave.h"

namespace {

struct File {
  const char *name;
  QByteArray bytes;
};
const File kFiles[] = {
    {"Studio.xml", "<Panel><Version>v0</Version></Panel>"},
    {".Studio.xml.tessary-a1B2c3", "<Panel><Version>v1</Version></Panel>"},
    {"HardwareMap.xml", "<HardwareMapList><Version>v0</Version></HardwareMapList>"},
    {".HardwareMap.xml.tessary-Q9w8E7", "<HardwareMapList><Version>v1</Version></HardwareMapList>"},
    {"Notes.txt", "notes"},
};
const QDateTime kTime(QDate(2024, 3, 3), QTime(9, 5, 7), Qt::UTC);

QByteArray readAll(const QString &path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray sizeAndHash(const File &f) {
  return QByteArray::number(f.bytes.size()) + '\t' + QByteArray::number(contentHash(f.bytes), 16);
}

QByteArray identity(const File &f) {
  return QByteArray::number(f.bytes.size()) + ':' + QByteArray::number(kTime.toMSecsSinceEpoch()) +
         ':' + QByteArray::number(contentHash(f.bytes), 16);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/fuzz-journal-XXXXXX"));
  const QString folder = dir.path() + u'/';
  for (const QFileInfo &info : QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                          QDir::System | QDir::NoDotAndDotDot))
    info.isDir() && !info.isSymLink() ? QDir(info.filePath()).removeRecursively()
                                      : QFile::remove(info.filePath());
  for (const File &f : kFiles) {
    QFile out(folder + QLatin1String(f.name));
    FUZZ_CHECK(out.open(QIODevice::WriteOnly));
    out.write(f.bytes);
    out.flush();
    out.setFileTime(kTime, QFileDevice::FileModificationTime);
  }
  QByteArray journal(reinterpret_cast<const char *>(data), qsizetype(size));
  journal.replace("@DIR@", QFile::encodeName(dir.path()));
  journal.replace("@STUDIO-NEW@", sizeAndHash(kFiles[1]));
  journal.replace("@MAP-NEW@", sizeAndHash(kFiles[3]));
  journal.replace("@STUDIO@", identity(kFiles[0]));
  journal.replace("@MAP@", identity(kFiles[2]));
  const QString mapFile = folder + QStringLiteral("HardwareMap.xml");
  {
    QFile out(saveJournalPath(mapFile));
    FUZZ_CHECK(out.open(QIODevice::WriteOnly));
    out.write(journal);
  }
  const JournalReplay replay = replaySaveJournal(mapFile);
  FUZZ_CHECK(!QFileInfo::exists(saveJournalPath(mapFile)));
  // Each file is as it was or holds its temporary file's bytes, whole; a
  // temporary file is gone only when its file holds its bytes.
  for (int k : {0, 2}) {
    const QByteArray now = readAll(folder + QLatin1String(kFiles[k].name));
    const bool moved = !QFileInfo::exists(folder + QLatin1String(kFiles[k + 1].name));
    FUZZ_CHECK(now == (moved ? kFiles[k + 1].bytes : kFiles[k].bytes));
  }
  FUZZ_CHECK(readAll(folder + QStringLiteral("Notes.txt")) == kFiles[4].bytes);
  // Only a file whose own temporary file was there is said to be replaced.
  for (const JournalReplay::File &f : replay.files)
    FUZZ_CHECK(f.state != JournalReplay::State::Replaced ||
               f.path == folder + QStringLiteral("Studio.xml") || f.path == mapFile);
  return 0;
}
