// Keys of the panel window: modifier tracking, arrow nudges, Delete and help.
#include <unordered_set>

#include "model/helpmanual.h"
#include "model/settings.h"
#include "model/uiservice.h"
#include "surface/panelchange.h"
#include "surface/paneleditor.h"

namespace {
constexpr qint32 kArrowStep = 5;
}

void PanelEditor::arrowKey(qint32 dLeft, qint32 dTop, qint32 dWidth, qint32 dHeight) {
  if (m_selectedControls.empty()) return;
  const bool move = dWidth == 0 && dHeight == 0;
  // Presses in a row on one selection merge into one step.
  EditStep step(*this, move ? QStringLiteral("Move") : QStringLiteral("Resize"),
                StepName::WithControls, move ? ArrowMove : ArrowResize);
  resizeSelected(dLeft, dTop, dWidth, dHeight, true);
  showCurrentGeometry();
}

bool PanelEditor::keyDown(int keyCode, int shift) {
  // Shift alone moves; anything else stretches from the left or top edge
  // while the opposite edge stays in place.
  const bool move = shift == ShiftState::Shift;
  switch (keyCode) {
    case KeyCode::Shift:
      m_shiftDown = true;
      break;
    case KeyCode::Ctrl:
      m_ctrlDown = true;
      break;
    case KeyCode::Left:
      move ? arrowKey(-kArrowStep, 0, 0, 0) : arrowKey(-kArrowStep, 0, kArrowStep, 0);
      break;
    case KeyCode::Up:
      move ? arrowKey(0, -kArrowStep, 0, 0) : arrowKey(0, -kArrowStep, 0, kArrowStep);
      break;
    case KeyCode::Right:
      move ? arrowKey(kArrowStep, 0, 0, 0) : arrowKey(kArrowStep, 0, -kArrowStep, 0);
      break;
    case KeyCode::Down:
      move ? arrowKey(0, kArrowStep, 0, 0) : arrowKey(0, kArrowStep, 0, -kArrowStep);
      break;
    case KeyCode::Delete:
      deleteSelected();
      break;
    case KeyCode::F1:
      openHelp(m_ui);
      return true;
    default:
      break;
  }
  return false;
}

void PanelEditor::keyUp(int keyCode, int) {
  if (keyCode == KeyCode::Shift) m_shiftDown = false;
  if (keyCode == KeyCode::Ctrl) m_ctrlDown = false;
}

void PanelEditor::deleteSelected() {
  // Nothing to delete: no question to answer.
  if (m_selectedControls.empty()) return;
  if (m_ui.message(QStringLiteral("Are you sure you want to delete selected controls?"),
                   Ui::Buttons::YesNo) != Ui::Answer::Yes)
    return;
  removeSelectedControls();
}

void PanelEditor::removeSelectedControls() {
  EditStep step(*this, QStringLiteral("Delete"), StepName::WithControls);
  Batch batch(*this);
  auto &records = m_model.panelRecord.records;
  std::unordered_set<const DesignObject *> removed;
  for (DesignControl *control : m_selectedControls) {
    if (!removed.insert(control).second) continue;  // listed twice: already gone
    // The undo step keeps the control, its record and its frame, with their
    // places, so that undo puts the same objects back where they were.
    PresenceChange gone;
    gone.control = control;
    for (auto i = records.size(); i-- > 0;) {
      if (records[i]->control != control) continue;
      if (const ResizeFrame *frame = m_model.frame(records[i]->frameIndex)) {
        gone.frame = *frame;
        m_model.unloadFrame(frame->index);
      }
      gone.record = records[i].get();
      gone.recordPosition = i;
      gone.heldRecord = std::move(records[i]);
      records.erase(records.begin() + i);
      break;
    }
    gone.heldControl = m_model.takeControl(control, &gone.zPosition);
    if (m_recorder) m_recorder->removed(std::move(gone));
    batch.add(Structure | Selection);
  }
  m_selectedControls.clear();
  if (removed.empty()) return;
  // The current control and the focus must not point at a deleted control;
  // the panel becomes current and the grid shows it.
  if (removed.count(m_currentControl)) {
    m_currentControl = &m_model.canvas;
    requestFillProperties();
  }
  if (removed.count(m_focusObject)) setFocus(&m_model.canvas);
}
