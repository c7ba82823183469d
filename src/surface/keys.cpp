// Keys of the panel window: modifier tracking, arrow nudges, Delete and help.
#include <unordered_set>

#include "model/helpmanual.h"
#include "model/settings.h"
#include "model/uiservice.h"
#include "surface/frmpanel.h"
#include "surface/panelchange.h"

namespace {
constexpr qint32 kArrowStep = 5;
}

void frmPanel::arrowKey(qint32 dLeft, qint32 dTop, qint32 dWidth, qint32 dHeight) {
  if (collSelectedControls.empty()) return;
  const bool move = dWidth == 0 && dHeight == 0;
  // Presses in a row on one selection merge into one step.
  EditStep step(*this, move ? QStringLiteral("Move") : QStringLiteral("Resize"),
                StepName::WithControls, move ? ArrowMove : ArrowResize);
  ResizeSelected(dLeft, dTop, dWidth, dHeight, true);
  showCurrentGeometry();
}

bool frmPanel::KeyDown(int keyCode, int shift) {
  // Shift alone moves; anything else stretches from the left or top edge
  // while the opposite edge stays in place.
  const bool move = shift == ShiftState::Shift;
  switch (keyCode) {
    case KeyCode::Shift:
      boolShiftDown = true;
      break;
    case KeyCode::Ctrl:
      boolCtrlDown = true;
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
      DeleteSelected();
      break;
    case KeyCode::F1:
      OpenHelp(m_ui);
      return true;
    default:
      break;
  }
  return false;
}

void frmPanel::KeyUp(int keyCode, int) {
  if (keyCode == KeyCode::Shift) boolShiftDown = false;
  if (keyCode == KeyCode::Ctrl) boolCtrlDown = false;
}

void frmPanel::DeleteSelected() {
  // Nothing to delete: no question to answer.
  if (collSelectedControls.empty()) return;
  if (m_ui.message(QStringLiteral("Are you sure you want to delete selected controls?"),
                   Ui::Buttons::YesNo) != Ui::Answer::Yes)
    return;
  RemoveSelectedControls();
}

void frmPanel::RemoveSelectedControls() {
  EditStep step(*this, QStringLiteral("Delete"), StepName::WithControls);
  Batch batch(*this);
  auto &records = m_model.PanelDetails.CollControls;
  std::unordered_set<const DesignObject *> removed;
  for (DesignControl *control : collSelectedControls) {
    if (!removed.insert(control).second) continue;  // listed twice: already gone
    // The undo step keeps the control, its record and its frame, with their
    // places, so that undo puts the same objects back where they were.
    PresenceChange gone;
    gone.control = control;
    for (auto i = records.size(); i-- > 0;) {
      if (records[i]->cntrlObject != control) continue;
      if (const ResizeFrame *frame = m_model.Frame(records[i]->lngPictResizeIndex)) {
        gone.frame = *frame;
        m_model.UnloadFrame(frame->index);
      }
      gone.record = records[i].get();
      gone.recordPosition = i;
      gone.heldRecord = std::move(records[i]);
      records.erase(records.begin() + i);
      break;
    }
    gone.heldControl = m_model.TakeControl(control, &gone.zPosition);
    if (m_recorder) m_recorder->removed(std::move(gone));
    batch.add(Structure | Selection);
  }
  collSelectedControls.clear();
  if (removed.empty()) return;
  // The current control and the focus must not point at a deleted control;
  // the panel becomes current and the grid shows it.
  if (removed.count(objCurrentControl)) {
    objCurrentControl = &m_model.pictMain;
    RequestFillProperties();
  }
  if (removed.count(m_focusObject)) setFocus(&m_model.pictMain);
}
