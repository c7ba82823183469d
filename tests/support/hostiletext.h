#pragma once

// Outside texts that Qt would take for rich text, and how a label or a
// tooltip shows a text.

#include <QString>
#include <QStringList>
#include <QTextDocument>

// Each shows otherwise as rich text than as the plain text it is. None names
// a file that would hurt if it were loaded after all.
inline const QStringList kHostileTexts = {
    QStringLiteral("<b>Studio</b>"),
    QStringLiteral("<img src=\"missing-picture.png\">"),
    QStringLiteral("<h1 style=\"color:red\">ON AIR</h1>"),
    QStringLiteral("&lt;b&gt; typed out"),
    QStringLiteral("<a href=\"file:///etc/hostname\">link</a>"),
    QStringLiteral("Talk <br> back"),
};

// The text a label of `format`, or a tooltip (which guesses), shows for `text`.
inline QString shownAs(const QString &text, Qt::TextFormat format = Qt::AutoText) {
  const bool rich = format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(text));
  if (!rich) return text;
  QTextDocument document;
  document.setHtml(text);
  return document.toPlainText();
}
