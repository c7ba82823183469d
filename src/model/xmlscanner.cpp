// A single pass over the UTF-16 text. Every construct is taken only in the
// form whose reading by Qt's stream reader is plain; anything else stops the
// pass (NotPlain) and the stream reader reads the text instead. The stream
// reader has a few habits the pass must never meet, and the limits below
// keep them out of its way:
//  - names are taken as [A-Za-z_][A-Za-z0-9_.-]* only (elements and
//    attributes also with one prefix), no longer than kMaxName, and must
//    end where the stream reader's name ends too;
//  - "]" in text only when the next character is neither "]", ">" nor NUL;
//  - character references only in decimal or "x" hex with ASCII digits,
//    never giving "]";
//  - no lone surrogate (the stream reader turns it into "?"), no U+FFFE,
//    U+FFFF or C0 control other than tab, LF and CR anywhere;
//  - duplicate attributes left to the stream reader.
#include "model/xmlscanner.h"

#include <vector>

namespace {

constexpr qsizetype kMaxName = 1024;

bool isSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

bool isNameStart(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}

bool isNameChar(char16_t c) {
  return isNameStart(c) || (c >= u'0' && c <= u'9') || c == u'.' || c == u'-';
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

class Scanner {
 public:
  Scanner(const QString &text, int maxDepth)
      : m_s(reinterpret_cast<const char16_t *>(text.constData())),
        m_n(text.size()),
        m_maxDepth(maxDepth) {}

  PlainXmlRead read(XmlElement &root);

 private:
  bool at(const char *literal) const {
    qsizetype i = m_i;
    for (const char *p = literal; *p; ++p, ++i)
      if (i >= m_n || m_s[i] != char16_t(*p)) return false;
    return true;
  }
  // Skips white space; true when there was some.
  bool skipSpace() {
    const qsizetype start = m_i;
    while (m_i < m_n && isSpace(m_s[m_i])) ++m_i;
    return m_i > start;
  }
  // One character of a comment, processing instruction or CDATA section
  // at the position: true and its length when XML can carry it.
  bool markupChar(int *len) const {
    const char16_t c = m_s[m_i];
    if (c < 0x20) {
      *len = 1;
      return c == u'\t' || c == u'\n' || c == u'\r';
    }
    if (c < 0xD800) {
      *len = 1;
      return true;
    }
    if (isHighSurrogate(c)) {
      *len = 2;
      return m_i + 1 < m_n && isLowSurrogate(m_s[m_i + 1]);
    }
    *len = 1;
    return !isLowSurrogate(c) && c < 0xFFFE;
  }
  bool name(QStringView *out, bool prefixed);
  bool declaration();
  bool pseudoAttribute(const char *attribute, QStringView *value);
  bool misc();
  bool comment();
  bool processingInstruction();
  bool cdata(QString &out);
  bool startTag(QStringView *tagName, bool *empty);
  bool endTag(QStringView expected);
  bool text(QString &out);
  bool reference(QString &out);

  const char16_t *m_s;
  qsizetype m_n;
  qsizetype m_i = 0;
  int m_maxDepth;
  XmlNameCache m_names;
  std::vector<QStringView> m_attributes;  // of the current start tag
  QString m_scratch;                      // attribute values are not kept
};

// A name, which must end where the stream reader's name ends: at white
// space or one of "=", "/", ">", "?". Element and attribute names may carry
// a prefix ("p:name"); processing instruction targets may not.
bool Scanner::name(QStringView *out, bool prefixed) {
  const qsizetype start = m_i;
  for (int part = 0;; ++part) {
    if (m_i >= m_n || !isNameStart(m_s[m_i])) return false;
    ++m_i;
    while (m_i < m_n && isNameChar(m_s[m_i])) ++m_i;
    if (m_i >= m_n) return false;
    if (!prefixed || part > 0 || m_s[m_i] != u':') break;
    ++m_i;
  }
  if (m_i - start > kMaxName) return false;
  const char16_t end = m_s[m_i];
  if (!isSpace(end) && end != u'=' && end != u'/' && end != u'>' && end != u'?') return false;
  *out = QStringView(m_s + start, m_i - start);
  return true;
}

// ` name = "value"` of the XML declaration, after the white space.
bool Scanner::pseudoAttribute(const char *attribute, QStringView *value) {
  if (!at(attribute)) return false;
  m_i += qsizetype(qstrlen(attribute));
  skipSpace();
  if (m_i >= m_n || m_s[m_i] != u'=') return false;
  ++m_i;
  skipSpace();
  if (m_i >= m_n || (m_s[m_i] != u'"' && m_s[m_i] != u'\'')) return false;
  const char16_t quote = m_s[m_i++];
  const qsizetype start = m_i;
  while (m_i < m_n && m_s[m_i] != quote) ++m_i;
  if (m_i >= m_n) return false;
  *value = QStringView(m_s + start, m_i - start);
  ++m_i;
  return true;
}

// At "<?xml" and white space, the first thing in the text: version 1.0, then
// optionally an encoding name and standalone yes or no, in that order.
bool Scanner::declaration() {
  m_i += 5;
  skipSpace();
  QStringView value;
  if (!pseudoAttribute("version", &value) || value != u"1.0") return false;
  bool spaced = skipSpace();
  if (spaced && at("encoding")) {
    if (!pseudoAttribute("encoding", &value) || value.isEmpty()) return false;
    for (qsizetype k = 0; k < value.size(); ++k) {
      const char16_t c = value[k].unicode();
      const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
      const bool other = (c >= u'0' && c <= u'9') || c == u'.' || c == u'_' || c == u'-';
      if (!letter && (k == 0 || !other)) return false;
    }
    spaced = skipSpace();
  }
  if (spaced && at("standalone")) {
    if (!pseudoAttribute("standalone", &value) || (value != u"yes" && value != u"no")) return false;
    skipSpace();
  }
  if (!at("?>")) return false;
  m_i += 2;
  return true;
}

// White space, comments and processing instructions around the root.
bool Scanner::misc() {
  for (;;) {
    skipSpace();
    if (at("<!--")) {
      if (!comment()) return false;
    } else if (at("<?")) {
      if (!processingInstruction()) return false;
    } else {
      return true;
    }
  }
}

bool Scanner::comment() {
  m_i += 4;  // "<!--"
  while (m_i < m_n) {
    if (m_s[m_i] == u'-' && m_i + 1 < m_n && m_s[m_i + 1] == u'-') {
      if (m_i + 2 >= m_n || m_s[m_i + 2] != u'>') return false;
      m_i += 3;
      return true;
    }
    int len;
    if (!markupChar(&len)) return false;
    m_i += len;
  }
  return false;
}

bool Scanner::processingInstruction() {
  m_i += 2;  // "<?"
  QStringView target;
  if (!name(&target, false) || target.compare(u"xml", Qt::CaseInsensitive) == 0) return false;
  if (m_s[m_i] == u'?') {
    if (m_i + 1 >= m_n || m_s[m_i + 1] != u'>') return false;
    m_i += 2;
    return true;
  }
  if (!skipSpace()) return false;
  while (m_i < m_n) {
    if (m_s[m_i] == u'?' && m_i + 1 < m_n && m_s[m_i + 1] == u'>') {
      m_i += 2;
      return true;
    }
    int len;
    if (!markupChar(&len)) return false;
    m_i += len;
  }
  return false;
}

bool Scanner::cdata(QString &out) {
  m_i += 9;  // "<![CDATA["
  while (m_i < m_n) {
    const qsizetype start = m_i;
    while (m_i < m_n) {
      const char16_t c = m_s[m_i];
      if (c == u']' || c == u'\r') break;
      int len;
      if (!markupChar(&len)) return false;
      m_i += len;
    }
    out.append(reinterpret_cast<const QChar *>(m_s + start), m_i - start);
    if (m_i >= m_n) return false;
    if (m_s[m_i] == u'\r') {
      out += u'\n';
      ++m_i;
      if (m_i < m_n && m_s[m_i] == u'\n') ++m_i;
    } else if (m_i + 2 < m_n && m_s[m_i + 1] == u']' && m_s[m_i + 2] == u'>') {
      m_i += 3;
      return true;
    } else {
      out += u']';
      ++m_i;
    }
  }
  return false;
}

// After "<": the name, the attributes (checked, not kept), then ">" or "/>".
bool Scanner::startTag(QStringView *tagName, bool *empty) {
  ++m_i;
  if (!name(tagName, true)) return false;
  m_attributes.clear();
  for (;;) {
    const bool spaced = skipSpace();
    if (m_i >= m_n) return false;
    if (m_s[m_i] == u'>') {
      ++m_i;
      *empty = false;
      return true;
    }
    if (m_s[m_i] == u'/') {
      if (m_i + 1 >= m_n || m_s[m_i + 1] != u'>') return false;
      m_i += 2;
      *empty = true;
      return true;
    }
    QStringView attribute;
    if (!spaced || !name(&attribute, true) || m_s[m_i] == u'/' || m_s[m_i] == u'>' ||
        m_s[m_i] == u'?')
      return false;
    for (QStringView other : m_attributes)
      if (other == attribute) return false;
    m_attributes.push_back(attribute);
    skipSpace();
    if (m_i >= m_n || m_s[m_i] != u'=') return false;
    ++m_i;
    skipSpace();
    if (m_i >= m_n || (m_s[m_i] != u'"' && m_s[m_i] != u'\'')) return false;
    const char16_t quote = m_s[m_i++];
    for (;;) {
      if (m_i >= m_n) return false;
      const char16_t c = m_s[m_i];
      if (c == quote) {
        ++m_i;
        break;
      }
      if (c == u'<') return false;
      if (c == u'&') {
        m_scratch.resize(0);
        if (!reference(m_scratch)) return false;
        continue;
      }
      int len;
      if (!markupChar(&len)) return false;
      m_i += len;
    }
  }
}

// After "</": the name must close the open element.
bool Scanner::endTag(QStringView expected) {
  m_i += 2;
  QStringView tagName;
  if (!name(&tagName, true) || tagName != expected) return false;
  skipSpace();
  if (m_i >= m_n || m_s[m_i] != u'>') return false;
  ++m_i;
  return true;
}

// After "&": one of the five predefined entities or a character reference.
bool Scanner::reference(QString &out) {
  ++m_i;
  if (m_i < m_n && m_s[m_i] == u'#') {
    ++m_i;
    const bool hex = m_i < m_n && m_s[m_i] == u'x';
    if (hex) ++m_i;
    char32_t value = 0;
    int digits = 0;
    for (; m_i < m_n && m_s[m_i] != u';'; ++m_i) {
      const char16_t d = m_s[m_i];
      int v;
      if (d >= u'0' && d <= u'9')
        v = d - u'0';
      else if (hex && d >= u'a' && d <= u'f')
        v = d - u'a' + 10;
      else if (hex && d >= u'A' && d <= u'F')
        v = d - u'A' + 10;
      else
        return false;
      if (++digits > (hex ? 6 : 7)) return false;
      value = value * (hex ? 16 : 10) + char32_t(v);
    }
    if (m_i >= m_n || digits == 0) return false;
    ++m_i;  // ';'
    const bool xmlChar =
        value == 0x9 || value == 0xA || value == 0xD || (value >= 0x20 && value <= 0xD7FF) ||
        (value >= 0xE000 && value <= 0xFFFD) || (value >= 0x10000 && value <= 0x10FFFF);
    if (!xmlChar || value == u']') return false;
    if (value >= 0x10000) {
      out += QChar(QChar::highSurrogate(value));
      out += QChar(QChar::lowSurrogate(value));
    } else {
      out += QChar(char16_t(value));
    }
    return true;
  }
  static constexpr struct {
    const char *name;
    char16_t value;
  } kEntities[] = {{"amp;", u'&'}, {"lt;", u'<'}, {"gt;", u'>'}, {"quot;", u'"'}, {"apos;", u'\''}};
  for (const auto &entity : kEntities) {
    if (at(entity.name)) {
      m_i += qsizetype(qstrlen(entity.name));
      out += QChar(entity.value);
      return true;
    }
  }
  return false;
}

// Character data up to the next "<", appended to out with references
// resolved and line ends made "\n".
bool Scanner::text(QString &out) {
  while (m_i < m_n) {
    const char16_t u = m_s[m_i];
    if (u == u'<') return true;
    if (u == u'&') {
      if (!reference(out)) return false;
      continue;
    }
    if (u == u'\r') {
      out += u'\n';
      ++m_i;
      if (m_i < m_n && m_s[m_i] == u'\n') ++m_i;
      continue;
    }
    if (u == u']') {
      if (m_i + 1 >= m_n) return false;
      const char16_t next = m_s[m_i + 1];
      if (next == u']' || next == u'>' || next == 0) return false;
      out += u']';
      ++m_i;
      continue;
    }
    // Plain runs are copied in one go.
    const qsizetype start = m_i;
    while (m_i < m_n) {
      const char16_t v = m_s[m_i];
      if (v >= 0x20 && v < 0xD800) {
        if (v == u'<' || v == u'&' || v == u']') break;
        ++m_i;
      } else if (v < 0x20) {
        if (v == u'\r') break;
        if (v != u'\t' && v != u'\n') return false;
        ++m_i;
      } else if (isHighSurrogate(v)) {
        if (m_i + 1 >= m_n || !isLowSurrogate(m_s[m_i + 1])) return false;
        m_i += 2;
      } else {
        if (isLowSurrogate(v) || v >= 0xFFFE) return false;
        ++m_i;
      }
    }
    out.append(reinterpret_cast<const QChar *>(m_s + start), m_i - start);
  }
  return true;
}

PlainXmlRead Scanner::read(XmlElement &root) {
  constexpr PlainXmlRead kNotPlain = PlainXmlRead::NotPlain;
  if (m_n > 0 && m_s[0] == 0xFEFF) ++m_i;  // a byte order mark
  if (at("<?xml") && m_i + 5 < m_n && isSpace(m_s[m_i + 5]) && !declaration()) return kNotPlain;
  if (!misc()) return kNotPlain;
  if (m_i + 1 >= m_n || m_s[m_i] != u'<' || !isNameStart(m_s[m_i + 1])) return kNotPlain;

  // The open elements, outermost first, with their names. Only the
  // innermost one gains children, so the pointers stay valid.
  std::vector<XmlElement *> open;
  std::vector<QStringView> openNames;
  QString run;  // text since the last tag; its buffer is reused
  auto flushRun = [&] { KeepTextRun(*open.back(), run); };

  for (;;) {
    if (m_i >= m_n) return kNotPlain;  // an element is still open
    if (m_s[m_i] != u'<') {
      if (!text(run)) return kNotPlain;
      continue;
    }
    if (m_i + 1 >= m_n) return kNotPlain;
    const char16_t next = m_s[m_i + 1];
    if (next == u'/') {
      if (!endTag(openNames.back())) return kNotPlain;
      flushRun();
      open.pop_back();
      openNames.pop_back();
      if (open.empty()) break;
      continue;
    }
    if (next == u'!') {
      if (at("<!--")) {
        if (!comment()) return kNotPlain;
      } else if (at("<![CDATA[")) {
        if (!cdata(run)) return kNotPlain;
      } else {
        return kNotPlain;
      }
      continue;
    }
    if (next == u'?') {
      if (!processingInstruction()) return kNotPlain;
      continue;
    }
    QStringView tagName;
    bool empty = false;
    if (!startTag(&tagName, &empty)) return kNotPlain;
    if (static_cast<int>(open.size()) >= m_maxDepth) return PlainXmlRead::TooDeep;
    XmlElement *element;
    if (open.empty()) {
      element = &root;
    } else {
      flushRun();
      open.back()->children.emplace_back();
      element = &open.back()->children.back();
    }
    element->name = m_names.get(tagName);
    if (empty) {
      if (open.empty()) break;
      continue;
    }
    open.push_back(element);
    openNames.push_back(tagName);
  }
  // After the root: only white space, comments and processing instructions.
  if (!misc() || m_i < m_n) return kNotPlain;
  return PlainXmlRead::Read;
}

}  // namespace

PlainXmlRead ReadPlainXmlTree(const QString &text, XmlElement &root, int maxDepth) {
  root = XmlElement();
  Scanner scanner(text, maxDepth);
  return scanner.read(root);
}
