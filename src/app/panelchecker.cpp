#include "app/panelchecker.h"

#include <atomic>

#include "app/mainwindowlogic.h"
#include "app/panelfinder.h"
#include "app/panelsearch.h"
#include "hwmap/hardwaremap.h"
#include "model/settings.h"
#include "surface/paneleditor.h"

// One check: what was taken from the open windows when it started, the
// files to read, and the findings. run() reads and checks; for the folder
// it runs on a worker thread, which touches only `open`, `findings` and the
// two atomics until it has finished.
struct PanelChecker::Job {
  std::vector<PanelCheck::PanelSummary> open;
  std::vector<std::pair<QString, PanelEditor *>> windows;
  QStringList paths;
  QString mapFile;  // empty: no map entry is checked
  std::vector<CheckFinding> findings;
  std::atomic<int> read{0};
  std::atomic<bool> cancelled{false};

  void run() {
    const HardwareMap map = mapFile.isEmpty() ? HardwareMap() : HardwareMap::fromFile(mapFile);
    ReadPanelFiles files = readPanelFilesToCheck(paths, map, &read, &cancelled);
    if (cancelled) return;  // replaced by another check
    findings = checkSummaries(std::move(open), std::move(files), mapFile.isEmpty() ? nullptr : &map,
                              mapFile);
  }
};

PanelChecker::PanelChecker(MainWindowLogic &designer, QObject *parent)
    : QObject(parent), m_designer(designer) {
  // The findings of open panels follow their opening, closing and edits,
  // undo included, a moment after the last one; a check of the folder reads
  // every file and is made when asked for, or for a new scope.
  m_refresh.setSingleShot(true);
  m_refresh.setInterval(300);
  connect(&m_refresh, &QTimer::timeout, this, &PanelChecker::start);
  m_progress.setInterval(100);
  connect(&m_progress, &QTimer::timeout, this, &PanelChecker::progressChanged);
  connect(&designer, &MainWindowLogic::panelAdded, this, [this](PanelEditor *panel) {
    connect(panel, &PanelEditor::changed, this, [this](int flags) {
      if (flags & (PanelEditor::Geometry | PanelEditor::Properties | PanelEditor::Structure |
                   PanelEditor::Order))
        refreshSoon();
    });
    refreshSoon();
  });
  connect(&designer, &MainWindowLogic::panelRemoved, this, &PanelChecker::refreshSoon);
}

PanelChecker::~PanelChecker() { stopJob(); }

void PanelChecker::refreshSoon() {
  if (m_scope != Scope::OpenPanels) return;
  if (m_watching)
    m_refresh.start();
  else if (m_panelsChecked >= 0)
    m_stale = true;  // checked once the findings are shown again
}

void PanelChecker::setScope(Scope scope) {
  if (scope == m_scope) return;
  stopJob();
  m_refresh.stop();
  m_scope = scope;
  m_findings.clear();
  m_checkedWindows.clear();
  m_panelsChecked = -1;
  m_stale = false;
  emit progressChanged();
  emit findingsChanged();
  if (m_watching) start();
}

void PanelChecker::setWatching(bool watching) {
  m_watching = watching;
  if (watching && !isChecking() && (m_panelsChecked < 0 || m_stale)) start();
}

void PanelChecker::start() {
  stopJob();
  m_refresh.stop();
  m_stale = false;
  auto job = std::make_shared<Job>();
  const std::vector<PanelEditor *> open = m_designer.openPanels();
  for (PanelEditor *panel : open) {
    // A panel never saved is named by its name.
    const QString &path = panel->model().documentPath;
    const QString file = path.isEmpty() ? panel->model().canvas.tag : path;
    job->open.push_back(PanelCheck::summarise(panel->model(), file));
    job->windows.emplace_back(file, panel);
  }
  m_job = job;
  if (m_scope == Scope::OpenPanels) {
    job->run();
    finishJob();
    return;
  }
  for (const QString &path : panelFilesOf(programSettings().panelsFolder))
    if (!openPanelOfFile(path, open)) job->paths << path;
  // Without every panel, map entries of the others would look orphaned.
  job->mapFile = programSettings().hardwareMapFile;
  m_thread = std::thread([this, job] {
    job->run();
    // Back on the checker's thread; a job replaced meanwhile is dropped.
    QMetaObject::invokeMethod(
        this,
        [this, job] {
          if (job == m_job) finishJob();
        },
        Qt::QueuedConnection);
  });
  m_progress.start();
  emit progressChanged();
}

void PanelChecker::stopJob() {
  if (m_job) m_job->cancelled = true;
  if (m_thread.joinable()) m_thread.join();
  m_job.reset();
  m_progress.stop();
}

void PanelChecker::finishJob() {
  const std::shared_ptr<Job> job = std::move(m_job);
  if (m_thread.joinable()) m_thread.join();
  m_progress.stop();
  m_panelsChecked = static_cast<int>(job->windows.size() + size_t(job->paths.size()));
  m_findings = std::move(job->findings);
  m_checkedWindows = std::move(job->windows);
  emit progressChanged();
  emit findingsChanged();
}

const std::vector<CheckFinding> &PanelChecker::check() {
  start();
  if (m_job) finishJob();  // waits for the files
  return m_findings;
}

int PanelChecker::filesRead() const { return m_job ? m_job->read.load() : 0; }

int PanelChecker::filesToRead() const { return m_job ? int(m_job->paths.size()) : 0; }

QString PanelChecker::goTo(int index) {
  if (index < 0 || index >= static_cast<int>(m_findings.size())) return QString();
  const CheckFinding &f = m_findings[size_t(index)];
  if (f.code == QLatin1String("unreadable"))
    return tr("%1 cannot be read; correct the file first.").arg(f.file);
  if (f.code == QLatin1String("orphan-map-entry"))
    return tr("The map entry %1 has no control to go to.").arg(f.control);
  PanelEditor *window = nullptr;
  for (const auto &[file, panel] : m_checkedWindows)
    if (file == f.file) window = panel;
  const std::vector<PanelEditor *> open = m_designer.openPanels();
  const bool stillOpen = window && std::find(open.begin(), open.end(), window) != open.end();
  if (!stillOpen && window && window->model().documentPath.isEmpty())
    return tr("The panel %1 is no longer open.").arg(f.file);
  const QString path = stillOpen ? window->model().documentPath : f.file;
  if (goToControl(m_designer, stillOpen ? window : nullptr, path, f.control) || f.control.isEmpty())
    return QString();
  return tr("%1 is no longer on the panel.").arg(f.control);
}
