#pragma once

#include <QString>
#include <functional>

class QFormLayout;
class QLineEdit;
class QWidget;

// Shared pieces of the server dialogs' views.

// The dialogs' font: Arial (or the system's stand-in for it).
void UseDialogFont(QWidget *dialog);

// A labelled one-line text box in the form whose edits go to `edited`.
QLineEdit *AddLine(QFormLayout *form, const QString &objectName, const QString &label,
                   std::function<void(const QString &)> edited);
