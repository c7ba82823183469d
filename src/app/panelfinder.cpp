#include "app/panelfinder.h"

#include <QFileInfo>
#include <algorithm>
#include <utility>

#include "app/mdiformdesigner.h"
#include "app/serverpanelpath.h"
#include "hwmap/hardwaremap.h"
#include "model/settings.h"
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
    : QObject(parent), m_designer(designer) {}

const std::vector<FindHit> &PanelFinder::Find(const QString &text) {
  m_lastText = text;
  m_hits.clear();
  m_current = -1;
  const FindQuery query(text);
  const std::vector<frmPanel *> open = m_designer.collOpenPanels();
  for (frmPanel *panel : open) {
    const size_t first = m_hits.size();
    SearchPanel(panel->model(), query, m_hits);
    for (size_t i = first; i < m_hits.size(); ++i) m_hits[i].panel = panel;
  }
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

bool PanelFinder::ActivateHit(int index) {
  if (index < 0 || index >= static_cast<int>(m_hits.size())) return false;
  m_current = index;
  const bool selected = goTo(m_hits[static_cast<size_t>(index)]);
  // The views follow once the panel is in front and the control selected.
  emit currentChanged(index);
  return selected;
}

bool PanelFinder::goTo(const FindHit &hit) {
  frmPanel *panel = openPanelOf(hit);
  if (!panel && !hit.panelPath.isEmpty())
    panel = IsServerPanelPath(hit.panelPath) ? OpenServerPanel(m_designer, hit.panelPath)
                                             : m_designer.OpenLocalPanelFile(hit.panelPath);
  if (!panel) return false;
  m_designer.RaisePanel(panel);
  // A hit of the panel's own fields shows the panel's rows.
  DesignObject *control = hit.controlName.isEmpty()
                              ? static_cast<DesignObject *>(&panel->model().pictMain)
                              : controlNamed(panel->model(), hit.controlName);
  if (!control) return false;
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
  ActivateHit(next);
  return next;
}
