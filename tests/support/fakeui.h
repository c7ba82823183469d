#pragma once

#include <QStringList>
#include <deque>
#include <optional>

#include "model/uiservice.h"

// A scripted Ui: records every message and dialog and answers from queues.
// An empty queue answers like a user who cancels (or Ok for plain messages).
class FakeUi : public Ui {
 public:
  struct Message {
    QString text;
    Buttons buttons;
    QString title;
    std::optional<Severity> severity = std::nullopt;  // set for failures
  };

  std::vector<Message> messages;
  std::deque<Answer> answers;
  std::deque<std::optional<QString>> fileAnswers;  // open and save dialogs
  std::deque<std::optional<QString>> inputAnswers;
  std::deque<std::optional<QString>> folderAnswers;
  std::deque<std::optional<qint32>> colorAnswers;
  std::deque<std::optional<FontSpec>> fontAnswers;
  std::vector<FileDialog> fileDialogs;
  struct Input {
    QString prompt, title, defaultText;
  };
  std::vector<Input> inputs;  // every input box asked
  QStringList openedUrls;
  bool urlsOpen = true;  // false: no program opens what openUrl is given
  std::optional<QString> clipboard;
  struct RecoveryOffer {
    QString text;
    QStringList panels;
  };
  std::vector<RecoveryOffer> recoveryOffers;
  std::deque<RecoveryAnswer> recoveryAnswers;  // empty: "Decide later"
  struct Choice {
    QString text;
    QStringList buttons;
  };
  std::vector<Choice> choices;    // every choose() asked
  std::deque<int> choiceAnswers;  // empty: closed (-1)

  Answer message(const QString &text, Buttons buttons, const QString &title) override;
  void failure(const QString &text, Severity severity) override {
    messages.push_back({text, Buttons::Ok, QString(), severity});
  }
  // The first line of each message: what went wrong, without the advice.
  QStringList firstLines() const;
  int choose(const QString &text, const QStringList &buttons) override;
  std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                  const QString &defaultText) override;
  std::optional<QString> openFile(const FileDialog &dialog) override;
  std::optional<QString> saveFile(const FileDialog &dialog) override;
  std::optional<QString> chooseFolder(const QString &title, const QString &startFolder) override;
  std::optional<qint32> chooseColor(qint32 initial) override;
  std::optional<FontSpec> chooseFont(const FontSpec &initial) override;
  bool clipboardHasText() override { return clipboard.has_value() && !clipboard->isEmpty(); }
  QString clipboardText() override { return clipboard.value_or(QString()); }
  void setClipboardText(const QString &text) override { clipboard = text; }
  void clearClipboard() override { clipboard.reset(); }
  bool openUrl(const QString &address) override {
    openedUrls << address;
    return urlsOpen;
  }
  RecoveryAnswer offerRecovery(const QString &text, const QStringList &panels) override;

  // The texts of all messages shown so far.
  QStringList messageTexts() const;
};
