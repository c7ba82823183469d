#pragma once

#include <QString>
#include <QStringView>

// The one XML writer of the program: escaping, and elements laid out one per
// line (two blanks per level, CR LF line ends, no declaration). Panel and
// clipboard documents are written with it straight from the model; the
// document tree (xmltree.h) uses it for whatever it did not read from a text.

// Appends text as element content: "&", "<" and ">" escaped, characters XML
// cannot carry (most C0 controls, U+FFFE, U+FFFF, lone surrogates) left out,
// so that the output always parses again.
void AppendEscapedXmlText(QString &out, QStringView text);
// The same for an attribute value in double quotes: '"' escaped too.
void AppendEscapedXmlAttribute(QString &out, QStringView text);

// Appends `count` blanks.
void AppendBlanks(QString &out, int count);

// Element names are given as QStringView or QLatin1String.
class XmlWriter {
 public:
  explicit XmlWriter(QString &out) : m_out(out) {}
  QString &out() { return m_out; }

  // "<name>" on a line of its own, `indent` blanks in.
  template <class Name>
  void startElement(const Name &name, int indent) {
    AppendBlanks(m_out, indent);
    m_out += u'<';
    m_out += name;
    m_out += u'>';
    m_out += QLatin1String("\r\n");
  }
  // "</name>" on a line of its own.
  template <class Name>
  void endElement(const Name &name, int indent) {
    AppendBlanks(m_out, indent);
    m_out += QLatin1String("</");
    m_out += name;
    m_out += QLatin1String(">\r\n");
  }
  // "<name>text</name>" on one line, or "<name/>" for an empty text.
  template <class Name>
  void textElement(const Name &name, QStringView text, int indent) {
    if (text.isEmpty()) {
      AppendBlanks(m_out, indent);
      m_out += u'<';
      m_out += name;
      m_out += QLatin1String("/>\r\n");
      return;
    }
    openTextElement(name, indent);
    AppendEscapedXmlText(m_out, text);
    closeTextElement(name);
  }
  // The two halves of a text element, for values formatted straight into
  // the output between them (never empty, never needing escapes).
  template <class Name>
  void openTextElement(const Name &name, int indent) {
    AppendBlanks(m_out, indent);
    m_out += u'<';
    m_out += name;
    m_out += u'>';
  }
  template <class Name>
  void closeTextElement(const Name &name) {
    m_out += QLatin1String("</");
    m_out += name;
    m_out += QLatin1String(">\r\n");
  }

 private:
  QString &m_out;
};
