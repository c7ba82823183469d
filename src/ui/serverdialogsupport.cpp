#include "ui/serverdialogsupport.h"

#include <QCloseEvent>
#include <QFont>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "ui/plaintext.h"

ServerDialogView::ServerDialogView(const QString &objectName, const QString &title, Keys keys,
                                   QWidget *parent)
    : QDialog(parent), m_keys(std::move(keys)) {
  setObjectName(objectName);
  setWindowTitle(title);
  setModal(false);
  QFont arial(QStringLiteral("Arial"));
  arial.setPointSizeF(font().pointSizeF());
  setFont(arial);
}

void ServerDialogView::follow(bool visible, QWidget *focus) {
  if (!visible) {
    hide();
    return;
  }
  show();
  raise();
  activateWindow();
  if (focus) focus->setFocus();
}

void ServerDialogView::keyPressEvent(QKeyEvent *event) {
  switch (event->key()) {
    case Qt::Key_F1:
      m_keys.help();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      m_keys.enter();
      return;
    case Qt::Key_Escape:
      m_keys.leave();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

void ServerDialogView::closeEvent(QCloseEvent *event) {
  m_keys.leave();
  event->accept();
}

QLineEdit *addLine(QFormLayout *form, const QString &objectName, const QString &label,
                   std::function<void(const QString &)> edited) {
  auto *line = new QLineEdit;
  line->setObjectName(objectName);
  auto *caption = plainLabel(label);
  caption->setBuddy(line);
  form->addRow(caption, line);
  QObject::connect(line, &QLineEdit::textEdited, line, std::move(edited));
  return line;
}
