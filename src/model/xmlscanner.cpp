// A single-pass reader of XML text into the light element tree. It reads
// only what panel files, clipboard texts and the hardware map need and
// refuses everything else that is not plain, well-formed XML: a DOCTYPE,
// entities other than the five predefined ones, nesting beyond the limit,
// characters XML cannot carry, and every well-formedness fault.
#include <QHash>
#include <QSet>
#include <array>
#include <cstring>

#include "model/xmldoc.h"

namespace {

bool isXmlChar(char32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool isSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

// Name characters: ASCII letters and "_", then also ":", digits, "-" and
// "."; beyond ASCII every character XML can carry.
bool isNameStart(char32_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' ||
         (c >= 0x80 && isXmlChar(c));
}

bool isNameChar(char32_t c) {
  return isNameStart(c) || c == u':' || c == u'-' || c == u'.' ||
         (c >= u'0' && c <= u'9');
}

// Element names repeat thousands of times in a large document; equal names
// share one string. A small table indexed by the name's hash keeps the
// memory bounded.
class NameCache {
 public:
  QString get(QStringView name) {
    QString &slot = m_slots[qHash(name) % m_slots.size()];
    if (slot != name) slot = name.toString();
    return slot;
  }

 private:
  std::array<QString, 1024> m_slots;
};

class Scanner {
 public:
  Scanner(const QString &text, int maxDepth)
      : m_s(reinterpret_cast<const char16_t *>(text.constData())),
        m_n(text.size()),
        m_maxDepth(maxDepth) {}

  bool parse(XmlElement &root);

 private:
  bool at(const char *literal) const {
    qsizetype i = m_i;
    for (const char *p = literal; *p; ++p, ++i)
      if (i >= m_n || m_s[i] != char16_t(*p)) return false;
    return true;
  }
  // The character at the position (a surrogate pair as one), and its length.
  bool next(char32_t *c, int *len) const {
    if (m_i >= m_n) return false;
    const char16_t u = m_s[m_i];
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (m_i + 1 >= m_n) return false;
      const char16_t low = m_s[m_i + 1];
      if (low < 0xDC00 || low > 0xDFFF) return false;
      *c = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (low - 0xDC00);
      *len = 2;
      return true;
    }
    if (u >= 0xDC00 && u <= 0xDFFF) return false;
    *c = u;
    *len = 1;
    return true;
  }
  void skipSpace() {
    while (m_i < m_n && isSpace(m_s[m_i])) ++m_i;
  }
  bool name(QStringView *out);
  bool reference(QString &out);
  bool comment();
  bool processingInstruction(bool atStart);
  bool declaration();
  bool pseudoAttribute(const char *name, bool required, QStringView *value);
  bool cdata(QString &out);
  bool startTag(QStringView *tagName, bool *empty);
  bool endTag(QStringView expected);
  bool text(QString &out);
  bool misc(bool atStart);

  const char16_t *m_s;
  qsizetype m_n;
  qsizetype m_i = 0;
  int m_maxDepth;
  NameCache m_names;
};

bool Scanner::name(QStringView *out) {
  const qsizetype start = m_i;
  char32_t c;
  int len;
  if (!next(&c, &len) || !isNameStart(c)) return false;
  m_i += len;
  qsizetype colon = -1;
  while (next(&c, &len) && isNameChar(c)) {
    if (c == u':') {
      if (colon >= 0) return false;  // a prefix and a local part at most
      colon = m_i;
    }
    m_i += len;
  }
  if (colon >= 0) {  // the local part must be a name of its own
    char32_t first;
    const qsizetype end = m_i;
    m_i = colon + 1;
    const bool ok = next(&first, &len) && m_i < end && isNameStart(first);
    m_i = end;
    if (!ok) return false;
  }
  *out = QStringView(m_s + start, m_i - start);
  return true;
}

// After "&": a predefined entity or a character reference, appended to out.
bool Scanner::reference(QString &out) {
  ++m_i;  // '&'
  if (m_i < m_n && m_s[m_i] == u'#') {
    ++m_i;
    const bool hex = m_i < m_n && m_s[m_i] == u'x';
    if (hex) ++m_i;
    char32_t value = 0;
    qsizetype digits = 0;
    while (m_i < m_n && m_s[m_i] != u';') {
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
      value = value * (hex ? 16 : 10) + v;
      if (value > 0x10FFFF) return false;
      ++digits;
      ++m_i;
    }
    if (m_i >= m_n || digits == 0 || !isXmlChar(value)) return false;
    ++m_i;  // ';'
    if (value >= 0x10000) {
      out += QChar(QChar::highSurrogate(value));
      out += QChar(QChar::lowSurrogate(value));
    } else {
      out += QChar(char16_t(value));
    }
    return true;
  }
  QStringView entity;
  if (!name(&entity) || m_i >= m_n || m_s[m_i] != u';') return false;
  ++m_i;
  if (entity == u"amp")
    out += u'&';
  else if (entity == u"lt")
    out += u'<';
  else if (entity == u"gt")
    out += u'>';
  else if (entity == u"quot")
    out += u'"';
  else if (entity == u"apos")
    out += u'\'';
  else
    return false;  // no other entity is ever expanded
  return true;
}

bool Scanner::comment() {
  m_i += 4;  // "<!--"
  for (;;) {
    if (m_i + 1 >= m_n) return false;
    if (m_s[m_i] == u'-' && m_s[m_i + 1] == u'-') {
      if (m_i + 2 < m_n && m_s[m_i + 2] == u'>') {
        m_i += 3;
        return true;
      }
      return false;  // "--" inside a comment
    }
    char32_t c;
    int len;
    if (!next(&c, &len) || !isXmlChar(c)) return false;
    m_i += len;
  }
}

bool Scanner::processingInstruction(bool atStart) {
  m_i += 2;  // "<?"
  QStringView target;
  if (!name(&target) || target.contains(u':')) return false;
  const bool isDeclaration = target.compare(u"xml", Qt::CaseInsensitive) == 0;
  if (isDeclaration && (!atStart || target != u"xml")) return false;
  if (m_i < m_n && !isSpace(m_s[m_i]) && !at("?>")) return false;
  if (isDeclaration) return declaration();
  for (;;) {
    if (m_i + 1 >= m_n) return false;
    if (m_s[m_i] == u'?' && m_s[m_i + 1] == u'>') {
      m_i += 2;
      return true;
    }
    char32_t c;
    int len;
    if (!next(&c, &len) || !isXmlChar(c)) return false;
    m_i += len;
  }
}

// ` name = "value"` of the XML declaration; false when malformed, or when
// missing and required.
bool Scanner::pseudoAttribute(const char *attribute, bool required, QStringView *value) {
  const qsizetype start = m_i;
  skipSpace();
  if (m_i == start || !at(attribute)) {
    m_i = start;
    return !required;
  }
  m_i += qsizetype(strlen(attribute));
  skipSpace();
  if (m_i >= m_n || m_s[m_i] != u'=') return false;
  ++m_i;
  skipSpace();
  if (m_i >= m_n || (m_s[m_i] != u'"' && m_s[m_i] != u'\'')) return false;
  const char16_t quote = m_s[m_i++];
  const qsizetype valueStart = m_i;
  while (m_i < m_n && m_s[m_i] != quote) ++m_i;
  if (m_i >= m_n) return false;
  *value = QStringView(m_s + valueStart, m_i - valueStart);
  ++m_i;
  return true;
}

// After "<?xml": version, then optional encoding and standalone, then "?>".
bool Scanner::declaration() {
  QStringView version, encoding, standalone;
  if (!pseudoAttribute("version", true, &version)) return false;
  if (version != u"1.0") return false;
  if (!pseudoAttribute("encoding", false, &encoding)) return false;
  if (!encoding.isNull()) {
    if (encoding.isEmpty()) return false;
    for (qsizetype k = 0; k < encoding.size(); ++k) {
      const char16_t c = encoding[k].unicode();
      const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
      const bool other = (c >= u'0' && c <= u'9') || c == u'.' || c == u'_' || c == u'-';
      if (!(letter || (k > 0 && other))) return false;
    }
  }
  if (!pseudoAttribute("standalone", false, &standalone)) return false;
  if (!standalone.isNull() && standalone != u"yes" && standalone != u"no") return false;
  skipSpace();
  if (!at("?>")) return false;
  m_i += 2;
  return true;
}

bool Scanner::cdata(QString &out) {
  m_i += 9;  // "<![CDATA["
  for (;;) {
    if (m_i + 2 >= m_n) return false;
    if (m_s[m_i] == u']' && m_s[m_i + 1] == u']' && m_s[m_i + 2] == u'>') {
      m_i += 3;
      return true;
    }
    char32_t c;
    int len;
    if (!next(&c, &len) || !isXmlChar(c)) return false;
    if (c == u'\r') {
      out += u'\n';
      if (m_i + 1 < m_n && m_s[m_i + 1] == u'\n') ++m_i;
    } else {
      out.append(reinterpret_cast<const QChar *>(m_s + m_i), len);
    }
    m_i += len;
  }
}

// After "<": the name, the attributes (checked, not kept) and "/>" or ">".
bool Scanner::startTag(QStringView *tagName, bool *empty) {
  ++m_i;
  if (!name(tagName)) return false;
  std::vector<QStringView> seen;
  QString scratch;
  for (;;) {
    const qsizetype before = m_i;
    skipSpace();
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
    if (m_i == before) return false;  // attributes are separated by white space
    QStringView attribute;
    if (!name(&attribute)) return false;
    for (QStringView other : seen)
      if (other == attribute) return false;
    seen.push_back(attribute);
    skipSpace();
    if (m_i >= m_n || m_s[m_i] != u'=') return false;
    ++m_i;
    skipSpace();
    if (m_i >= m_n || (m_s[m_i] != u'"' && m_s[m_i] != u'\'')) return false;
    const char16_t quote = m_s[m_i++];
    for (;;) {
      if (m_i >= m_n) return false;
      const char16_t u = m_s[m_i];
      if (u == quote) {
        ++m_i;
        break;
      }
      if (u == u'<') return false;
      if (u == u'&') {
        scratch.resize(0);
        if (!reference(scratch)) return false;
        continue;
      }
      char32_t c;
      int len;
      if (!next(&c, &len) || !isXmlChar(c)) return false;
      m_i += len;
    }
  }
}

// After "</": the name must close the open element.
bool Scanner::endTag(QStringView expected) {
  m_i += 2;
  QStringView tagName;
  if (!name(&tagName) || tagName != expected) return false;
  skipSpace();
  if (m_i >= m_n || m_s[m_i] != u'>') return false;
  ++m_i;
  return true;
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
    if (u == u']' && m_i + 2 < m_n && m_s[m_i + 1] == u']' && m_s[m_i + 2] == u'>') return false;
    if (u == u'\r') {
      out += u'\n';
      ++m_i;
      if (m_i < m_n && m_s[m_i] == u'\n') ++m_i;
      continue;
    }
    // Plain runs are copied in one go.
    const qsizetype start = m_i;
    while (m_i < m_n) {
      const char16_t v = m_s[m_i];
      if (v == u'<' || v == u'&' || v == u'\r' || v == u']') break;
      if (v < 0x20 && v != u'\t' && v != u'\n') return false;
      if (v >= 0xD800) {
        char32_t c;
        int len;
        if (!next(&c, &len) || !isXmlChar(c)) return false;
        m_i += len;
        continue;
      }
      ++m_i;
    }
    if (m_i == start) {  // a lone "]"
      out += u']';
      ++m_i;
      continue;
    }
    out.append(reinterpret_cast<const QChar *>(m_s + start), m_i - start);
  }
  return true;
}

