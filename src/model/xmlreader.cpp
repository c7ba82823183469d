#include "model/xmlreader.h"

#include <QSet>
#include <QXmlStreamReader>

#include "model/xmlscanner.h"

namespace {

bool isSpace(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

// Text with its line ends made "\n", as the readers give character data.
QString withNewlines(QStringView text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype k = 0; k < text.size(); ++k) {
    if (text[k] != u'\r')
      out += text[k];
    else if (k + 1 >= text.size() || text[k + 1] != u'\n')
      out += u'\n';
  }
  return out;
}

// Qt's stream reader, with the source of every event found in the text: the
// reader's own offsets run ahead of what it reported, so each piece of
// markup is located from where the previous one ended. The reader has
// checked that the document is well-formed, so markup is found by its
// delimiters alone.
class StreamReplay {
 public:
  StreamReplay(QStringView text, XmlHandler &handler, const XmlLimits &limits, qsizetype skipTags)
      : m_s(text), m_handler(handler), m_limits(limits), m_skip(skipTags) {}

  bool run(XmlError *error);

 private:
  bool passing() const { return m_tags >= m_skip; }
  qsizetype find(QStringView what, qsizetype from) const {
    const qsizetype at = m_s.indexOf(what, from);
    return at < 0 ? m_s.size() : at;
  }
  // The end of a tag starting at `start`: after its ">", quotes respected.
  qsizetype tagEnd(qsizetype start) const {
    QChar quote;
    for (qsizetype k = start + 1; k < m_s.size(); ++k) {
      const QChar c = m_s[k];
      if (!quote.isNull()) {
        if (c == quote) quote = QChar();
      } else if (c == u'"' || c == u'\'') {
        quote = c;
      } else if (c == u'>') {
        return k + 1;
      }
    }
    return m_s.size();
  }
  // Character data up to `end`, then the cursor moves there.
  void passText(qsizetype end);
  // A stable copy of a name whose text is not in the source.
  QStringView keep(QStringView name) {
    auto it = m_names.constFind(name.toString());
    if (it == m_names.cend()) it = m_names.insert(name.toString());
    return *it;
  }
  bool fail(XmlError *error, const QXmlStreamReader &reader, const QString &message) {
    if (error) *error = {message, reader.lineNumber(), reader.columnNumber() + 1};
    return false;
  }

