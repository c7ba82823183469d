#include "ui/plaintext.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTextDocument>
#include <QToolTip>

namespace {

const QChar kEllipsis(0x2026);

// No cell of a list or table is wider than a screen.
constexpr qsizetype kCellChars = 1000;
constexpr qsizetype kCellLines = 16;
constexpr qsizetype kTitleChars = 256;
constexpr qsizetype kMenuChars = 100;

// The first `count` characters of `text`, never half of a surrogate pair.
QString head(QStringView text, qsizetype count) {
  if (count < text.size() && count > 0 && text[count - 1].isHighSurrogate()) --count;
  return text.left(count).toString();
}

}  // namespace

QString boundedText(const QString &text, qsizetype maxLineChars, qsizetype maxLines) {
  if (text.size() <= maxLineChars && text.size() < maxLines) return text;
  QString out;
  qsizetype start = 0;
  for (qsizetype lines = 0;; ++lines) {
    if (lines == maxLines) {
      out += kEllipsis;  // more lines follow
      break;
    }
    qsizetype end = text.indexOf(u'\n', start);
    const bool last = end < 0;
    if (last) end = text.size();
    const QStringView line = QStringView(text).mid(start, end - start);
    if (lines > 0) out += u'\n';
    if (line.size() > maxLineChars) {
      out += head(line, maxLineChars);
      out += kEllipsis;
    } else {
      out += line;
    }
    if (last) break;
    start = end + 1;
  }
  return out;
}

QString plainToolTip(const QString &text) {
  const QString shown = boundedText(text, 200, 30);
  // The tooltip decides between plain and rich text by this same guess.
  return Qt::mightBeRichText(shown) ? Qt::convertFromPlainText(shown, Qt::WhiteSpaceNormal) : shown;
}

QString plainMenuText(const QString &text) {
  QString shown = text;
  if (shown.size() > kMenuChars) {
    // The end of a path names the file: both ends stay.
    qsizetype tail = kMenuChars * 2 / 3;
    if (shown[shown.size() - tail].isLowSurrogate()) --tail;
    shown = head(shown, kMenuChars - tail) + kEllipsis + shown.right(tail);
  }
  // "&" marks an access key and a tab the start of a shortcut.
  return shown.replace(u'&', QLatin1String("&&")).replace(u'\t', u' ');
}

QString plainWindowTitle(const QString &text) {
  QString title = text.size() > kTitleChars ? head(text, kTitleChars) + kEllipsis : text;
  return title.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
}

QLabel *plainLabel(const QString &text, QWidget *parent) {
  auto *label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setText(text);
  return label;
}

void setPlainText(QMessageBox &box, const QString &text, const QString &informativeText) {
  box.setTextFormat(Qt::PlainText);  // before the text: a guess of rich text loads its pictures
  box.setText(boundedText(text));
  // The informative text has no format of its own: it is given as rich text
  // that shows the plain text as it is.
  if (!informativeText.isEmpty())
    box.setInformativeText(
        Qt::convertFromPlainText(boundedText(informativeText), Qt::WhiteSpaceNormal));
}

bool PlainTextDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view,
                                  const QStyleOptionViewItem &option, const QModelIndex &index) {
  if (!event || !view || event->type() != QEvent::ToolTip)
    return QStyledItemDelegate::helpEvent(event, view, option, index);
  const QString tip = index.isValid() ? index.data(Qt::ToolTipRole).toString() : QString();
  QRect area;
  if (index.isValid()) {
    const QRect r = view->visualRect(index);
    area = QRect(view->viewport()->mapToGlobal(r.topLeft()), r.size());
  }
  QToolTip::showText(event->globalPos(), plainToolTip(tip), view, area);
  event->setAccepted(!tip.isEmpty());
  return true;
}

void PlainTextDelegate::initStyleOption(QStyleOptionViewItem *option,
                                        const QModelIndex &index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  option->text = boundedText(option->text, kCellChars, kCellLines);
}
