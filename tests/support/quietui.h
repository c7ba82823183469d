#pragma once

#include <optional>

#include "model/uiservice.h"

// Answers every question with its default and records nothing: for programs
// that run no dialogs (benchmarks, fuzz targets).
class QuietUi : public Ui {
 public:
  Answer message(const QString &, Buttons, const QString &) override { return Answer::Ok; }
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
};
