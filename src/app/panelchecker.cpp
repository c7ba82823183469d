#include "app/panelchecker.h"

#include "app/mainwindowlogic.h"
#include "app/panelfinder.h"
#include "app/panelsearch.h"
#include "model/settings.h"
#include "surface/paneleditor.h"

PanelChecker::PanelChecker(MainWindowLogic &designer, QObject *parent)
    : QObject(parent), m_designer(designer) {
  // The findings of open panels follow their edits, undo included, a moment
  // after the last one; a check of the folder reads every file and is only
  // made when asked for.
  m_refresh.setSingleShot(true);
  m_refresh.setInterval(300);
  connect(&m_refresh, &QTimer::timeout, this, [this] { Check(); });
  const auto refreshSoon = [this] {
    if (m_scope == Scope::OpenPanels && m_panelsChecked >= 0) m_refresh.start();
  };
  connect(&designer, &MainWindowLogic::panelAdded, this, [this, refreshSoon](PanelEditor *panel) {
    connect(panel, &PanelEditor::changed, this, [refreshSoon](int flags) {
      if (flags & (PanelEditor::Geometry | PanelEditor::Properties | PanelEditor::Structure |
                   PanelEditor::Order))
        refreshSoon();
    });
  });
  connect(&designer, &MainWindowLogic::panelRemoved, this, refreshSoon);
}

const std::vector<CheckFinding> &PanelChecker::Check() {
  m_refresh.stop();
  const std::vector<PanelEditor *> open = m_designer.openPanels();
  std::vector<CheckedPanel> inMemory;
  m_checkedWindows.clear();
  for (PanelEditor *panel : open) {
    // A panel never saved is named by its name.
    const QString &tag = panel->model().documentPath;
    const QString file = tag.isEmpty() ? panel->model().canvas.tag : tag;
    inMemory.push_back({&panel->model(), file});
    m_checkedWindows.emplace_back(file, panel);
  }
  QStringList closed;
  QString mapFile;
  if (m_scope == Scope::PanelsFolder) {
    for (const QString &path : panelFilesOf(programSettings().panelsFolder))
      if (!openPanelOfFile(path, open)) closed << path;
    // Without every panel, map entries of the others would look orphaned.
    mapFile = programSettings().hardwareMapFile;
  }
  m_findings = checkPanels(inMemory, closed, mapFile);
  m_panelsChecked = static_cast<int>(inMemory.size() + size_t(closed.size()));
  emit findingsChanged();
  return m_findings;
}

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
