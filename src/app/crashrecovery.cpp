#include "app/crashrecovery.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>
#include <algorithm>

#include "app/mainwindowlogic.h"
#include "app/recoveryfile.h"
#include "hwmap/hardwaremap.h"
#include "model/uiservice.h"
#include "panelfile/localstore.h"
#include "surface/paneleditor.h"
#include "surface/panelreadhooks.h"

namespace {

const QString kFileSuffix = QStringLiteral(".recovery");
const QString kLockSuffix = QStringLiteral(".lock");
// Marks a recovery file from before it is read until its offer is answered.
const QString kOfferedSuffix = QStringLiteral(".offered");

// What changes a panel's document; selection and pointer shapes do not.
constexpr int kDocumentChanges =
    PanelEditor::Geometry | PanelEditor::Properties | PanelEditor::Structure | PanelEditor::Caption;

QString offerLine(const RecoveryFile &file) {
  const QString where = file.windowPath.isEmpty() ? QStringLiteral("never saved") : file.windowPath;
  return file.panelName + QStringLiteral(" (") + where + QStringLiteral("), last kept ") +
         file.written.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

}  // namespace

struct CrashRecovery::Left {
  QString file;  // marked as offered
  RecoveryFile content;
};

QString CrashRecovery::defaultFolder() {
  const QString base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
  return base.isEmpty() ? QString() : base + QStringLiteral("/recovery/");
}

CrashRecovery::CrashRecovery(MainWindowLogic &designer, const QString &folder, QObject *parent)
    : QObject(parent),
      m_designer(designer),
      m_folder(folder.isEmpty() ? QString() : QDir(folder).absolutePath() + u'/') {
  recoveryTimer.setInterval(kIntervalMs);
  connect(&recoveryTimer, &QTimer::timeout, this, &CrashRecovery::recoveryTick);
}

CrashRecovery::~CrashRecovery() {
  recoveryTimer.stop();
  if (!m_lock) return;
  // Files still here belong to panels that were never saved nor closed:
  // they stay, and the next start offers them.
  QDir().rmdir(m_sessionFolder);
  m_lock->unlock();
}

bool CrashRecovery::start() {
  if (m_lock) return false;
  const QString unusable =
      QStringLiteral("Unsaved work is not kept for recovery: the folder %1 cannot be used.")
          .arg(m_folder.isEmpty() ? QStringLiteral("for it") : QDir::toNativeSeparators(m_folder));
  if (m_folder.isEmpty() || !QDir().mkpath(m_folder)) {
    setProblem(unusable);
    return false;
  }
  // The lock comes first: a session folder is never seen without its lock.
  const QString session = QString::number(QCoreApplication::applicationPid()) + u'-' +
                          QString::number(QDateTime::currentMSecsSinceEpoch());
  auto lock = std::make_unique<QLockFile>(m_folder + session + kLockSuffix);
  m_sessionFolder = m_folder + session + u'/';
  if (!lock->tryLock(0) || !QDir().mkpath(m_sessionFolder)) {
    setProblem(unusable);
    return false;
  }
  m_lock = std::move(lock);

  for (PanelEditor *panel : m_designer.openPanels()) track(panel);
  connect(&m_designer, &MainWindowLogic::panelAdded, this, &CrashRecovery::track);
  connect(&m_designer, &MainWindowLogic::panelRemoved, this, &CrashRecovery::untrack);

  std::vector<Claimed> claimed = claimAbandonedSessions();
  offer(claimed);
  recoveryTimer.start();
  return true;
}

std::vector<CrashRecovery::Claimed> CrashRecovery::claimAbandonedSessions() {
  std::vector<Claimed> claimed;
  const QDir root(m_folder);
  const QString own = QDir(m_sessionFolder).dirName();
  QStringList sessions = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  // Locks left without a folder are claimed too, so that they go away.
  for (const QString &lockName : root.entryList({u'*' + kLockSuffix}, QDir::Files)) {
    const QString session = lockName.chopped(kLockSuffix.size());
    if (!sessions.contains(session)) sessions << session;
  }
  for (const QString &session : sessions) {
    if (session == own || m_folder + session + u'/' == unreadableFolder()) continue;
    auto lock = std::make_unique<QLockFile>(m_folder + session + kLockSuffix);
    // A lock is free only when the designer holding it is gone, however long
    // it has been held.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) continue;
    claimed.push_back({m_folder + session + u'/', std::move(lock)});
  }
  return claimed;
}

void CrashRecovery::offer(std::vector<Claimed> &claimed) {
  std::vector<Left> left;
  QStringList problems;  // said once all offers are answered
  bool interrupted = false;
  for (const Claimed &session : claimed) {
    const QDir dir(session.folder);
    // Still marked: its designer ended while offering it. Offered again, it
    // could end this one the same way, and every start after it.
    for (const QString &name : dir.entryList({u'*' + kFileSuffix + kOfferedSuffix}, QDir::Files)) {
      setAside(dir.filePath(name), dir.dirName());
      interrupted = true;
    }
    for (const QString &name : dir.entryList({u'*' + kFileSuffix}, QDir::Files)) {
      Left item{dir.filePath(name + kOfferedSuffix), {}};
      if (!QFile::rename(dir.filePath(name), item.file)) {
        qWarning(
            "The recovery file %s could not be marked as offered; it waits for the next start.",
            qPrintable(dir.filePath(name)));
        continue;
      }
      if (readRecoveryFile(item.file, &item.content)) {
        left.push_back(std::move(item));
        continue;
      }
      // Damaged or cut short: never opened, never deleted, and not offered
      // again at every start.
      setAside(item.file, dir.dirName());
      problems << QStringLiteral(
                      "A recovery file is damaged or incomplete and was not "
                      "offered. It was moved to %1.")
                      .arg(QDir::toNativeSeparators(unreadableFolder()));
    }
  }
  if (interrupted)
    problems.prepend(
        QStringLiteral("The designer ended while it offered back unsaved work. That work is not "
                       "offered again, so that it cannot end the designer at every start: its "
                       "recovery copies were moved to %1.")
            .arg(QDir::toNativeSeparators(unreadableFolder())));
  std::sort(left.begin(), left.end(),
            [](const Left &a, const Left &b) { return a.content.written < b.content.written; });

  if (!left.empty()) {
    QStringList lines;
    for (const Left &item : left) lines << offerLine(item.content);
    const Ui::RecoveryAnswer answer = m_designer.ui().offerRecovery(
        QStringLiteral("The designer did not end normally. These panels had changes that "
                       "were not saved:"),
        lines);
    for (const Left &item : left) {
      QString why;
      if (answer == Ui::RecoveryAnswer::Restore && !restore(item, &why)) {
        setAside(item.file, QFileInfo(item.file).dir().dirName());
        problems << why;
        continue;
      }
      if (answer == Ui::RecoveryAnswer::Restore && !why.isEmpty()) problems << why;
      if (answer == Ui::RecoveryAnswer::DecideLater)
        QFile::rename(item.file, item.file.chopped(kOfferedSuffix.size()));
      else
        QFile::remove(item.file);
    }
  }
  for (Claimed &session : claimed) {
    QDir().rmdir(session.folder);  // only when nothing is left in it
    session.lock->unlock();
  }
  for (const QString &problem : problems) m_designer.ui().failure(problem);
}

// Moves a recovery file that cannot be used out of the sessions, under a
// name no other file there has.
void CrashRecovery::setAside(const QString &file, const QString &session) {
  QDir().mkpath(unreadableFolder());
  QString name = QFileInfo(file).fileName();
  if (name.endsWith(kOfferedSuffix)) name.chop(kOfferedSuffix.size());
  const QString target = unreadableFolder() + session + u'-' + name;
  if (!QFile::rename(file, target))
    qWarning("The recovery file %s could not be moved aside.", qPrintable(file));
}

// Opens the kept work as a changed panel. False, with the reason, when its
// document cannot be read (nothing opens). A panel file changed on disk
// since the work started opens too, with a warning in `why`.
bool CrashRecovery::restore(const Left &left, QString *why) {
  const RecoveryFile &file = left.content;
  PanelEditor *panel = m_designer.createPanel();
  panel->setOpening(true);
  XmlError error;
  bool read = false;
  {
    // The document carries the bindings the panel had; the map holds those
    // of the last save. Its colour texts are those the session would save.
    const HardwareMap noMap;
    PanelReadHooks hooks(*panel);
    read = readPanelText(file.document, file.windowPath, file.panelName, panel->model(), hooks,
                         noMap, &error, ColourTexts::AsWritten);
  }
  if (!read) {
    m_designer.discardPanel(panel);
    *why = QStringLiteral(
               "The unsaved work on %1 could not be restored: its recovery copy is "
               "not a readable panel (%2). It was moved to %3.")
               .arg(file.panelName, error.text(), QDir::toNativeSeparators(unreadableFolder()));
    return false;
  }
  panel->model().panelRecord.panelPath = file.panelPath;
  panel->setCaption(panel->model().caption);
  m_designer.addPanel(panel);
  panel->setOpening(false);
  panel->setNeedToSave(true);
  if (file.original) {
    // The restored panel keeps the file as its work started from it, so a
    // save over a file changed since asks first.
    panel->model().rememberFile(file.windowPath, *file.original);
  }
  if (file.original && fileChangedSince(file.windowPath, *file.original))
    *why = QStringLiteral(
               "%1 was changed on disk since the restored work on %2 began.\n\n"
               "Saving the panel will replace that change; use Save Panel As to "
               "keep both.")
               .arg(QDir::toNativeSeparators(file.windowPath), file.panelName);
  // The restored work is kept in this session from now on: the file moves
  // here whole, or is written anew.
  auto it = m_panels.find(panel);
  if (it == m_panels.end()) return true;
  QFile::remove(it->second.file);
  if (!QFile::rename(left.file, it->second.file)) write(panel, it->second);
  it->second.changedSinceWrite = false;
  return true;
}

void CrashRecovery::setProblem(const QString &problem) {
  if (problem == m_problem) return;
  m_problem = problem;
  emit stateChanged();
}

void CrashRecovery::track(PanelEditor *panel) {
  if (!panel || m_panels.count(panel)) return;
  m_panels[panel].file =
      m_sessionFolder + QStringLiteral("panel-") + QString::number(m_nextFile++) + kFileSuffix;
  connect(panel, &PanelEditor::changed, this, [this, panel](int flags) {
    if (flags & kDocumentChanges) m_panels[panel].changedSinceWrite = true;
  });
  connect(panel, &PanelEditor::needToSaveChanged, this, [this, panel](bool changed) {
    if (changed)
      m_panels[panel].changedSinceWrite = true;
    else
      removeFile(panel);  // saved, or back to its saved state
  });
  // A window that goes without being closed (the program ends) keeps its file.
  connect(panel, &QObject::destroyed, this, [this, panel] { m_panels.erase(panel); });
}

void CrashRecovery::untrack(PanelEditor *panel) {
  auto it = m_panels.find(panel);
  if (it == m_panels.end()) return;
  disconnect(panel, nullptr, this, nullptr);
  QFile::remove(it->second.file);
  m_panels.erase(it);
}

void CrashRecovery::removeFile(PanelEditor *panel) {
  auto it = m_panels.find(panel);
  if (it == m_panels.end()) return;
  QFile::remove(it->second.file);
  it->second.changedSinceWrite = false;
}

QString CrashRecovery::recoveryFileOf(PanelEditor *panel) const {
  auto it = m_panels.find(panel);
  return it == m_panels.end() ? QString() : it->second.file;
}

bool CrashRecovery::write(PanelEditor *panel, Tracked &tracked) {
  const PanelModel &model = panel->model();
  RecoveryFile file;
  file.panelName = model.canvas.tag;
  file.windowPath = model.documentPath;
  file.panelPath = model.panelRecord.panelPath;
  file.written = QDateTime::currentDateTime();
  file.original = model.fileStamp(model.documentPath);
  file.document = recoveryDocument(model);
  QString error;
  if (!writeRecoveryFile(tracked.file, file, &error)) {
    // Tried again at the next tick; the window says so meanwhile.
    setProblem(QStringLiteral("Unsaved work is not kept for recovery: %1").arg(error));
    return false;
  }
  tracked.changedSinceWrite = false;
  setProblem(QString());
  return true;
}

void CrashRecovery::recoveryTick() {
  if (!m_lock) return;
  for (auto &[panel, tracked] : m_panels)
    if (panel->needToSave() && tracked.changedSinceWrite) write(panel, tracked);
}
