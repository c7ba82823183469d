#include "surface/paneleditor.h"

#include <algorithm>
#include <utility>

#include "surface/panelchange.h"

namespace {
constexpr int kFlashInterval = 500;  // ms: a flashing control changes colour twice a second
constexpr int kFillPropertiesDelay =
    100;  // ms: focus changes within this time refill the grid once
}  // namespace

PanelEditor::PanelEditor(Ui &ui, QObject *parent) : QObject(parent), m_ui(ui) {
  m_currentControl = &m_model.canvas;

  fillPropertiesTimer.setSingleShot(true);
  fillPropertiesTimer.setInterval(kFillPropertiesDelay);
  connect(&fillPropertiesTimer, &QTimer::timeout, this, &PanelEditor::fillPropertiesTick);

  flashTimer.setInterval(kFlashInterval);
  connect(&flashTimer, &QTimer::timeout, this, &PanelEditor::flashTick);
  flashTimer.start();

  // The caption mark follows the stack back to its saved state.
  connect(&m_undoStack, &QUndoStack::cleanChanged, this,
          [this] { emit needToSaveChanged(needToSave()); });
}

PanelEditor::~PanelEditor() {
  // The stack clears itself as it goes and would report a change of the mark.
  m_undoStack.blockSignals(true);
}

PanelEditor::Batch::~Batch() {
  if (--m_panel.m_batchDepth > 0) return;
  m_panel.m_pictures.clear();
  const int flags = std::exchange(m_panel.m_pendingChanges, 0);
  if (flags) m_panel.notify(flags);
}

void PanelEditor::setCaption(const QString &caption) {
  m_model.caption = caption;
  notify(Caption);
}

void PanelEditor::setFocus(DesignObject *object) {
  m_focusObject = object;
  m_focusFrame = 0;
}

bool PanelEditor::controlOfThisPanel(const DesignObject *object) const {
  const auto *control = dynamic_cast<const DesignControl *>(object);
  return control && control->owner() == &m_model && control->index() != 0;
}

void PanelEditor::windowResized(qint32 width, qint32 height) {
  // A window coming back to the panel's own size (restored) changes nothing.
  if (width == m_model.width && height == m_model.height) return;
  Batch batch(*this);
  m_model.width = width;
  m_model.height = height;
  m_model.canvas.width = std::max(0, width - kWindowFrameWidth);
  m_model.canvas.height = std::max(0, height - kWindowFrameHeight);
  batch.add(Geometry);
  if (m_focusObject == &m_model.canvas)
    emit canvasSizeRowsChanged(m_model.canvas.width, m_model.canvas.height);
  if (!m_opening) setNeedToSave(true);
}

void PanelEditor::requestFillProperties() { fillPropertiesTimer.start(); }

void PanelEditor::fillPropertiesTick() {
  fillPropertiesTimer.stop();
  emit fillPropertiesRequested();
}
