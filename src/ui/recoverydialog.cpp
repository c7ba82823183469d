// The dialog that offers back the work of a designer that did not end normally.
#include <QMessageBox>
#include <QPushButton>

#include "ui/plaintext.h"
#include "ui/qtui.h"

Ui::RecoveryAnswer QtUi::offerRecovery(const QString &text, const QStringList &panels) {
  QMessageBox box(m_parent);
  box.setObjectName(QStringLiteral("frmRecovery"));
  box.setWindowTitle(kProgramTitle);
  box.setIcon(QMessageBox::Warning);
  setPlainText(
      box, text,
      boundedText(QStringLiteral("\u2022 ") + panels.join(QStringLiteral("\n\u2022 ")), 400, 40) +
          QStringLiteral("\n\nRestore opens them as they were, marked as changed; "
                         "nothing is written to their files until you save. "
                         "Decide later asks again at the next start."));
  QPushButton *restore = box.addButton(QStringLiteral("Restore"), QMessageBox::AcceptRole);
  QPushButton *discard = box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
  QPushButton *later = box.addButton(QStringLiteral("Decide later"), QMessageBox::RejectRole);
  box.setDefaultButton(restore);
  box.setEscapeButton(later);
  box.exec();
  if (box.clickedButton() == restore) return RecoveryAnswer::Restore;
  if (box.clickedButton() == discard) return RecoveryAnswer::Discard;
  return RecoveryAnswer::DecideLater;
}
