#pragma once

#include <optional>

#include "model/uiservice.h"

// A Ui for code that runs without dialogs (commands without a window,
// benchmarks, fuzz targets): nothing is ever asked, a question gets its
// cancelling answer, no file or value is chosen and the clipboard is empty.
class NoDialogsUi : public Ui {
 public:
  Answer message(const QString &, Buttons buttons, const QString &) override {
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
  }
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
  bool openUrl(const QString &) override { return false; }
};
