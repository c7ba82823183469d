#include "app/panelfinder.h"

#include <QFileInfo>
#include <algorithm>
#include <optional>
#include <utility>

#include "app/mdiformdesigner.h"
#include "app/serverpanelpath.h"
#include "hwmap/hardwaremap.h"
#include "model/settings.h"
#include "model/uiservice.h"
#include "panelfile/localstore.h"
#include "surface/frmpanel.h"

namespace {

// Whether a file is the file of an open window. A window of the same panel
// name holding another file (a new "Panel1" beside CVSPanels/Panel1.xml)
// does not hide it.
bool fileIsOpen(const QString &path, const std::vector<frmPanel *> &open) {
  const QString file = QFileInfo(path).absoluteFilePath();
  return std::any_of(open.begin(), open.end(), [&](frmPanel *p) {
    const QString &tag = p->model().WindowTag;
    return !tag.isEmpty() && (tag == path || QFileInfo(tag).absoluteFilePath() == file);
  });
}

DesignControl *controlNamed(const PanelModel &panel, const QString &name) {
  DesignControl *anyCase = nullptr;
  for (const auto &record : panel.PanelDetails.CollControls) {
    DesignControl *control = record ? record->cntrlObject : nullptr;
    if (!control) continue;
    if (control->Tag == name) return control;
    if (!anyCase && control->Tag.compare(name, Qt::CaseInsensitive) == 0) anyCase = control;
  }
  return anyCase;
}

}  // namespace

PanelFinder::PanelFinder(MDIFormDesigner &designer, QObject *parent)
    : QObject(parent), m_designer(designer) {
  m_refresh.setSingleShot(true);
  m_refresh.setInterval(300);
  connect(&m_refresh, &QTimer::timeout, this, &PanelFinder::refreshOpenPanels);
  connect(&designer, &MDIFormDesigner::panelAdded, this, [this](frmPanel *panel) {
    connect(panel, &frmPanel::changed, this, [this](int flags) {
      if (!m_hits.empty() && (flags & (frmPanel::Properties | frmPanel::Structure)))
        m_refresh.start();
    });
  });
  connect(&designer, &MDIFormDesigner::panelRemoved, this, [this] {
    if (!m_hits.empty()) m_refresh.start();
  });
}

void PanelFinder::searchOpenPanels(const FindQuery &query, const std::vector<frmPanel *> &open) {
  for (frmPanel *panel : open) {
    const size_t first = m_hits.size();
    SearchPanel(panel->model(), query, m_hits);
    for (size_t i = first; i < m_hits.size(); ++i) m_hits[i].panel = panel;
  }
}

void PanelFinder::refreshOpenPanels() {
  m_refresh.stop();
  const FindQuery query(m_lastText);
  if (query.isEmpty()) return;
  const std::vector<frmPanel *> open = m_designer.collOpenPanels();
  const std::optional<FindHit> current = m_current >= 0 && m_current < int(m_hits.size())
                                             ? std::optional<FindHit>(m_hits[size_t(m_current)])
                                             : std::nullopt;
  std::vector<FindHit> closed;
  for (FindHit &hit : m_hits)
    if (!openPanelOf(hit) && !(hit.panelPath.isEmpty() || fileIsOpen(hit.panelPath, open)))
      closed.push_back(std::move(hit));
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
  const std::vector<frmPanel *> open = m_designer.collOpenPanels();
  searchOpenPanels(query, open);
  if (m_includeClosedFiles && !query.isEmpty()) {
    QStringList closed;
    for (const QString &path : PanelFilesOf(Settings().strPanelsFolder))
      if (!fileIsOpen(path, open)) closed << path;
    const HardwareMap map = HardwareMap::FromFile(Settings().strHardwareMapFile);
    SearchPanelFiles(closed, query, map, m_hits);
  }
  emit hitsChanged();
  return m_hits;
}

frmPanel *PanelFinder::openPanelOf(const FindHit &hit) const {
  const std::vector<frmPanel *> open = m_designer.collOpenPanels();
  if (hit.panel && std::find(open.begin(), open.end(), hit.panel) != open.end()) return hit.panel;
  if (hit.panelPath.isEmpty()) return nullptr;
  for (frmPanel *panel : open)
    if (fileIsOpen(hit.panelPath, {panel})) return panel;
  return nullptr;
}

bool PanelFinder::ActivateHit(int index, Opening opening) {
  if (index < 0 || index >= static_cast<int>(m_hits.size())) return false;
  m_current = index;
  const bool selected = goTo(m_hits[static_cast<size_t>(index)], opening);
  // The views follow once the panel is in front and the control selected.
  emit currentChanged(index);
  return selected;
}

bool PanelFinder::goTo(const FindHit &hit, Opening opening) {
  frmPanel *panel = openPanelOf(hit);
  if (!panel && !hit.panelPath.isEmpty() && opening == Opening::ClosedFiles)
    panel = IsServerPanelPath(hit.panelPath) ? OpenServerPanel(m_designer, hit.panelPath)
                                             : m_designer.OpenLocalPanelFileToLook(hit.panelPath);
  if (!panel) return false;
  m_designer.RaisePanel(panel);
  // A hit of the panel's own fields shows the panel's rows.
  DesignObject *control = hit.controlName.isEmpty()
                              ? static_cast<DesignObject *>(&panel->model().pictMain)
                              : controlNamed(panel->model(), hit.controlName);
  if (!control) {
    m_designer.ui().failure(
        QStringLiteral("%1 is no longer on the panel %2.\r\n\r\nSearch again to see what the "
                       "panel holds now.")
            .arg(hit.controlName, panel->model().pictMain.Tag));
    return false;
  }
  // The control alone becomes the selection, whatever keys the panel last saw.
  const bool shift = std::exchange(panel->boolShiftDown, false);
  const bool ctrl = std::exchange(panel->boolCtrlDown, false);
  panel->ClearAllSelected();
  panel->ControlGotFocus(control);
  panel->boolShiftDown = shift;
  panel->boolCtrlDown = ctrl;
  return true;
}

int PanelFinder::FindNext() {
  if (m_hits.empty()) {
    if (FindQuery(m_lastText).isEmpty() || Find(m_lastText).empty()) return -1;
  }
  const int next = (m_current + 1) % static_cast<int>(m_hits.size());
  ActivateHit(next, Opening::OpenPanelsOnly);
  return next;
}