  QStringView m_s;
  XmlHandler &m_handler;
  const XmlLimits &m_limits;
  const qsizetype m_skip;
  qsizetype m_tags = 0;
  qsizetype m_c = 0;  // where the next piece of the source starts
  QString m_text;     // character data the reader reported since the last markup
  bool m_hasText = false;
  QSet<QString> m_names;
};

void StreamReplay::passText(qsizetype end) {
  if (end > m_c && passing()) {
    const QStringView source = m_s.mid(m_c, end - m_c);
    if (m_hasText) {
      m_handler.text(m_text, source);
    } else if (m_c == 0 && source[0] == QChar(0xFEFF)) {
      m_handler.text(QStringView(), source.left(1));
      if (source.size() > 1) m_handler.text(withNewlines(source.mid(1)), source.mid(1));
    } else {  // white space outside the root
      m_handler.text(withNewlines(source), source);
    }
  }
  m_c = qMax(m_c, end);
  m_text.clear();
  m_hasText = false;
}

bool StreamReplay::run(XmlError *error) {
  QXmlStreamReader reader(m_s.toString());
  reader.setNamespaceProcessing(false);
  int depth = 0;
  bool selfClosing = false;  // the last start tag closed itself
  std::vector<XmlAttribute> attributes;
  while (!reader.atEnd()) {
    const QXmlStreamReader::TokenType token = reader.readNext();
    const bool closesSelf = token == QXmlStreamReader::EndElement && selfClosing;
    selfClosing = false;
    switch (token) {
      case QXmlStreamReader::StartDocument: {
        const qsizetype start = m_c < m_s.size() && m_s[m_c] == QChar(0xFEFF) ? m_c + 1 : m_c;
        if (m_s.mid(start).startsWith(u"<?xml") && start + 5 < m_s.size() &&
            isSpace(m_s[start + 5])) {
          passText(start);
          const qsizetype end = find(u"?>", start) + 2;
          if (passing()) m_handler.declaration(m_s.mid(start, end - start));
          m_c = end;
        }
        break;
      }
      case QXmlStreamReader::DTD:
        return fail(error, reader, QStringLiteral("A document type declaration is not accepted."));
      case QXmlStreamReader::EntityReference:
        return fail(error, reader, QStringLiteral("An entity reference is not accepted."));
      case QXmlStreamReader::Comment: {
        const qsizetype start = find(u"<!--", m_c);
        passText(start);
        const qsizetype end = find(u"-->", start + 4) + 3;
        if (passing())
          m_handler.comment(m_s.mid(start + 4, end - 3 - start - 4), m_s.mid(start, end - start));
        m_c = end;
        break;
      }
      case QXmlStreamReader::ProcessingInstruction: {
        const qsizetype start = find(u"<?", m_c);
        passText(start);
        const qsizetype end = find(u"?>", start + 2) + 2;
        const qsizetype targetLength = reader.processingInstructionTarget().size();
        qsizetype data = start + 2 + targetLength;
        while (data < end - 2 && isSpace(m_s[data])) ++data;
        if (passing())
          m_handler.processingInstruction(m_s.mid(start + 2, targetLength),
                                          m_s.mid(data, end - 2 - data),
                                          m_s.mid(start, end - start));
        m_c = end;
        break;
      }
      case QXmlStreamReader::StartElement: {
        if (++depth > m_limits.maxDepth)
          return fail(error, reader,
                      QStringLiteral("The elements are nested deeper than %1 levels.")
                          .arg(m_limits.maxDepth));
        const qsizetype start = find(u"<", m_c);
        passText(start);
        const qsizetype end = tagEnd(start);
        selfClosing = end >= 2 && m_s[end - 2] == u'/';
        if (passing()) {
          const QXmlStreamAttributes found = reader.attributes();
          attributes.clear();
          for (const QXmlStreamAttribute &a : found)
            attributes.push_back({keep(a.qualifiedName()), a.value()});
          const QStringView name = m_s.mid(start + 1, reader.qualifiedName().size());
          m_handler.startElement(
              name == reader.qualifiedName() ? name : keep(reader.qualifiedName()), attributes,
              m_s.mid(start, end - start));
        }
        ++m_tags;
        m_c = end;
        break;
      }
      case QXmlStreamReader::EndElement: {
        --depth;
        if (closesSelf) {
          if (passing()) m_handler.endElement(m_s.mid(m_c, 0));
        } else {
          const qsizetype start = find(u"</", m_c);
          passText(start);
          const qsizetype end = tagEnd(start);
          if (passing()) m_handler.endElement(m_s.mid(start, end - start));
          m_c = end;
        }
        ++m_tags;
        break;
      }
      case QXmlStreamReader::Characters:
        if (reader.isCDATA()) {
          const qsizetype start = find(u"<![CDATA[", m_c);
          passText(start);
          const qsizetype end = find(u"]]>", start + 9) + 3;
          if (passing()) m_handler.cdata(reader.text(), m_s.mid(start, end - start));
          m_c = end;
        } else {
          m_text += reader.text();
          m_hasText = true;
        }
        break;
      case QXmlStreamReader::EndDocument:
        passText(m_s.size());
        break;
      default:
        break;
    }
  }
  if (reader.hasError()) return fail(error, reader, reader.errorString());
  return true;
}

}  // namespace

QString XmlError::text() const {
  return QStringLiteral("Line %1, column %2: %3").arg(line).arg(column).arg(message);
}

