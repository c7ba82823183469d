#include "ui/serverdialogsupport.h"

#include <QFont>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

void UseDialogFont(QWidget *dialog) {
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(dialog->font().pointSizeF());
  dialog->setFont(font);
}

QLineEdit *AddLine(QFormLayout *form, const QString &objectName, const QString &label,
                   std::function<void(const QString &)> edited) {
  auto *line = new QLineEdit;
  line->setObjectName(objectName);
  auto *caption = new QLabel(label);
  caption->setBuddy(line);
  form->addRow(caption, line);
  QObject::connect(line, &QLineEdit::textEdited, line, std::move(edited));
  return line;
}
