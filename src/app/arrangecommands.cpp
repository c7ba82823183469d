// The Arrange menu's commands that are more than a call on the active panel.
#include "app/mdiformdesigner.h"
#include "model/uiservice.h"
#include "surface/frmpanel.h"

void MDIFormDesigner::BringToFront() {
  if (m_active) m_active->Restack(frmPanel::Stacking::ToFront);
}
void MDIFormDesigner::SendToBack() {
  if (m_active) m_active->Restack(frmPanel::Stacking::ToBack);
}
void MDIFormDesigner::BringForward() {
  if (m_active) m_active->Restack(frmPanel::Stacking::Forward);
}
void MDIFormDesigner::SendBackward() {
  if (m_active) m_active->Restack(frmPanel::Stacking::Backward);
}
void MDIFormDesigner::AlignCentresHorizontally() {
  if (m_active) m_active->AlignCentresHorizontally();
}
void MDIFormDesigner::AlignCentresVertically() {
  if (m_active) m_active->AlignCentresVertically();
}
void MDIFormDesigner::DistributeHorizontally() { distribute(true); }
void MDIFormDesigner::DistributeVertically() { distribute(false); }

void MDIFormDesigner::distribute(bool horizontal) {
  if (!m_active || m_active->collSelectedControls.size() < 2) return;
  constexpr int kLargestGap = 10000;  // pixels
  constexpr qint32 kTwipsPerPixel = 15;
  const std::optional<QString> answer =
      m_ui.inputBox(QStringLiteral("Gap between the controls, in pixels:"),
                    horizontal ? QStringLiteral("Distribute Horizontally")
                               : QStringLiteral("Distribute Vertically"),
                    QString::number(m_distributeGap));
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
    m_active->DistributeHorizontally(gap * kTwipsPerPixel);
  else
    m_active->DistributeVertically(gap * kTwipsPerPixel);
}
