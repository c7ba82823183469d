#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QFormLayout;
class QLineEdit;
class QWidget;

// The common part of the server dialogs' views: not modal, Arial, shown and
// hidden as their logic says, F1 for help, Enter for the main button,
// Escape and the window's close button for the way out.
class ServerDialogView : public QDialog {
  Q_OBJECT
 public:
  struct Keys {
    std::function<void()> enter;  // Enter or Return
    std::function<void()> leave;  // Escape or closing the window
    std::function<void()> help;   // F1
  };

  ServerDialogView(const QString &objectName, const QString &title, Keys keys, QWidget *parent);

 protected:
  // Shows the dialog in front, focus on `focus` (none: Qt's choice), or hides it.
  void follow(bool visible, QWidget *focus = nullptr);
  void keyPressEvent(QKeyEvent *event) override;
  void closeEvent(QCloseEvent *event) override;

 private:
  Keys m_keys;
};

// A labelled one-line text box in the form whose edits go to `edited`.
QLineEdit *addLine(QFormLayout *form, const QString &objectName, const QString &label,
                   std::function<void(const QString &)> edited);
