#pragma once

#include "model/uiservice.h"

class QWidget;

// The Ui service realised with Qt's dialogs, clipboard and desktop services.
class QtUi : public Ui {
 public:
  void setParentWidget(QWidget *parent) { m_parent = parent; }

  Answer message(const QString &text, Buttons buttons, const QString &title) override;
  void failure(const QString &text, Severity severity) override;
  int choose(const QString &text, const QStringList &buttons) override;
  std::optional<QString> inputNumber(const QString &prompt, const QString &title, int value,
                                     int minimum, int maximum) override;
  std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                  const QString &defaultText) override;
  std::optional<QString> openFile(const FileDialog &dialog) override;
  std::optional<QString> saveFile(const FileDialog &dialog) override;
  std::optional<QString> chooseFolder(const QString &title, const QString &startFolder) override;
  std::optional<qint32> chooseColor(qint32 initial) override;
  std::optional<FontSpec> chooseFont(const FontSpec &initial) override;
  bool clipboardHasText() override;
  QString clipboardText() override;
  void setClipboardText(const QString &text) override;
  void clearClipboard() override;
  bool openUrl(const QString &address) override;
  // The recovery offer (recoverydialog.cpp).
  RecoveryAnswer offerRecovery(const QString &text, const QStringList &panels) override;

 private:
  Answer showBox(const QString &text, Buttons buttons, const QString &title, int icon);
  QWidget *boxParent() const;
  QWidget *m_parent = nullptr;
};
