#include "support/fakeui.h"

namespace {
template <class T>
std::optional<T> next(std::deque<std::optional<T>> &queue) {
  if (queue.empty()) return std::nullopt;
  auto v = queue.front();
  queue.pop_front();
  return v;
}
}  // namespace

Ui::Answer FakeUi::message(const QString &text, Buttons buttons, const QString &title) {
  messages.push_back({text, buttons, title});
  if (answers.empty()) return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
  const Answer a = answers.front();
  answers.pop_front();
  return a;
}

int FakeUi::choose(const QString &text, const QStringList &buttons) {
  choices.push_back({text, buttons});
  if (choiceAnswers.empty()) return -1;
  const int a = choiceAnswers.front();
  choiceAnswers.pop_front();
  return a;
}

std::optional<QString> FakeUi::inputBox(const QString &prompt, const QString &title,
                                        const QString &defaultText) {
  inputs.push_back({prompt, title, defaultText});
  return next(inputAnswers);
}

std::optional<QString> FakeUi::openFile(const FileDialog &dialog) {
  fileDialogs.push_back(dialog);
  return next(fileAnswers);
}

std::optional<QString> FakeUi::saveFile(const FileDialog &dialog) {
  fileDialogs.push_back(dialog);
  return next(fileAnswers);
}

std::optional<QString> FakeUi::chooseFolder(const QString &, const QString &) {
  return next(folderAnswers);
}

std::optional<qint32> FakeUi::chooseColor(qint32) { return next(colorAnswers); }

std::optional<FontSpec> FakeUi::chooseFont(const FontSpec &) { return next(fontAnswers); }

Ui::RecoveryAnswer FakeUi::offerRecovery(const QString &text, const QStringList &panels) {
  recoveryOffers.push_back({text, panels});
  if (recoveryAnswers.empty()) return RecoveryAnswer::DecideLater;
  const RecoveryAnswer a = recoveryAnswers.front();
  recoveryAnswers.pop_front();
  return a;
}

QStringList FakeUi::messageTexts() const {
  QStringList out;
  for (const auto &m : messages) out << m.text;
  return out;
}

QStringList FakeUi::firstLines() const {
  QStringList out;
  for (const QString &text : messageTexts()) out << text.section(u'\n', 0, 0).remove(u'\r');
  return out;
}
