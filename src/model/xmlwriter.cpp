#include "model/xmlwriter.h"

#include <array>

namespace {

// Whether a character is written as it stands in element content; '"' too
// outside attribute values. ASCII is looked up: most text is ASCII.
constexpr std::array<bool, 128> plainAscii(bool attribute) {
  std::array<bool, 128> plain{};
  for (int c = 0; c < 128; ++c)
    plain[size_t(c)] =
        (c >= 0x20 && c != '&' && c != '<' && c != '>' && (c != '"' || !attribute)) || c == '\t' ||
        c == '\n' || c == '\r';
  return plain;
}
constexpr std::array<bool, 128> kPlainText = plainAscii(false);
constexpr std::array<bool, 128> kPlainAttribute = plainAscii(true);

inline bool isPlain(char16_t u, bool attribute) {
  if (u < 128) return attribute ? kPlainAttribute[u] : kPlainText[u];
  return u < 0xD800 || (u >= 0xE000 && u < 0xFFFE);
}

template <class Writer>
void escapeInto(Writer &w, QStringView text, bool attribute) {
  const qsizetype n = text.size();
  qsizetype plain = 0;  // start of the run copied as it stands
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t u = text[i].unicode();
    if (isPlain(u, attribute)) continue;
    if (QChar::isHighSurrogate(u) && i + 1 < n && text[i + 1].isLowSurrogate()) {
      ++i;
      continue;
    }
    w.put(text.mid(plain, i - plain));
    plain = i + 1;
    switch (u) {
      case u'&':
        w.put(QLatin1String("&amp;"));
        break;
      case u'<':
        w.put(QLatin1String("&lt;"));
        break;
      case u'>':
        w.put(QLatin1String("&gt;"));
        break;
      case u'"':
        w.put(QLatin1String("&quot;"));
        break;
      default:  // a character XML cannot carry
        break;
    }
  }
  w.put(text.mid(plain));
}

}  // namespace

void appendEscapedXmlText(QString &out, QStringView text) {
  XmlWriter w(std::move(out));
  escapeInto(w, text, false);
  out = w.take();
}

void appendEscapedXmlAttribute(QString &out, QStringView text) {
  XmlWriter w(std::move(out));
  escapeInto(w, text, true);
  out = w.take();
}

void appendBlanks(QString &out, int count) {
  XmlWriter w(std::move(out));
  w.blanks(count);
  out = w.take();
}

template <class Text>
BasicXmlWriter<Text>::BasicXmlWriter(Text text) : m_out(std::move(text)) {
  if (m_out.isEmpty()) return;
  m_begin = reinterpret_cast<Char *>(m_out.data());
  m_at = m_end = m_begin + m_out.size();
}

template <class Text>
Text BasicXmlWriter<Text>::take() {
  m_out.resize(size());
  m_begin = m_at = m_end = nullptr;
  return std::move(m_out);
}

template <class Text>
void BasicXmlWriter<Text>::putEscaped(QStringView text) {
  escapeInto(*this, text, false);
}

template <class Text>
void BasicXmlWriter<Text>::grow(qsizetype n) {
  // The room the text already has is used first; beyond it, room grows by
  // doubling, so that writing stays linear however it is split.
  const qsizetype used = size();
  const qsizetype capacity = m_out.capacity();
  m_out.resize(used + n <= capacity ? capacity : std::max({used + n, 2 * capacity, qsizetype(64)}));
  m_begin = reinterpret_cast<Char *>(m_out.data());
  m_at = m_begin + used;
  m_end = m_begin + m_out.size();
}

template class BasicXmlWriter<QString>;
template class BasicXmlWriter<QByteArray>;
