#include "surface/frmpanel.h"

#include <algorithm>
#include <utility>

#include "surface/panelchange.h"

namespace {
constexpr int kFlashInterval = 500;  // ms: a flashing control changes colour twice a second
constexpr int kFillPropertiesDelay =
    100;  // ms: focus changes within this time refill the grid once
}  // namespace

frmPanel::frmPanel(Ui &ui, QObject *parent) : QObject(parent), m_ui(ui) {
  objCurrentControl = &m_model.pictMain;

  timFillProperties.setSingleShot(true);
  timFillProperties.setInterval(kFillPropertiesDelay);
  connect(&timFillProperties, &QTimer::timeout, this, &frmPanel::timFillPropertiesTick);

  timFlash.setInterval(kFlashInterval);
  connect(&timFlash, &QTimer::timeout, this, &frmPanel::timFlashTick);
  timFlash.start();

  // The caption mark follows the stack back to its saved state.
  connect(&m_undoStack, &QUndoStack::cleanChanged, this,
          [this] { emit needToSaveChanged(NeedToSave()); });
}

frmPanel::~frmPanel() {
  // The stack clears itself as it goes and would report a change of the mark.
  m_undoStack.blockSignals(true);
}

frmPanel::Batch::~Batch() {
  if (--m_panel.m_batchDepth > 0) return;
  m_panel.m_pictures.clear();
  const int flags = std::exchange(m_panel.m_pendingChanges, 0);
  if (flags) m_panel.notify(flags);
}

void frmPanel::setCaption(const QString &caption) {
  m_model.Caption = caption;
  notify(Caption);
}

void frmPanel::setFocus(DesignObject *object) {
  m_focusObject = object;
  m_focusFrame = 0;
}

bool frmPanel::controlOfThisPanel(const DesignObject *object) const {
  const auto *control = dynamic_cast<const DesignControl *>(object);
  return control && control->owner() == &m_model && control->index() != 0;
}

void frmPanel::WindowResized(qint32 width, qint32 height) {
  // A window coming back to the panel's own size (restored) changes nothing.
  if (width == m_model.Width && height == m_model.Height) return;
  Batch batch(*this);
  m_model.Width = width;
  m_model.Height = height;
  m_model.pictMain.Width = std::max(0, width - kWindowFrameWidth);
  m_model.pictMain.Height = std::max(0, height - kWindowFrameHeight);
  batch.add(Geometry);
  if (m_focusObject == &m_model.pictMain)
    emit canvasSizeRowsChanged(m_model.pictMain.Width, m_model.pictMain.Height);
  if (!boolOpenResize) setNeedToSave(true);
}

void frmPanel::RequestFillProperties() { timFillProperties.start(); }

void frmPanel::timFillPropertiesTick() {
  timFillProperties.stop();
  emit fillPropertiesRequested();
}
