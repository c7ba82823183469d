#include "ui/qtui.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <algorithm>
#include <vector>

#include "ui/paintsupport.h"
#include "ui/plaintext.h"
#include "ui/qtconvert.h"

namespace {
// "Panel XML Document|*.XML|All Documents|*.*" as Qt's filter list.
QString qtFilter(const QString &filter) {
  const QStringList parts = filter.split(u'|');
  if (parts.size() < 2) return filter;
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2)
    out << QStringLiteral("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(u';', u' '));
  return out.join(QStringLiteral(";;"));
}

// The buttons' texts with an access key each: the one a text gives with
// "&", else the first free letter that starts a word, else any free letter.
QStringList withAccessKeys(const QStringList &texts) {
  QString taken;
  for (const QString &text : texts) {
    const qsizetype amp = text.indexOf(u'&');
    if (amp >= 0 && amp + 1 < text.size() && text[amp + 1] != u'&')
      taken += text[amp + 1].toLower();
  }
  QStringList out;
  for (const QString &text : texts) {
    if (text.contains(u'&')) {
      out << text;
      continue;
    }
    qsizetype key = -1;
    for (const bool wordStart : {true, false}) {
      for (qsizetype i = 0; i < text.size() && key < 0; ++i) {
        const QChar c = text[i];
        if (!c.isLetterOrNumber() || taken.contains(c.toLower())) continue;
        if (!wordStart || i == 0 || !text[i - 1].isLetterOrNumber()) key = i;
      }
      if (key >= 0) break;
    }
    if (key < 0) {
      out << text;
      continue;
    }
    taken += text[key].toLower();
    out << text.left(key) + u'&' + text.mid(key);
  }
  return out;
}
}  // namespace

Ui::Answer QtUi::message(const QString &text, Buttons buttons, const QString &title) {
  return showBox(text, buttons, title,
                 buttons == Buttons::Ok ? QMessageBox::Information : QMessageBox::Question);
}

void QtUi::failure(const QString &text, Severity severity) {
  showBox(text, Buttons::Ok, QString(),
          severity == Severity::Critical ? QMessageBox::Critical : QMessageBox::Warning);
}

QWidget *QtUi::boxParent() const {
  // Above the window the user works in (a dialog of the program, say), so
  // that the box is never hidden behind it.
  if (QWidget *modal = QApplication::activeModalWidget()) return modal;
  if (QWidget *active = QApplication::activeWindow(); active && active->isVisible()) return active;
  return m_parent;
}

Ui::Answer QtUi::showBox(const QString &text, Buttons buttons, const QString &title, int icon) {
  QMessageBox box(boxParent());
  box.setWindowTitle(title.isEmpty() ? kProgramTitle : plainWindowTitle(title));
  setPlainText(box, text);
  box.setIcon(QMessageBox::Icon(icon));
  switch (buttons) {
    case Buttons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case Buttons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case Buttons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Ok:
      return Answer::Ok;
    default:
      return Answer::Cancel;
  }
}

int QtUi::choose(const QString &text, const QStringList &buttons) {
  QMessageBox box(m_parent);
  box.setWindowTitle(kProgramTitle);
  setPlainText(box, text);
  box.setIcon(QMessageBox::Question);
  std::vector<QAbstractButton *> added;
  const QStringList texts = withAccessKeys(buttons);
  for (qsizetype k = 0; k < texts.size(); ++k) {
    const bool last = k + 1 == texts.size();
    added.push_back(
        box.addButton(texts[k], last ? QMessageBox::RejectRole : QMessageBox::AcceptRole));
  }
  if (!added.empty()) {
    // Return gives the safe answer, as Escape does.
    box.setDefaultButton(static_cast<QPushButton *>(added.back()));
    box.setEscapeButton(added.back());
  }
  box.exec();
  const auto chosen = std::find(added.begin(), added.end(), box.clickedButton());
  return chosen == added.end() ? -1 : int(chosen - added.begin());
}

std::optional<QString> QtUi::inputBox(const QString &prompt, const QString &title,
                                      const QString &defaultText) {
  QInputDialog dialog(m_parent);
  dialog.setWindowTitle(title.isEmpty() ? kProgramTitle : plainWindowTitle(title));
  dialog.setLabelText(QString());  // makes the label, to be told its format first
  if (auto *label = dialog.findChild<QLabel *>()) label->setTextFormat(Qt::PlainText);
  dialog.setLabelText(boundedText(prompt));
  dialog.setTextValue(defaultText);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue();
}

std::optional<QString> QtUi::inputNumber(const QString &prompt, const QString &title, int value,
                                         int minimum, int maximum) {
  bool ok = false;
  const int number = QInputDialog::getInt(m_parent, title.isEmpty() ? kProgramTitle : title, prompt,
                                          value, minimum, maximum, 1, &ok);
  if (!ok) return std::nullopt;
  return QString::number(number);
}

std::optional<QString> QtUi::openFile(const FileDialog &d) {
  QFileDialog dialog(m_parent, d.title, d.initialFolder, qtFilter(d.filter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(d.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

std::optional<QString> QtUi::saveFile(const FileDialog &d) {
  QFileDialog dialog(m_parent, d.title, d.initialFolder, qtFilter(d.filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (!d.fileName.isEmpty()) dialog.selectFile(d.fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

std::optional<QString> QtUi::chooseFolder(const QString &title, const QString &startFolder) {
  const QString folder = QFileDialog::getExistingDirectory(m_parent, title, startFolder);
  if (folder.isEmpty()) return std::nullopt;
  return folder;
}

std::optional<qint32> QtUi::chooseColor(qint32 initial) {
  const QColor c = QColorDialog::getColor(colorFromValue(initial), m_parent);
  if (!c.isValid()) return std::nullopt;
  return fromQColor(c);
}

std::optional<FontSpec> QtUi::chooseFont(const FontSpec &initial) {
  bool ok = false;
  const QFont f = QFontDialog::getFont(&ok, toQFont(initial, 1.0), m_parent);
  if (!ok) return std::nullopt;
  FontSpec spec;
  spec.name = f.family();
  spec.size = f.pointSizeF();
  spec.bold = f.bold();
  spec.underline = f.underline();
  spec.italic = f.italic();
  return spec;
}

bool QtUi::clipboardHasText() {
  const QMimeData *data = QApplication::clipboard()->mimeData();
  return data && data->hasText() && !data->text().isEmpty();
}

QString QtUi::clipboardText() { return QApplication::clipboard()->text(); }

void QtUi::setClipboardText(const QString &text) { QApplication::clipboard()->setText(text); }

void QtUi::clearClipboard() { QApplication::clipboard()->clear(); }

bool QtUi::openUrl(const QString &address) { return QDesktopServices::openUrl(QUrl(address)); }
