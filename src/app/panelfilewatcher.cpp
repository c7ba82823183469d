#include "app/panelfilewatcher.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <utility>

#include "app/mainwindowlogic.h"
#include "app/serverpanelpath.h"
#include "model/settings.h"
#include "model/uiservice.h"
#include "surface/paneleditor.h"

namespace {

// The local file a panel was opened from or saved to, or an empty text.
QString localFileOf(const PanelEditor *panel) {
  const QString &path = panel->model().documentPath;
  if (path.isEmpty() || programSettings().serverMode || isServerPanelPath(path)) return QString();
  return QFileInfo(path).absoluteFilePath();
}

}  // namespace

PanelFileWatcher::PanelFileWatcher(MainWindowLogic &designer, QObject *parent)
    : QObject(parent), m_designer(designer) {
  m_settle.setSingleShot(true);
  m_settle.setInterval(kSettleMs);
  connect(&m_settle, &QTimer::timeout, this, &PanelFileWatcher::checkPanels);
  connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] {
    watchFiles();  // a file replaced by another is watched afresh
    m_settle.start();
  });
  // Looked at once the command is done: a Save As names the window's file
  // only after the save.
  connect(
      &designer, &MainWindowLogic::panelAdded, this, [this] { watchFiles(); },
      Qt::QueuedConnection);
  connect(
      &designer, &MainWindowLogic::panelSaved, this, [this] { watchFiles(); },
      Qt::QueuedConnection);
  connect(&designer, &MainWindowLogic::panelRemoved, this, &PanelFileWatcher::forget);
  watchFiles();
}

void PanelFileWatcher::watchFiles(const PanelEditor *leaving) {
  QSet<QString> wanted;
  for (const PanelEditor *panel : m_designer.openPanels())
    if (panel != leaving)
      if (const QString path = localFileOf(panel); !path.isEmpty() && QFile::exists(path))
        wanted.insert(path);
  const QStringList watched = m_watcher.files();
  for (const QString &path : watched)
    if (!wanted.contains(path)) m_watcher.removePath(path);
  for (const QString &path : wanted)
    if (!watched.contains(path)) m_watcher.addPath(path);
}

void PanelFileWatcher::forget(PanelEditor *panel) {
  m_kept.remove(panel);
  watchFiles(panel);
}

void PanelFileWatcher::checkPanels() {
  if (m_asking) {  // looked at again once the open question is answered
    m_again = true;
    return;
  }
  for (PanelEditor *panel : m_designer.openPanels()) {
    const QString path = localFileOf(panel);
    if (path.isEmpty() || panel->needToSave() || !panel->model().fileChangedOnDisk(path)) continue;
    if (const auto kept = m_kept.constFind(panel);
        kept != m_kept.constEnd() && !fileChangedSince(path, *kept))
      continue;
    // A reload closes the panel: the list of panels is read afresh.
    if (offerReload(panel, path)) return checkPanels();
  }
}

bool PanelFileWatcher::offerReload(PanelEditor *panel, const QString &path) {
  m_asking = true;
  const Ui::Answer answer = m_designer.ui().message(
      panel->model().canvas.tag + QStringLiteral(" was changed on disk since you opened it.\r\n") +
          QStringLiteral("File: ") + path +
          QStringLiteral("\r\n\r\nThe panel has no unsaved changes. Reload it from the file?"),
      Ui::Buttons::YesNo);
  m_asking = false;
  if (std::exchange(m_again, false)) m_settle.start();
  const std::vector<PanelEditor *> open = m_designer.openPanels();
  const bool stillOpen = std::find(open.begin(), open.end(), panel) != open.end();
  if (!stillOpen || panel->needToSave()) return false;  // changed while the box was open
  // No, or a file that cannot be read now: not asked again until it changes.
  if (answer != Ui::Answer::Yes || !m_designer.reloadPanel(panel)) {
    m_kept[panel] = stampOfFile(path);
    return false;
  }
  return true;
}