// White space, comments and processing instructions outside the root; at
// the start of the document also the XML declaration, which must come first.
bool Scanner::misc(bool atStart) {
  if (atStart && at("<?xml") && m_i + 5 < m_n && isSpace(m_s[m_i + 5])) {
    if (!processingInstruction(true)) return false;
  }
  for (;;) {
    skipSpace();
    if (at("<!--")) {
      if (!comment()) return false;
    } else if (at("<?")) {
      if (!processingInstruction(false)) return false;
    } else {
      return true;
    }
  }
}

bool Scanner::parse(XmlElement &root) {
  if (m_n > 0 && m_s[0] == 0xFEFF) ++m_i;  // a byte order mark
  if (!misc(true)) return false;
  if (at("<!DOCTYPE") || !at("<")) return false;
  if (m_i + 1 >= m_n || m_s[m_i + 1] == u'/' || m_s[m_i + 1] == u'!' || m_s[m_i + 1] == u'?')
    return false;

  // The open elements, outermost first, with their names.
  std::vector<XmlElement *> open;
  std::vector<QStringView> openNames;
  // Text since the last tag. Most runs are one plain stretch of the input
  // ending at a tag; those stay a view of the input until they are kept.
  // Others are built in `run`, whose buffer is reused.
  QStringView plain;
  QString run;
  auto spill = [&] {  // the plain stretch joins the built text
    if (!plain.isEmpty()) run.append(plain);
    plain = QStringView();
  };
  auto flushRun = [&] {
    const QStringView pending = plain.isEmpty() ? QStringView(run) : plain;
    if (!open.empty() && !pending.isEmpty()) {
      bool blank = true;
      for (QChar c : pending)
        if (!isSpace(c.unicode())) {
          blank = false;
          break;
        }
      if (!blank) {
        QString &target = open.back()->text;
        if (target.isEmpty())
          target = pending.toString();
        else
          target += pending;
      }
    }
    plain = QStringView();
    run.resize(0);
  };
  // A stretch of characters that need no translation, up to a tag.
  auto plainStretch = [&](qsizetype *end) {
    qsizetype j = m_i;
    while (j < m_n) {
      const char16_t c = m_s[j];
      if (c == u'<' || c == u'&' || c == u'\r' || c == u']' || c >= 0xD800 ||
          (c < 0x20 && c != u'\t' && c != u'\n'))
        break;
      ++j;
    }
    *end = j;
    return j < m_n && m_s[j] == u'<';
  };

  for (;;) {
    if (m_i >= m_n) return false;  // an element is still open
    if (m_s[m_i] != u'<') {
      if (open.empty()) return false;
      qsizetype end = 0;
      if (plain.isEmpty() && run.isEmpty() && plainStretch(&end)) {
        plain = QStringView(m_s + m_i, end - m_i);
        m_i = end;
        continue;
      }
      spill();
      if (!text(run)) return false;
      continue;
    }
    if (at("</")) {
      if (open.empty() || !endTag(openNames.back())) return false;
      flushRun();
      open.pop_back();
      openNames.pop_back();
      if (open.empty()) break;
      continue;
    }
    if (at("<!--")) {
      if (!comment()) return false;
      continue;
    }
    if (at("<![CDATA[")) {
      spill();
      if (open.empty() || !cdata(run)) return false;
      continue;
    }
    if (at("<?")) {
      if (!processingInstruction(false)) return false;
      continue;
    }
    if (at("<!")) return false;  // a DOCTYPE or other declaration
    QStringView tagName;
    bool empty = false;
    if (!startTag(&tagName, &empty)) return false;
    if (static_cast<int>(open.size()) >= m_maxDepth) return false;
    flushRun();
    XmlElement *element;
    if (open.empty()) {
      element = &root;
    } else {
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
  if (!misc(false)) return false;
  return m_i >= m_n;
}

}  // namespace

bool ParseXmlTree(const QString &text, XmlElement &root, int maxDepth) {
  root = XmlElement();
  Scanner scanner(text, maxDepth);
  if (!scanner.parse(root)) {
    root = XmlElement();
    return false;
  }
  return true;
}
