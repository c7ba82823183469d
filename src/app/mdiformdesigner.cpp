#include "app/mdiformdesigner.h"

#include <QDir>
#include <algorithm>

#include "app/panelchecker.h"
#include "app/panelfinder.h"
#include "grid/propertygrid.h"
#include "model/controldetails.h"
#include "model/helpmanual.h"
#include "model/settings.h"
#include "model/uiservice.h"
#include "server/serversession.h"
#include "surface/frmpanel.h"

MDIFormDesigner::MDIFormDesigner(Ui &ui, QObject *parent)
    : QObject(parent),
      m_ui(ui),
      m_grid(std::make_unique<PropertyGrid>()),
      m_server(std::make_unique<ServerSession>(*this)),
      m_finder(std::make_unique<PanelFinder>(*this)),
      m_checker(std::make_unique<PanelChecker>(*this)) {
  m_caption = BaseCaption;
}

MDIFormDesigner::~MDIFormDesigner() = default;

void MDIFormDesigner::Load() {
  ProgramSettings &s = Settings();
  if (!s.strStartFolder.isEmpty() && !s.strStartFolder.endsWith(u'/')) s.strStartFolder += u'/';
  s.strPanelsFolder = s.strStartFolder + QStringLiteral("CVSPanels/");
  if (!QDir(s.strPanelsFolder).exists()) QDir().mkpath(s.strPanelsFolder);
  s.strHardwareMapFile = s.strPanelsFolder + QStringLiteral("HardwareMap.xml");
  SetSaveIndicator();
  SetConnectedLabel();
}

std::vector<frmPanel *> MDIFormDesigner::collOpenPanels() const { return m_shown; }

void MDIFormDesigner::ActivatePanel(frmPanel *panel) {
  if (panel && std::find(m_shown.begin(), m_shown.end(), panel) == m_shown.end()) return;
  m_active = panel;
  m_undoGroup.setActiveStack(panel ? &panel->undoStack() : nullptr);
  SetSaveIndicator();
}

void MDIFormDesigner::RaisePanel(frmPanel *panel) {
  ActivatePanel(panel);
  emit panelRaised(panel);
}

QString MDIFormDesigner::GetNewPanelName() const {
  for (int n = 1; n <= 32767; ++n) {
    const QString name = QStringLiteral("Panel") + QString::number(n);
    const bool taken = std::any_of(m_shown.begin(), m_shown.end(),
                                   [&](frmPanel *p) { return p->model().pictMain.Tag == name; });
    if (!taken) return name;
  }
  return QString();
}

clsControlDetails MDIFormDesigner::GetControlDetails(const DesignObject *control) const {
  if (m_active)
    if (const clsControlDetails *record = m_active->model().FindRecord(control)) return *record;
  return clsControlDetails();
}

void MDIFormDesigner::SetSaveIndicator() {
  const QString caption =
      m_active && m_active->NeedToSave() ? BaseCaption + QStringLiteral(" *") : BaseCaption;
  if (caption == m_caption) return;
  m_caption = caption;
  emit captionChanged(m_caption);
}

frmPanel *MDIFormDesigner::CreatePanel() {
  auto panel = std::make_unique<frmPanel>(m_ui);
  frmPanel *raw = panel.get();
  connect(raw, &frmPanel::needToSaveChanged, this, [this] { SetSaveIndicator(); });
  m_undoGroup.addStack(&raw->undoStack());
  PropertyGrid *grid = m_grid.get();
  connect(raw, &frmPanel::fillPropertiesRequested, grid,
          [grid, raw] { grid->SetProperties(*raw, raw->objCurrentControl); });
  connect(raw, &frmPanel::geometryRowsChanged, grid, &PropertyGrid::ShowGeometryRows);
  connect(raw, &frmPanel::canvasSizeRowsChanged, grid,
          [grid, raw](qint32 w, qint32 h) { grid->ShowPanelSizeRows(raw, w, h); });
  m_panels.push_back(std::move(panel));
  return raw;
}

void MDIFormDesigner::AddPanel(frmPanel *panel) {
  m_shown.push_back(panel);
  emit panelAdded(panel);
  ActivatePanel(panel);
}

void MDIFormDesigner::DiscardPanel(frmPanel *panel) {
  m_shown.erase(std::remove(m_shown.begin(), m_shown.end(), panel), m_shown.end());
  if (m_active == panel) ActivatePanel(m_shown.empty() ? nullptr : m_shown.back());
  auto it = std::find_if(m_panels.begin(), m_panels.end(),
                         [&](const auto &p) { return p.get() == panel; });
  if (it != m_panels.end()) {
    it->release()->deleteLater();
    m_panels.erase(it);
  }
}

frmPanel *MDIFormDesigner::mnuNewPanel_Click() {
  frmPanel *panel = CreatePanel();
  panel->boolOpenResize = true;
  panel->model().pictMain.Tag = GetNewPanelName();
  panel->setCaption(panel->model().pictMain.Tag);
  AddPanel(panel);
  panel->boolOpenResize = false;
  return panel;
}

void MDIFormDesigner::mnuHelp_Click() { OpenHelp(m_ui); }

void MDIFormDesigner::InsertControl(ControlKind kind) {
  if (m_active) m_active->InsertControl(kind);
}

void MDIFormDesigner::mnuAlignLeft_Click() {
  if (m_active) m_active->AlignLeft();
}
void MDIFormDesigner::mnuAlignRight_Click() {
  if (m_active) m_active->AlignRight();
}
void MDIFormDesigner::mnuAlignTop_Click() {
  if (m_active) m_active->AlignTop();
}
void MDIFormDesigner::mnuAlignBottom_Click() {
  if (m_active) m_active->AlignBottom();
}
void MDIFormDesigner::mnuSpreadHorizontal_Click() {
  if (m_active) m_active->SpreadHorizontally();
}
void MDIFormDesigner::mnuSpreadVertical_Click() {
  if (m_active) m_active->SpreadVertically();
}
void MDIFormDesigner::mnuUndo_Click() {
  if (m_active) m_active->Undo();
}
void MDIFormDesigner::mnuRedo_Click() {
  if (m_active) m_active->Redo();
}
void MDIFormDesigner::mnuSelectAll_Click() {
  if (m_active) m_active->SelectAll();
}
void MDIFormDesigner::mnuMakeSameWidth_Click() {
  if (m_active) m_active->MakeSameWidth();
}
void MDIFormDesigner::mnuMakeSameHeight_Click() {
  if (m_active) m_active->MakeSameHeight();
}
void MDIFormDesigner::mnuMakeSameSize_Click() {
  if (m_active) m_active->MakeSameSize();
}

bool MDIFormDesigner::PasteEnabled() const { return m_ui.clipboardHasText(); }

void MDIFormDesigner::ClosePanel(frmPanel *panel) {
  if (m_grid->panel() == panel) m_grid->Clear();  // nothing left to show or edit
  emit panelRemoved(panel);
  DiscardPanel(panel);
}

bool MDIFormDesigner::QueryExit() {
  for (frmPanel *panel : collOpenPanels())
    if (!QueryClosePanel(panel)) return false;
  for (frmPanel *panel : collOpenPanels()) ClosePanel(panel);
  Settings().boolCancelExit = false;
  return true;
}