XmlError xmlErrorAt(QStringView text, qsizetype offset, const QString &message) {
  XmlError e;
  e.message = message;
  e.line = 1;
  qsizetype lineStart = 0;
  for (qsizetype k = 0; k < offset && k < text.size(); ++k)
    if (text[k] == u'\n') {
      ++e.line;
      lineStart = k + 1;
    }
  e.column = offset - lineStart + 1;
  return e;
}

qsizetype findElementWithTooManyAttributes(QStringView text, int maxAttributes) {
  const qsizetype n = text.size();
  auto skipPast = [&](qsizetype from, QStringView end) {
    const qsizetype at = text.indexOf(end, from);
    return at < 0 ? n : at + end.size();
  };
  for (qsizetype i = text.indexOf(u'<'); i >= 0 && i < n; i = text.indexOf(u'<', i)) {
    const QStringView rest = text.mid(i);
    if (rest.startsWith(u"<!--")) {
      i = skipPast(i + 4, u"-->");
    } else if (rest.startsWith(u"<![CDATA[")) {
      i = skipPast(i + 9, u"]]>");
    } else if (rest.startsWith(u"<?")) {
      i = skipPast(i + 2, u"?>");
    } else if (rest.startsWith(u"<!") || rest.startsWith(u"</")) {
      i += 2;
    } else {
      // A start tag: one "=" outside quotes per attribute.
      const qsizetype start = i;
      int attributes = 0;
      QChar quote;
      for (++i; i < n; ++i) {
        const QChar c = text[i];
        if (!quote.isNull()) {
          if (c == quote) quote = QChar();
        } else if (c == u'"' || c == u'\'') {
          quote = c;
        } else if (c == u'=') {
          if (++attributes > maxAttributes) return start;
        } else if (c == u'>' || c == u'<') {
          break;
        }
      }
    }
  }
  return -1;
}

bool readXmlWithStreamReader(QStringView text, XmlHandler &handler, XmlError *error,
                             const XmlLimits &limits, qsizetype skipTags) {
  const qsizetype crowded = findElementWithTooManyAttributes(text, limits.maxAttributes);
  if (crowded >= 0) {
    if (error)
      *error = xmlErrorAt(
          text, crowded,
          QStringLiteral("An element has more than %1 attributes.").arg(limits.maxAttributes));
    return false;
  }
  StreamReplay replay(text, handler, limits, skipTags);
  return replay.run(error);
}

bool readXml(QStringView text, XmlHandler &handler, XmlError *error, const XmlLimits &limits) {
  const PlainXmlScan scan = scanPlainXml(text, handler, limits);
  switch (scan.result) {
    case PlainXmlScan::Result::Read:
      return true;
    case PlainXmlScan::Result::TooDeep:
      if (error)
        *error = xmlErrorAt(
            text, scan.offset,
            QStringLiteral("The elements are nested deeper than %1 levels.").arg(limits.maxDepth));
      return false;
    case PlainXmlScan::Result::TooManyAttributes:
      if (error)
        *error = xmlErrorAt(
            text, scan.offset,
            QStringLiteral("An element has more than %1 attributes.").arg(limits.maxAttributes));
      return false;
    case PlainXmlScan::Result::NotPlain:
      break;
  }
  return readXmlWithStreamReader(text, handler, error, limits, scan.tags);
}

void XmlTextRun::addSlowly(QStringView piece) {
  if (!m_runCopied) {
    m_run.resize(0);
    m_run.append(m_runView);
    m_runCopied = true;
  }
  m_run += piece;
  m_inRun = true;
}

void XmlTextRun::endRunSlowly() {
  const QStringView run = m_runCopied ? QStringView(m_run) : m_runView;
  if (!isXmlBlank(run)) {
    if (!m_textCopied) {
      m_text.resize(0);
      m_text.append(m_view);
      m_textCopied = true;
    }
    m_text += run;
  }
  m_inRun = false;
  m_runView = QStringView();
  if (m_runCopied) {
    m_run.resize(0);
    m_runCopied = false;
  }
}
