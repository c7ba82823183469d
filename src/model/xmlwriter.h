#pragma once

#include <QByteArray>
#include <QLatin1String>
#include <QString>
#include <QStringView>
#include <algorithm>

#include "model/codepage.h"

// The one XML writer of the program: escaping, and elements laid out one per
// line (two blanks per level, CR LF line ends, no declaration). Panel and
// clipboard documents are written with it straight from the model; the
// document tree (xmltree.h) uses it for whatever it did not read from a text.

// Appends text as element content: "&", "<" and ">" escaped, characters XML
// cannot carry (most C0 controls, U+FFFE, U+FFFF, lone surrogates) left out,
// so that the output always parses again.
void appendEscapedXmlText(QString &out, QStringView text);
// The same for an attribute value in double quotes: '"' escaped too.
void appendEscapedXmlAttribute(QString &out, QStringView text);

// Appends `count` blanks.
void appendBlanks(QString &out, int count);

// Writes a text: the one given to it, continued. A large document is made of
// hundreds of thousands of short pieces, so they are copied straight into
// room kept ahead; take() hands the text over at its final size. Element
// names are given as QLatin1String or QStringView.
//
// `Text` is QString, or QByteArray for bytes in Windows-1252 as files hold
// them (characters the code page lacks are written as "?"), so that a file
// is written without a wide copy of it first.
template <class Text>
class BasicXmlWriter {
 public:
  using Char = std::conditional_t<std::is_same_v<Text, QString>, char16_t, char>;

  explicit BasicXmlWriter(Text text = Text());
  BasicXmlWriter(const BasicXmlWriter &) = delete;
  BasicXmlWriter &operator=(const BasicXmlWriter &) = delete;

  // The text written; the writer starts empty again.
  Text take();

  // "<name>" on a line of its own, `indent` blanks in.
  template <class Name>
  void startElement(const Name &name, int indent) {
    blanks(indent);
    put(u'<');
    put(name);
    put(QLatin1String(">\r\n"));
  }
  // "</name>" on a line of its own.
  template <class Name>
  void endElement(const Name &name, int indent) {
    blanks(indent);
    put(QLatin1String("</"));
    put(name);
    put(QLatin1String(">\r\n"));
  }
  // "<name>text</name>" on one line, or "<name/>" for an empty text.
  template <class Name>
  void textElement(const Name &name, QStringView text, int indent) {
    if (text.isEmpty()) {
      blanks(indent);
      put(u'<');
      put(name);
      put(QLatin1String("/>\r\n"));
      return;
    }
    openTextElement(name, indent);
    putEscaped(text);
    closeTextElement(name);
  }
  // The two halves of a text element, for values written between them.
  template <class Name>
  void openTextElement(const Name &name, int indent) {
    blanks(indent);
    put(u'<');
    put(name);
    put(u'>');
  }
  template <class Name>
  void closeTextElement(const Name &name) {
    put(QLatin1String("</"));
    put(name);
    put(QLatin1String(">\r\n"));
  }

  // Text as it stands (no escaping).
  void put(char16_t c) {
    reserve(1);
    *m_at++ = encoded(c);
  }
  void put(QLatin1String text) {
    reserve(text.size());
    for (char c : text) *m_at++ = Char(static_cast<unsigned char>(c));
  }
  void put(QStringView text) {
    reserve(text.size());
    for (QChar c : text) *m_at++ = encoded(c.unicode());
  }
  void put(const QString &text) { put(QStringView(text)); }
  // Text as element content (appendEscapedXmlText).
  void putEscaped(QStringView text);
  void blanks(int count) {
    if (count <= 0) return;
    reserve(count);
    m_at = std::fill_n(m_at, count, Char(' '));
  }

  // How long the text is; a length to cut it back to.
  qsizetype size() const { return m_at - m_begin; }
  void truncate(qsizetype size) { m_at = m_begin + size; }
  // Room for a text of this length in all.
  void reserveTotal(qsizetype size) { reserve(size - this->size()); }

 private:
  static Char encoded(char16_t c) {
    if constexpr (std::is_same_v<Char, char16_t>)
      return c;
    else
      return c < 0x80 ? char(c) : encodedSlowly(c);
  }
  static char encodedSlowly(char16_t c) { return encodeWindows1252Char(c); }
  void reserve(qsizetype n) {
    if (m_end - m_at < n) grow(n);
  }
  void grow(qsizetype n);

  Text m_out;  // its first size() characters are the text
  Char *m_begin = nullptr;
  Char *m_at = nullptr;
  Char *m_end = nullptr;
};

using XmlWriter = BasicXmlWriter<QString>;
// Writes Windows-1252 bytes.
using XmlFileWriter = BasicXmlWriter<QByteArray>;

extern template class BasicXmlWriter<QString>;
extern template class BasicXmlWriter<QByteArray>;
