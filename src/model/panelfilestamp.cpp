#include "model/panelfilestamp.h"

#include <QFileInfo>
#include <QHash>
#include <QMutex>

namespace {

struct KnownFile {
  QString path;  // absolute
  FileStamp stamp;
};

// Kept beside the panels rather than in them, like their map entries.
QMutex g_lock;
QHash<const PanelModel *, KnownFile> g_files;

QString absolute(const QString &path) { return QFileInfo(path).absoluteFilePath(); }

}  // namespace

void rememberPanelFile(const PanelModel &panel, const QString &path, const FileStamp &stamp) {
  const QMutexLocker locker(&g_lock);
  g_files[&panel] = KnownFile{absolute(path), stamp};
}

std::optional<FileStamp> panelFileStamp(const PanelModel &panel, const QString &path) {
  KnownFile known;
  {
    const QMutexLocker locker(&g_lock);
    const auto it = g_files.constFind(&panel);
    if (it == g_files.constEnd()) return std::nullopt;
    known = *it;
  }
  if (path.isEmpty() || known.path != absolute(path)) return std::nullopt;
  return known.stamp;
}

bool panelFileChangedSince(const PanelModel &panel, const QString &path) {
  const std::optional<FileStamp> stamp = panelFileStamp(panel, path);
  return stamp && fileChangedSince(path, *stamp);
}

void forgetPanelFile(const PanelModel &panel) {
  const QMutexLocker locker(&g_lock);
  g_files.remove(&panel);
}
