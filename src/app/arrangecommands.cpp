// The Arrange menu's commands that are more than a call on the active panel.
#include "app/mainwindowlogic.h"
#include "model/uiservice.h"
#include "surface/paneleditor.h"

void MainWindowLogic::bringToFront() {
  if (m_active) m_active->restack(PanelEditor::Stacking::ToFront);
}
void MainWindowLogic::sendToBack() {
  if (m_active) m_active->restack(PanelEditor::Stacking::ToBack);
}
void MainWindowLogic::bringForward() {
  if (m_active) m_active->restack(PanelEditor::Stacking::Forward);
}
void MainWindowLogic::sendBackward() {
  if (m_active) m_active->restack(PanelEditor::Stacking::Backward);
}
void MainWindowLogic::alignCentresHorizontally() {
  if (m_active) m_active->alignCentresHorizontally();
}
void MainWindowLogic::alignCentresVertically() {
  if (m_active) m_active->alignCentresVertically();
}
void MainWindowLogic::distributeHorizontally() { distribute(true); }
void MainWindowLogic::distributeVertically() { distribute(false); }

void MainWindowLogic::distribute(bool horizontal) {
  if (!m_active || m_active->selectedControls().size() < 2) return;
  constexpr int kLargestGap = 10000;  // pixels
  constexpr qint32 kTwipsPerPixel = 15;
  const std::optional<QString> answer =
      m_ui.inputNumber(QStringLiteral("Gap between the controls, in pixels:"),
                       horizontal ? QStringLiteral("Distribute Horizontally")
                                  : QStringLiteral("Distribute Vertically"),
                       m_distributeGap, 0, kLargestGap);
  if (!answer) return;
  bool ok = false;
  const int gap = answer->trimmed().toInt(&ok);
  if (!ok || gap < 0 || gap > kLargestGap) {
    m_ui.failure(QStringLiteral("The gap \"%1\" is not a whole number of pixels from 0 to %2.\n"
                                "Nothing was moved.")
                     .arg(answer->left(40))
                     .arg(kLargestGap));
    return;
  }
  m_distributeGap = gap;
  if (horizontal)
    m_active->distributeHorizontally(gap * kTwipsPerPixel);
  else
    m_active->distributeVertically(gap * kTwipsPerPixel);
}
