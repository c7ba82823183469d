// Keys of the panel window: modifier tracking, arrow nudges, Delete and help.
#include <unordered_set>

#include "model/settings.h"
#include "model/uiservice.h"
#include "surface/frmpanel.h"

namespace {
constexpr qint32 kArrowStep = 5;
}

void frmPanel::arrowKey(qint32 dLeft, qint32 dTop, qint32 dWidth, qint32 dHeight) {
  if (collSelectedControls.empty()) return;
  Batch batch(*this);
  ResizeSelected(dLeft, dTop, dWidth, dHeight, true);
  // Nudged controls are unsaved work like any other change of geometry.
  if (m_pendingChanges & Geometry) setNeedToSave(true);
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
      m_ui.openUrl(Settings().strHelpAddress);
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
  if (m_ui.message(QStringLiteral("Are you sure you want to delete selected controls?"),
                   Ui::Buttons::YesNo) != Ui::Answer::Yes)
    return;
  RemoveSelectedControls();
}

void frmPanel::RemoveSelectedControls() {
  Batch batch(*this);
  auto &records = m_model.PanelDetails.CollControls;
  std::unordered_set<const DesignObject *> removed;
  for (DesignControl *control : collSelectedControls) {
    if (!removed.insert(control).second) continue;  // listed twice: already gone
    for (auto i = records.size(); i-- > 0;) {
      if (records[i]->cntrlObject != control) continue;
      m_model.UnloadFrame(records[i]->lngPictResizeIndex);
      records[i]->cntrlObject = nullptr;
      records.erase(records.begin() + i);
      break;
    }
    m_model.UnloadControl(control);
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
  setNeedToSave(true);
}
