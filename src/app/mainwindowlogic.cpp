#include "app/mainwindowlogic.h"

#include <QDir>
#include <algorithm>

#include "app/panelchecker.h"
#include "app/panelfinder.h"
#include "grid/propertygrid.h"
#include "model/controlrecord.h"
#include "model/helpmanual.h"
#include "model/settings.h"
#include "model/uiservice.h"
#include "server/serversession.h"
#include "surface/paneleditor.h"

MainWindowLogic::MainWindowLogic(Ui &ui, QObject *parent)
    : QObject(parent),
      m_ui(ui),
      m_grid(std::make_unique<PropertyGrid>()),
      m_server(std::make_unique<ServerSession>(*this)),
      m_finder(std::make_unique<PanelFinder>(*this)),
      m_checker(std::make_unique<PanelChecker>(*this)) {
  m_caption = baseCaption;
}

MainWindowLogic::~MainWindowLogic() = default;

void MainWindowLogic::load() {
  ProgramSettings &s = programSettings();
  if (!s.startFolder.isEmpty() && !s.startFolder.endsWith(u'/')) s.startFolder += u'/';
  s.panelsFolder = s.startFolder + QStringLiteral("CVSPanels/");
  if (!QDir(s.panelsFolder).exists()) QDir().mkpath(s.panelsFolder);
  s.hardwareMapFile = s.panelsFolder + QStringLiteral("HardwareMap.xml");
  setSaveIndicator();
  setConnectedLabel();
}

std::vector<PanelEditor *> MainWindowLogic::openPanels() const { return m_shown; }

void MainWindowLogic::activatePanel(PanelEditor *panel) {
  if (panel && std::find(m_shown.begin(), m_shown.end(), panel) == m_shown.end()) return;
  m_active = panel;
  m_undoGroup.setActiveStack(panel ? &panel->undoStack() : nullptr);
  setSaveIndicator();
}

void MainWindowLogic::raisePanel(PanelEditor *panel) {
  activatePanel(panel);
  emit panelRaised(panel);
}

QString MainWindowLogic::newPanelName() const {
  for (int n = 1; n <= 32767; ++n) {
    const QString name = QStringLiteral("Panel") + QString::number(n);
    const bool taken = std::any_of(m_shown.begin(), m_shown.end(),
                                   [&](PanelEditor *p) { return p->model().canvas.tag == name; });
    if (!taken) return name;
  }
  return QString();
}

ControlRecord MainWindowLogic::controlRecord(const DesignObject *control) const {
  if (m_active)
    if (const ControlRecord *record = m_active->model().findRecord(control)) return *record;
  return ControlRecord();
}

void MainWindowLogic::setSaveIndicator() {
  const QString caption =
      m_active && m_active->needToSave() ? baseCaption + QStringLiteral(" *") : baseCaption;
  if (caption == m_caption) return;
  m_caption = caption;
  emit captionChanged(m_caption);
}

PanelEditor *MainWindowLogic::createPanel() {
  auto panel = std::make_unique<PanelEditor>(m_ui);
  PanelEditor *raw = panel.get();
  connect(raw, &PanelEditor::needToSaveChanged, this, [this] { setSaveIndicator(); });
  m_undoGroup.addStack(&raw->undoStack());
  PropertyGrid *grid = m_grid.get();
  connect(raw, &PanelEditor::fillPropertiesRequested, grid,
          [grid, raw] { grid->setProperties(*raw, raw->currentControl()); });
  connect(raw, &PanelEditor::geometryRowsChanged, grid, &PropertyGrid::showGeometryRows);
  connect(raw, &PanelEditor::canvasSizeRowsChanged, grid,
          [grid, raw](qint32 w, qint32 h) { grid->showPanelSizeRows(raw, w, h); });
  m_panels.push_back(std::move(panel));
  return raw;
}

void MainWindowLogic::addPanel(PanelEditor *panel) {
  m_shown.push_back(panel);
  emit panelAdded(panel);
  activatePanel(panel);
}

void MainWindowLogic::discardPanel(PanelEditor *panel) {
  m_shown.erase(std::remove(m_shown.begin(), m_shown.end(), panel), m_shown.end());
  if (m_active == panel) activatePanel(m_shown.empty() ? nullptr : m_shown.back());
  auto it = std::find_if(m_panels.begin(), m_panels.end(),
                         [&](const auto &p) { return p.get() == panel; });
  if (it != m_panels.end()) {
    it->release()->deleteLater();
    m_panels.erase(it);
  }
}

PanelEditor *MainWindowLogic::newPanel() {
  PanelEditor *panel = createPanel();
  panel->setOpening(true);
  panel->model().canvas.tag = newPanelName();
  panel->setCaption(panel->model().canvas.tag);
  addPanel(panel);
  panel->setOpening(false);
  return panel;
}

void MainWindowLogic::showHelp() { openHelp(m_ui); }

void MainWindowLogic::insertControl(ControlKind kind) {
  if (m_active) m_active->insertControl(kind);
}

void MainWindowLogic::alignLeft() {
  if (m_active) m_active->alignLeft();
}
void MainWindowLogic::alignRight() {
  if (m_active) m_active->alignRight();
}
void MainWindowLogic::alignTop() {
  if (m_active) m_active->alignTop();
}
void MainWindowLogic::alignBottom() {
  if (m_active) m_active->alignBottom();
}
void MainWindowLogic::spreadHorizontally() {
  if (m_active) m_active->spreadHorizontally();
}
void MainWindowLogic::spreadVertically() {
  if (m_active) m_active->spreadVertically();
}
void MainWindowLogic::undo() {
  if (m_active) m_active->undo();
}
void MainWindowLogic::redo() {
  if (m_active) m_active->redo();
}
void MainWindowLogic::selectAll() {
  if (m_active) m_active->selectAll();
}
void MainWindowLogic::makeSameWidth() {
  if (m_active) m_active->makeSameWidth();
}
void MainWindowLogic::makeSameHeight() {
  if (m_active) m_active->makeSameHeight();
}
void MainWindowLogic::makeSameSize() {
  if (m_active) m_active->makeSameSize();
}

bool MainWindowLogic::pasteEnabled() const { return m_ui.clipboardHasText(); }

void MainWindowLogic::closePanel(PanelEditor *panel) {
  if (m_grid->panel() == panel) m_grid->clear();  // nothing left to show or edit
  emit panelRemoved(panel);
  discardPanel(panel);
}

bool MainWindowLogic::queryExit() {
  for (PanelEditor *panel : openPanels())
    if (!queryClosePanel(panel)) return false;
  for (PanelEditor *panel : openPanels()) closePanel(panel);
  programSettings().cancelExit = false;
  return true;
}
