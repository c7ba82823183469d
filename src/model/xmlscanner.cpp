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
//  - duplicate attributes and white space inside attribute values left to
//    the stream reader.
#include "model/xmlscanner.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

namespace {

constexpr qsizetype kMaxName = 1024;

// What an ASCII character may be, looked up rather than compared.
enum : quint8 { kSpace = 1, kNameStart = 2, kNameChar = 4, kPlainText = 8 };

constexpr std::array<quint8, 128> makeClasses() {
  std::array<quint8, 128> table{};
  for (int c = 0; c < 128; ++c) {
    quint8 k = 0;
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') k |= kSpace;
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    if (letter) k |= kNameStart | kNameChar;
    if ((c >= '0' && c <= '9') || c == '.' || c == '-') k |= kNameChar;
    // Text taken as it stands: no markup, reference, "]" or line end to look at.
    if ((c >= 0x20 && c != '<' && c != '&' && c != ']') || c == '\t' || c == '\n') k |= kPlainText;
    table[size_t(c)] = k;
  }
  return table;
}
constexpr std::array<quint8, 128> kClasses = makeClasses();

bool is(char16_t c, quint8 kind) { return c < 128 && (kClasses[c] & kind); }
bool isSpace(char16_t c) { return is(c, kSpace); }
bool isNameStart(char16_t c) { return is(c, kNameStart); }
bool isNameChar(char16_t c) { return is(c, kNameChar); }

bool sameText(QStringView a, QStringView b) {
  return a.size() == b.size() && std::equal(a.utf16(), a.utf16() + a.size(), b.utf16());
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

using Result = PlainXmlScan::Result;

// Something read between two tags, passed on when the next tag is whole.
struct Pending {
  enum Kind : quint8 { Text, CData, Comment, Instruction, Declaration } kind;
  bool valueInScratch;   // the value lies in the scratch text, not the source
  qsizetype start, end;  // the source
  qsizetype value, valueLength;
  qsizetype targetLength;  // processing instructions: the target at start + 2
};

// "\n" and blanks: the value of the line breaks between the tags of a file
// laid out with CR LF, given without resolving them into the scratch text.
constexpr char16_t kLineBreakAndBlanks[] =
    u"\n                                                                ";

class Scanner {
 public:
  Scanner(QStringView text, XmlHandler &handler, const XmlLimits &limits)
      : m_s(reinterpret_cast<const char16_t *>(text.data())),
        m_n(text.size()),
        m_handler(handler),
        m_limits(limits) {}

  PlainXmlScan read();

 private:
  bool at(const char *literal) const {
    qsizetype i = m_i;
    for (const char *p = literal; *p; ++p, ++i)
      if (i >= m_n || m_s[i] != char16_t(*p)) return false;
    return true;
  }
  QStringView view(qsizetype start, qsizetype end) const {
    return QStringView(m_s + start, end - start);
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
  // Holds an item that ends here; its value lies in the source.
  void hold(Pending::Kind kind, qsizetype start, qsizetype valueStart, qsizetype valueEnd,
            qsizetype targetLength = 0) {
    // Filled in place, in slots kept from earlier items: constructing or
    // copying the item costs more than all the rest here.
    if (m_held == m_pending.size()) m_pending.resize(2 * m_held + 8);
    Pending &p = m_pending[m_held++];
    p.kind = kind;
    p.valueInScratch = false;
    p.start = start;
    p.end = m_i;
    p.value = valueStart;
    p.valueLength = valueEnd - valueStart;
    p.targetLength = targetLength;
  }
  // The same for a value resolved into the scratch text from `scratchStart`.
  void holdScratch(Pending::Kind kind, qsizetype start, qsizetype scratchStart) {
    hold(kind, start, scratchStart, m_scratch.size());
    m_pending[m_held - 1].valueInScratch = true;
  }
  void passPending();
  bool name(QStringView *out, bool prefixed);
  bool declaration();
  bool pseudoAttribute(const char *attribute, QStringView *value);
  bool misc();
  bool whiteSpace();
  bool comment();
  bool processingInstruction();
  bool cdata();
  Result startTag(QStringView *tagName, bool *empty);
  bool endTag(QStringView expected);
  bool text();
  bool reference(QString &out);

  const char16_t *m_s;
  qsizetype m_n;
  qsizetype m_i = 0;
  XmlHandler &m_handler;
  const XmlLimits &m_limits;
  std::vector<Pending> m_pending;  // the first m_held are held
  size_t m_held = 0;
  QString m_scratch;                       // values of the pending items that are not the source's
  std::vector<XmlAttribute> m_attributes;  // of the current start tag
  std::vector<qsizetype> m_attributeValues;  // start, end (negative: in m_attributeScratch)
  QString m_attributeScratch;
};

void Scanner::passPending() {
  for (size_t k = 0; k < m_held; ++k) {
    const Pending &p = m_pending[k];
    const QStringView source = view(p.start, p.end);
    const QStringView value = p.valueInScratch ? QStringView(m_scratch).mid(p.value, p.valueLength)
                              : p.value < 0    ? QStringView(kLineBreakAndBlanks, p.valueLength)
                                               : QStringView(m_s + p.value, p.valueLength);
    switch (p.kind) {
      case Pending::Text:
        m_handler.text(value, source);
        break;
      case Pending::CData:
        m_handler.cdata(value, source);
        break;
      case Pending::Comment:
        m_handler.comment(value, source);
        break;
      case Pending::Instruction:
        m_handler.processingInstruction(view(p.start + 2, p.start + 2 + p.targetLength), value,
                                        source);
        break;
      case Pending::Declaration:
        m_handler.declaration(source);
        break;
    }
  }
  m_held = 0;
  if (!m_scratch.isEmpty()) m_scratch.resize(0);
}

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
  *out = view(start, m_i);
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
  *value = view(start, m_i);
  ++m_i;
  return true;
}

// At "<?xml" and white space, the first thing in the text: version 1.0, then
// optionally an encoding name and standalone yes or no, in that order.
bool Scanner::declaration() {
  const qsizetype start = m_i;
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
  hold(Pending::Declaration, start, start, start);
  return true;
}

// White space outside the root element, its line ends made "\n".
bool Scanner::whiteSpace() {
  const qsizetype start = m_i;
  bool carriageReturn = false;
  for (; m_i < m_n && isSpace(m_s[m_i]); ++m_i) carriageReturn |= m_s[m_i] == u'\r';
  if (m_i == start) return false;
  if (!carriageReturn) {
    hold(Pending::Text, start, start, m_i);
    return true;
  }
  const qsizetype scratchStart = m_scratch.size();
  for (qsizetype k = start; k < m_i; ++k) {
    if (m_s[k] != u'\r')
      m_scratch += QChar(m_s[k]);
    else if (k + 1 >= m_i || m_s[k + 1] != u'\n')
      m_scratch += u'\n';
  }
  holdScratch(Pending::Text, start, scratchStart);
  return true;
}

// White space, comments and processing instructions around the root.
bool Scanner::misc() {
  for (;;) {
    whiteSpace();
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
  const qsizetype start = m_i;
  m_i += 4;  // "<!--"
  while (m_i < m_n) {
    if (m_s[m_i] == u'-' && m_i + 1 < m_n && m_s[m_i + 1] == u'-') {
      if (m_i + 2 >= m_n || m_s[m_i + 2] != u'>') return false;
      const qsizetype valueEnd = m_i;
      m_i += 3;
      hold(Pending::Comment, start, start + 4, valueEnd);
      return true;
    }
    int len;
    if (!markupChar(&len)) return false;
    m_i += len;
  }
  return false;
}

bool Scanner::processingInstruction() {
  const qsizetype start = m_i;
  m_i += 2;  // "<?"
  QStringView target;
  if (!name(&target, false) || target.compare(u"xml", Qt::CaseInsensitive) == 0) return false;
  if (m_s[m_i] == u'?') {
    if (m_i + 1 >= m_n || m_s[m_i + 1] != u'>') return false;
    const qsizetype valueAt = m_i;
    m_i += 2;
    hold(Pending::Instruction, start, valueAt, valueAt, target.size());
    return true;
  }
  if (!skipSpace()) return false;
  const qsizetype valueStart = m_i;
  while (m_i < m_n) {
    if (m_s[m_i] == u'?' && m_i + 1 < m_n && m_s[m_i + 1] == u'>') {
      const qsizetype valueEnd = m_i;
      m_i += 2;
      hold(Pending::Instruction, start, valueStart, valueEnd, target.size());
      return true;
    }
    int len;
    if (!markupChar(&len)) return false;
    m_i += len;
  }
  return false;
}

bool Scanner::cdata() {
  const qsizetype start = m_i;
  m_i += 9;  // "<![CDATA["
  const qsizetype scratchStart = m_scratch.size();
  while (m_i < m_n) {
    const qsizetype run = m_i;
    while (m_i < m_n) {
      const char16_t c = m_s[m_i];
      if (c == u']' || c == u'\r') break;
      int len;
      if (!markupChar(&len)) return false;
      m_i += len;
    }
    m_scratch.append(reinterpret_cast<const QChar *>(m_s + run), m_i - run);
    if (m_i >= m_n) return false;
    if (m_s[m_i] == u'\r') {
      m_scratch += u'\n';
      ++m_i;
      if (m_i < m_n && m_s[m_i] == u'\n') ++m_i;
    } else if (m_i + 2 < m_n && m_s[m_i + 1] == u']' && m_s[m_i + 2] == u'>') {
      m_i += 3;
      holdScratch(Pending::CData, start, scratchStart);
      return true;
    } else {
      m_scratch += u']';
      ++m_i;
    }
  }
  return false;
}

// After "<": the name, the attributes, then ">" or "/>".
Result Scanner::startTag(QStringView *tagName, bool *empty) {
  ++m_i;
  if (!name(tagName, true)) return Result::NotPlain;
  m_attributes.clear();
  m_attributeValues.clear();
  if (!m_attributeScratch.isEmpty()) m_attributeScratch.resize(0);
  for (;;) {
    const bool spaced = skipSpace();
    if (m_i >= m_n) return Result::NotPlain;
    if (m_s[m_i] == u'>' || m_s[m_i] == u'/') {
      *empty = m_s[m_i] == u'/';
      if (*empty && (m_i + 1 >= m_n || m_s[m_i + 1] != u'>')) return Result::NotPlain;
      m_i += *empty ? 2 : 1;
      // The values are views once the scratch text no longer grows.
      for (size_t k = 0; k < m_attributes.size(); ++k) {
        const qsizetype start = m_attributeValues[2 * k], end = m_attributeValues[2 * k + 1];
        m_attributes[k].value =
            start >= 0 ? view(start, end) : QStringView(m_attributeScratch).mid(~start, end);
      }
      return Result::Read;
    }
    QStringView attribute;
    if (!spaced || !name(&attribute, true) || m_s[m_i] == u'/' || m_s[m_i] == u'>' ||
        m_s[m_i] == u'?')
      return Result::NotPlain;
    if (static_cast<int>(m_attributes.size()) >= m_limits.maxAttributes)
      return Result::TooManyAttributes;
    for (const XmlAttribute &other : m_attributes)
      if (sameText(other.name, attribute)) return Result::NotPlain;
    skipSpace();
    if (m_i >= m_n || m_s[m_i] != u'=') return Result::NotPlain;
    ++m_i;
    skipSpace();
    if (m_i >= m_n || (m_s[m_i] != u'"' && m_s[m_i] != u'\'')) return Result::NotPlain;
    const char16_t quote = m_s[m_i++];
    const qsizetype valueStart = m_i;
    qsizetype scratchStart = -1;  // set once the value needs resolving
    for (;;) {
      if (m_i >= m_n) return Result::NotPlain;
      const char16_t c = m_s[m_i];
      if (c == quote) break;
      if (c == u'<' || c == u'\t' || c == u'\n' || c == u'\r') return Result::NotPlain;
      if (c == u'&') {
        if (scratchStart < 0) {
          scratchStart = m_attributeScratch.size();
          m_attributeScratch.append(reinterpret_cast<const QChar *>(m_s + valueStart),
                                    m_i - valueStart);
        }
        if (!reference(m_attributeScratch)) return Result::NotPlain;
        continue;
      }
      int len;
      if (!markupChar(&len)) return Result::NotPlain;
      if (scratchStart >= 0)
        m_attributeScratch.append(reinterpret_cast<const QChar *>(m_s + m_i), len);
      m_i += len;
    }
    m_attributes.push_back({attribute, QStringView()});
    if (scratchStart < 0) {
      m_attributeValues.push_back(valueStart);
      m_attributeValues.push_back(m_i);
    } else {
      m_attributeValues.push_back(~scratchStart);
      m_attributeValues.push_back(m_attributeScratch.size() - scratchStart);
    }
    ++m_i;  // the closing quote
  }
}

// After "</": the name must close the open element.
bool Scanner::endTag(QStringView expected) {
  m_i += 2;
  // The open element's name was read whole: here it need only match and end.
  const qsizetype end = m_i + expected.size();
  if (end >= m_n || !sameText(QStringView(m_s + m_i, expected.size()), expected) ||
      isNameChar(m_s[end]) || m_s[end] == u':')
    return false;
  m_i = end;
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

// Character data up to the next "<", held with references resolved and line
// ends made "\n". A run that needs neither stays a view of the source.
bool Scanner::text() {
  const qsizetype start = m_i;
  if (m_s[m_i] == u'\r' && m_i + 1 < m_n && m_s[m_i + 1] == u'\n') {
    qsizetype end = m_i + 2;
    while (end < m_n && m_s[end] == u' ') ++end;
    const qsizetype length = end - m_i - 1;
    if (end < m_n && m_s[end] == u'<' && length < qsizetype(std::size(kLineBreakAndBlanks))) {
      m_i = end;
      hold(Pending::Text, start, 0, length);
      m_pending[m_held - 1].value = -1;  // the value is kLineBreakAndBlanks
      return true;
    }
  }
  qsizetype scratchStart = -1;  // set once the run needs resolving
  for (;;) {
    // Plain characters are taken in one go.
    const qsizetype plain = m_i;
    while (m_i < m_n) {
      const char16_t v = m_s[m_i];
      if (v < 128) {
        if (kClasses[v] & kPlainText) {
          ++m_i;
          continue;
        }
        if (v != u']') break;  // markup, a reference, a line end or a control
        if (m_i + 1 >= m_n) return false;
        const char16_t next = m_s[m_i + 1];
        if (next == u']' || next == u'>' || next == 0) return false;
        ++m_i;
      } else if (v < 0xD800) {
        ++m_i;
      } else if (isHighSurrogate(v)) {
        if (m_i + 1 >= m_n || !isLowSurrogate(m_s[m_i + 1])) return false;
        m_i += 2;
      } else {
        if (isLowSurrogate(v) || v >= 0xFFFE) return false;
        ++m_i;
      }
    }
    if (scratchStart >= 0)
      m_scratch.append(reinterpret_cast<const QChar *>(m_s + plain), m_i - plain);
    if (m_i >= m_n || m_s[m_i] == u'<') break;
    if (m_s[m_i] != u'&' && m_s[m_i] != u'\r') return false;  // a control character
    if (scratchStart < 0) {
      scratchStart = m_scratch.size();
      m_scratch.append(reinterpret_cast<const QChar *>(m_s + start), m_i - start);
    }
    if (m_s[m_i] == u'&') {
      if (!reference(m_scratch)) return false;
    } else {  // "\r", alone or before "\n"
      m_scratch += u'\n';
      ++m_i;
      if (m_i < m_n && m_s[m_i] == u'\n') ++m_i;
    }
  }
  if (scratchStart < 0)
    hold(Pending::Text, start, start, m_i);
  else
    holdScratch(Pending::Text, start, scratchStart);
  return true;
}

PlainXmlScan Scanner::read() {
  PlainXmlScan scan;
  if (m_n > 0 && m_s[0] == 0xFEFF) {  // a byte order mark
    ++m_i;
    hold(Pending::Text, 0, 0, 0);
  }
  if (at("<?xml") && m_i + 5 < m_n && isSpace(m_s[m_i + 5]) && !declaration()) return scan;
  if (!misc()) return scan;
  if (m_i + 1 >= m_n || m_s[m_i] != u'<' || !isNameStart(m_s[m_i + 1])) return scan;

  // The names of the open elements, outermost first.
  std::vector<QStringView> open;
  for (;;) {
    if (m_i >= m_n) return scan;  // an element is still open
    if (m_s[m_i] != u'<') {
      if (!text()) return scan;
      continue;
    }
    if (m_i + 1 >= m_n) return scan;
    const qsizetype tagStart = m_i;
    const char16_t next = m_s[m_i + 1];
    if (next == u'/') {
      if (!endTag(open.back())) return scan;
      passPending();
      m_handler.endElement(view(tagStart, m_i));
      ++scan.tags;
      open.pop_back();
      if (open.empty()) break;
      continue;
    }
    if (next == u'!') {
      if (at("<!--")) {
        if (!comment()) return scan;
      } else if (at("<![CDATA[")) {
        if (!cdata()) return scan;
      } else {
        return scan;
      }
      continue;
    }
    if (next == u'?') {
      if (!processingInstruction()) return scan;
      continue;
    }
    QStringView tagName;
    bool empty = false;
    const Result tag = startTag(&tagName, &empty);
    if (tag != Result::Read || static_cast<int>(open.size()) >= m_limits.maxDepth) {
      scan.result = tag == Result::Read ? Result::TooDeep : tag;
      scan.offset = tagStart;
      return scan;
    }
    passPending();
    m_handler.startElement(tagName, m_attributes, view(tagStart, m_i));
    ++scan.tags;
    if (empty) {
      m_handler.endElement(QStringView(m_s + m_i, qsizetype(0)));
      ++scan.tags;
      if (open.empty()) break;
      continue;
    }
    open.push_back(tagName);
  }
  // After the root: only white space, comments and processing instructions.
  if (!misc() || m_i < m_n) return scan;
  passPending();
  scan.result = Result::Read;
  return scan;
}

}  // namespace

PlainXmlScan scanPlainXml(QStringView text, XmlHandler &handler, const XmlLimits &limits) {
  Scanner scanner(text, handler, limits);
  return scanner.read();
}
