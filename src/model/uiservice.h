#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "model/designcontrol.h"

// Every message box, question, input box, common dialog, the clipboard and
// "open with the associated program" go through this interface. The shell
// implements it with Qt; tests use a scripted fake. Nothing in the core
// shows a dialog by itself.
class Ui {
 public:
  enum class Buttons { Ok, YesNo, YesNoCancel };
  enum class Answer { Ok, Yes, No, Cancel };
  enum class RecoveryAnswer { Restore, Discard, DecideLater };
  enum class Severity { Warning, Critical };

  struct FileDialog {
    QString title;
    QString filter;          // "Panel XML Document|*.XML|All Documents|*.*"
    QString initialFolder;   // empty: the platform's choice
    QString fileName;        // proposed name (save dialogs)
    bool mustExist = false;  // open dialogs: the file must exist
  };

  virtual ~Ui() = default;

  // A message box with the program's title unless one is given.
  virtual Answer message(const QString &text, Buttons buttons = Buttons::Ok,
                         const QString &title = QString()) = 0;
  // Something that went wrong, under the warning or critical icon: what
  // happened on the first line, what the user can do after it.
  virtual void failure(const QString &text, Severity severity = Severity::Warning) {
    (void)severity;
    message(text);
  }
  // A question with buttons of its own, each with an access key; the last is
  // the safe answer, the one Return and Escape give. The index of the button
  // chosen, or -1 when the box was closed without one. A Ui without such a
  // box answers -1.
  virtual int choose(const QString &text, const QStringList &buttons) {
    (void)text;
    (void)buttons;
    return -1;
  }
  virtual std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                          const QString &defaultText) = 0;
  // A whole number from `minimum` to `maximum`, proposing `value`, as the
  // text of the answer; nothing when cancelled. The shell asks in a spin
  // box; a Ui without one asks with inputBox, so the caller checks the text.
  virtual std::optional<QString> inputNumber(const QString &prompt, const QString &title, int value,
                                             int minimum, int maximum) {
    (void)minimum;
    (void)maximum;
    return inputBox(prompt, title, QString::number(value));
  }
  // The chosen full path, or nothing when cancelled.
  virtual std::optional<QString> openFile(const FileDialog &dialog) = 0;
  virtual std::optional<QString> saveFile(const FileDialog &dialog) = 0;
  virtual std::optional<QString> chooseFolder(const QString &title, const QString &startFolder) = 0;
  // Colours are 0x00BBGGRR values.
  virtual std::optional<qint32> chooseColor(qint32 initial) = 0;
  virtual std::optional<FontSpec> chooseFont(const FontSpec &initial) = 0;

  virtual bool clipboardHasText() = 0;
  virtual QString clipboardText() = 0;
  virtual void setClipboardText(const QString &text) = 0;
  virtual void clearClipboard() = 0;

  // Opens an address or document with the program the system associates
  // with it; false when no program took it.
  virtual bool openUrl(const QString &address) = 0;

  // Offers the unsaved work a designer that did not end normally left
  // behind (one line per panel) with "Restore", "Discard" and "Decide later".
  // A Ui without such a dialog decides later, which loses nothing.
  virtual RecoveryAnswer offerRecovery(const QString &text, const QStringList &panels) {
    (void)text;
    (void)panels;
    return RecoveryAnswer::DecideLater;
  }
};

// The program's title on every message box.
inline const QString kProgramTitle = QStringLiteral("Tessary");
