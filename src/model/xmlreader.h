#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <vector>

// Reading untrusted XML text as a stream of events. The quick scanner of
// xmlscanner.h reads the plain XML that panel files, clipboard texts and
// hardware maps are made of; whatever lies outside its set is judged by Qt's
// stream reader, which takes over where the scanner stopped. The handler sees
// one stream either way.

struct XmlAttribute {
  QStringView name;
  QStringView value;  // references resolved
};

// Receives the events of a document in document order. Every event carries
// the exact text it was read from (`source`), so that a document can be
// written back byte for byte where nothing changed.
//
// Names stay valid until readXml returns; text values and attribute values
// only during the call that passes them.
class XmlHandler {
 public:
  virtual ~XmlHandler() = default;
  // A start tag ("<a x='1'>" or "<a/>"); a self-closing element is followed
  // at once by its endElement with an empty source.
  virtual void startElement(QStringView name, const std::vector<XmlAttribute> &attributes,
                            QStringView source) {
    (void)name, (void)attributes, (void)source;
  }
  virtual void endElement(QStringView source) { (void)source; }
  // A run of character data between two pieces of markup, references
  // resolved and line ends made "\n". Outside the root element only white
  // space (and a leading byte order mark, whose value is empty).
  virtual void text(QStringView value, QStringView source) { (void)value, (void)source; }
  // A CDATA section's content, line ends made "\n".
  virtual void cdata(QStringView value, QStringView source) { (void)value, (void)source; }
  // Comment and processing-instruction values are the text between the
  // delimiters as it stands.
  virtual void comment(QStringView value, QStringView source) { (void)value, (void)source; }
  virtual void processingInstruction(QStringView target, QStringView data, QStringView source) {
    (void)target, (void)data, (void)source;
  }
  // The XML declaration ("<?xml version=...?>").
  virtual void declaration(QStringView source) { (void)source; }
};

// Why a text was refused: the reason and where (lines and columns from 1).
struct XmlError {
  QString message;
  qint64 line = 0;
  qint64 column = 0;
  // "Line 3, column 7: Premature end of document."
  QString text() const;
};

// Limits that keep hostile documents cheap: nesting deeper than maxDepth and
// elements with more than maxAttributes attributes are refused. Both readers
// take time growing with the square of the attributes of one element, so the
// attribute count is checked before a document reaches Qt's reader.
struct XmlLimits {
  int maxDepth = 256;
  int maxAttributes = 256;
};

// Reads the text and sends its events to the handler. False, with the reason
// in `error`, when the text is not well-formed XML, has no root element,
// carries a document type declaration or breaks a limit; the handler may
// then have seen the events up to the fault and must drop what it built.
bool readXml(QStringView text, XmlHandler &handler, XmlError *error = nullptr,
             const XmlLimits &limits = XmlLimits());

// Qt's stream reader alone, the judge behind readXml. `skipTags` start and end
// tags (and everything before the last of them) are read but not passed on:
// the quick scanner delivered them already. Exposed for tests.
bool readXmlWithStreamReader(QStringView text, XmlHandler &handler, XmlError *error,
                             const XmlLimits &limits, qsizetype skipTags = 0);

// The first element with more than `maxAttributes` attributes, found without
// parsing: its offset in the text, or -1.
qsizetype findElementWithTooManyAttributes(QStringView text, int maxAttributes);

// Line and column (from 1) of an offset in the text.
XmlError xmlErrorAt(QStringView text, qsizetype offset, const QString &message);

// True for text made only of blanks, tabs and line ends.
inline bool isXmlBlank(QStringView text) {
  for (QChar c : text)
    if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r') return false;
  return true;
}

// The text of one element as the readers take it: the runs of character data
// between its tags, each joined over comments, processing instructions and
// CDATA sections, runs that are only white space left out. Feed it the
// element's character data, and end a run at each child element's tags.
// The common case, one run of one piece of the source, is kept as a view.
class XmlTextRun {
 public:
  // Pieces that lie inside this text stay views of it, others are copied.
  void setSource(QStringView source) {
    m_begin = source.utf16();
    m_end = m_begin + source.size();
  }
  void add(QStringView piece) {
    if (piece.isEmpty()) return;
    if (!m_inRun && inSource(piece)) {
      m_runView = piece;
      m_inRun = true;
      return;
    }
    addSlowly(piece);
  }
  // Ends a run at a tag: unless it is only white space it joins the text.
  void endRun() {
    if (!m_inRun) return;
    if (!m_runCopied && !m_textCopied && m_view.isNull()) {
      if (!isXmlBlank(m_runView)) m_view = m_runView;
      m_inRun = false;
      m_runView = QStringView();
      return;
    }
    endRunSlowly();
  }
  // The text so far; valid until the next add or clear.
  QStringView text() const { return m_textCopied ? QStringView(m_text) : m_view; }
  bool isEmpty() const { return text().isEmpty(); }
  // Whether text() is a view of the source (stable while the source lives)
  // rather than of this object's own copy.
  bool textIsView() const { return !m_textCopied; }
  void clear() {
    m_inRun = false;
    m_runView = QStringView();
    m_view = QStringView();
    if (m_runCopied) {
      m_run.resize(0);
      m_runCopied = false;
    }
    if (m_textCopied) {
      m_text.resize(0);  // the buffers are kept for the next element
      m_textCopied = false;
    }
  }

 private:
  bool inSource(QStringView piece) const {
    return piece.utf16() >= m_begin && piece.utf16() + piece.size() <= m_end;
  }
  void addSlowly(QStringView piece);
  void endRunSlowly();

  const char16_t *m_begin = nullptr;
  const char16_t *m_end = nullptr;
  bool m_inRun = false;
  bool m_runCopied = false;
  bool m_textCopied = false;
  QStringView m_runView;  // the run while it is a single piece of the source
  QString m_run;          // the run once it needed a copy
  QStringView m_view;     // the text while it is a single view
  QString m_text;         // the text once it needed a copy
};
