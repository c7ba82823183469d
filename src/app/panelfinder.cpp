#include "app/panelfinder.h"

#include <QFileInfo>
#include <algorithm>
#include <optional>
#include <utility>

#include "app/mainwindowlogic.h"
#include "app/serverpanelpath.h"
#include "hwmap/hardwaremap.h"
#include "model/settings.h"
#include "model/uiservice.h"
#include "panelfile/localstore.h"
#include "surface/paneleditor.h"

namespace {

DesignControl *controlNamed(const PanelModel &panel, const QString &name) {
  DesignControl *anyCase = nullptr;
  for (const auto &record : panel.panelRecord.records) {
    DesignControl *control = record ? record->control : nullptr;
    if (!control) continue;
    if (control->tag == name) return control;
    if (!anyCase && control->tag.compare(name, Qt::CaseInsensitive) == 0) anyCase = control;
  }
  return anyCase;
}

}  // namespace

PanelEditor *openPanelOfFile(const QString &path, const std::vector<PanelEditor *> &open) {
  if (path.isEmpty()) return nullptr;
  const QString file = QFileInfo(path).absoluteFilePath();
  const auto found = std::find_if(open.begin(), open.end(), [&](PanelEditor *p) {
    const QString &tag = p->model().documentPath;
    return !tag.isEmpty() && (tag == path || QFileInfo(tag).absoluteFilePath() == file);
  });
  return found == open.end() ? nullptr : *found;
}

bool goToControl(MainWindowLogic &designer, PanelEditor *panel, const QString &panelPath,
                 const QString &controlName, bool mayOpen) {
  const std::vector<PanelEditor *> open = designer.openPanels();
  if (!panel || std::find(open.begin(), open.end(), panel) == open.end())
    panel = openPanelOfFile(panelPath, open);
  if (!panel && !panelPath.isEmpty() && mayOpen)
    panel = isServerPanelPath(panelPath) ? openServerPanel(designer, panelPath)
                                         : designer.openLocalPanelFileToLook(panelPath);
  if (!panel) return false;
  designer.raisePanel(panel);
  DesignObject *control = controlName.isEmpty()
                              ? static_cast<DesignObject *>(&panel->model().canvas)
                              : controlNamed(panel->model(), controlName);
  if (!control) return false;
  // The control alone becomes the selection, whatever keys the panel last saw.
  const bool shift = panel->shiftDown();
  const bool ctrl = panel->ctrlDown();
  panel->setShiftDown(false);
  panel->setCtrlDown(false);
  panel->clearAllSelected();
  panel->controlGotFocus(control);
  panel->setShiftDown(shift);
  panel->setCtrlDown(ctrl);
  return true;
}

PanelFinder::PanelFinder(MainWindowLogic &designer, QObject *parent)
    : QObject(parent), m_designer(designer) {
  m_refresh.setSingleShot(true);
  m_refresh.setInterval(300);
  connect(&m_refresh, &QTimer::timeout, this, &PanelFinder::refreshOpenPanels);
  connect(&designer, &MainWindowLogic::panelAdded, this, [this](PanelEditor *panel) {
    connect(panel, &PanelEditor::changed, this, [this](int flags) {
      if (!m_hits.empty() && (flags & (PanelEditor::Properties | PanelEditor::Structure)))
        m_refresh.start();
    });
  });
  connect(&designer, &MainWindowLogic::panelRemoved, this, [this] {
    if (!m_hits.empty()) m_refresh.start();
  });
}

void PanelFinder::searchOpenPanels(const FindQuery &query, const std::vector<PanelEditor *> &open) {
  for (PanelEditor *panel : open) {
    const size_t first = m_hits.size();
    searchPanel(panel->model(), query, m_hits);
    for (size_t i = first; i < m_hits.size(); ++i) m_hits[i].panel = panel;
  }
}

void PanelFinder::refreshOpenPanels() {
  m_refresh.stop();
  const FindQuery query(m_lastText);
  if (query.isEmpty()) return;
  const std::vector<PanelEditor *> open = m_designer.openPanels();
  const std::optional<FindHit> current = m_current >= 0 && m_current < int(m_hits.size())
                                             ? std::optional<FindHit>(m_hits[size_t(m_current)])
                                             : std::nullopt;
  // The hits of files still closed stay; those of open windows are found anew.
  std::vector<FindHit> closed;
  for (FindHit &hit : m_hits) {
    const bool inOpenWindow =
        hit.panel && std::find(open.begin(), open.end(), hit.panel) != open.end();
    if (!inOpenWindow && !hit.panelPath.isEmpty() && !openPanelOfFile(hit.panelPath, open))
      closed.push_back(std::move(hit));
  }
  m_hits.clear();
  searchOpenPanels(query, open);
  for (FindHit &hit : closed) m_hits.push_back(std::move(hit));
  const auto still = current ? std::find(m_hits.begin(), m_hits.end(), *current) : m_hits.end();
  m_current = still == m_hits.end() ? -1 : int(still - m_hits.begin());
  emit hitsChanged();
}

const std::vector<FindHit> &PanelFinder::Find(const QString &text) {
  m_lastText = text;
  m_hits.clear();
  m_current = -1;
  const FindQuery query(text);
  const std::vector<PanelEditor *> open = m_designer.openPanels();
  searchOpenPanels(query, open);
  if (m_includeClosedFiles && !query.isEmpty()) {
    QStringList closed;
    for (const QString &path : panelFilesOf(programSettings().panelsFolder))
      if (!openPanelOfFile(path, open)) closed << path;
    const HardwareMap map = HardwareMap::fromFile(programSettings().hardwareMapFile);
    searchPanelFiles(closed, query, map, m_hits);
  }
  emit hitsChanged();
  return m_hits;
}

bool PanelFinder::activateHit(int index, Opening opening) {
  if (index < 0 || index >= static_cast<int>(m_hits.size())) return false;
  m_current = index;
  const FindHit hit = m_hits[static_cast<size_t>(index)];
  const bool selected = goToControl(m_designer, hit.panel, hit.panelPath, hit.controlName,
                                    opening == Opening::ClosedFiles);
  const PanelEditor *shown = m_designer.activePanel();
  if (!selected && shown &&
      (shown == hit.panel ||
       (!hit.panelPath.isEmpty() && shown->model().documentPath == hit.panelPath)))
    m_designer.ui().failure(
        QStringLiteral("%1 is no longer on the panel %2.\r\n\r\nSearch again to see what the "
                       "panel holds now.")
            .arg(hit.controlName, shown->model().canvas.tag));
  // The views follow once the panel is in front and the control selected.
  emit currentChanged(index);
  return selected;
}

int PanelFinder::findNext() {
  if (m_hits.empty()) {
    if (FindQuery(m_lastText).isEmpty() || Find(m_lastText).empty()) return -1;
  }
  const int next = (m_current + 1) % static_cast<int>(m_hits.size());
  activateHit(next, Opening::OpenPanelsOnly);
  return next;
}
