#pragma once

#include <QStringList>
#include <cstdio>

#include "model/uiservice.h"

// The Ui of a command run without a window: nothing is ever asked (a
// question gets its cancelling answer), and what a box would say goes to
// `err` when one is given.
class CommandLineUi : public Ui {
 public:
  explicit CommandLineUi(FILE *err = nullptr) : m_err(err) {}
  Answer message(const QString &text, Buttons buttons, const QString &title) override;
  std::optional<QString> inputBox(const QString &, const QString &, const QString &) override {
    return std::nullopt;
  }
  std::optional<QString> openFile(const FileDialog &) override { return std::nullopt; }
  std::optional<QString> saveFile(const FileDialog &) override { return std::nullopt; }
  std::optional<QString> chooseFolder(const QString &, const QString &) override {
    return std::nullopt;
  }
  std::optional<qint32> chooseColor(qint32) override { return std::nullopt; }
  std::optional<FontSpec> chooseFont(const FontSpec &) override { return std::nullopt; }
  bool clipboardHasText() override { return false; }
  QString clipboardText() override { return QString(); }
  void setClipboardText(const QString &) override {}
  void clearClipboard() override {}
  void openUrl(const QString &) override {}

 private:
  FILE *m_err;
};

// Whether every path exists and can be read; names the first that does not
// on `err`.
bool PathsCanBeRead(const QStringList &paths, FILE *err);
