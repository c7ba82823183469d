#pragma once

#include <QString>
#include <QStyledItemDelegate>

class QLabel;
class QMessageBox;
class QWidget;

// Text from files, the server, the clipboard or the user as the shell shows
// it: always as plain text, and never more of it than a screen can show.
// Qt takes text that looks like markup for rich text, and rich text loads
// whatever file an <img> names (/dev/zero included); laying out megabytes
// holds the window for minutes.

// At most `maxLines` lines of at most `maxLineChars` characters each; a cut
// line, and a cut list of lines, end in "…".
QString boundedText(const QString &text, qsizetype maxLineChars = 400, qsizetype maxLines = 60);

// A tooltip showing `text` as it is: bounded, and escaped when Qt would take
// it for rich text.
QString plainToolTip(const QString &text);

// A menu entry showing `text` as it is, its middle left out when long.
QString plainMenuText(const QString &text);

// A window title showing the beginning of `text` as it is: a title bar never
// shows more, and "[*]" stays in sight instead of marking a change.
QString plainWindowTitle(const QString &text);

// A label that shows its text as plain text, whatever it holds.
QLabel *plainLabel(const QString &text = {}, QWidget *parent = nullptr);

// Gives the box its text and informative text (when not empty), bounded and
// shown as plain text.
void setPlainText(QMessageBox &box, const QString &text, const QString &informativeText = {});

// The delegate of every list and table that shows outside text: cells draw a
// bounded part of their text, tooltips show theirs as plain text.
class PlainTextDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                 const QModelIndex &index) override;

 protected:
  void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
