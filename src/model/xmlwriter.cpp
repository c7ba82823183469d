#include "model/xmlwriter.h"

#include <iterator>

namespace {

void escapeInto(QString &out, QStringView text, bool attribute) {
  const qsizetype n = text.size();
  qsizetype plain = 0;  // start of the run copied as it stands
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t u = text[i].unicode();
    if (u >= 0x20 && u < 0xD800 && u != u'&' && u != u'<' && u != u'>' && u != u'"') continue;
    if (u == u'"' && !attribute) continue;
    if (u == u'\t' || u == u'\n' || u == u'\r') continue;
    if (u >= 0xE000 && u < 0xFFFE) continue;
    if (QChar::isHighSurrogate(u) && i + 1 < n && text[i + 1].isLowSurrogate()) {
      ++i;
      continue;
    }
    out.append(text.mid(plain, i - plain));
    plain = i + 1;
    switch (u) {
      case u'&':
        out += QLatin1String("&amp;");
        break;
      case u'<':
        out += QLatin1String("&lt;");
        break;
      case u'>':
        out += QLatin1String("&gt;");
        break;
      case u'"':
        out += QLatin1String("&quot;");
        break;
      default:  // a character XML cannot carry
        break;
    }
  }
  out.append(text.mid(plain));
}

}  // namespace

void AppendEscapedXmlText(QString &out, QStringView text) { escapeInto(out, text, false); }

void AppendEscapedXmlAttribute(QString &out, QStringView text) { escapeInto(out, text, true); }

void AppendBlanks(QString &out, int count) {
  static constexpr char16_t kBlanks[] = u"                                ";
  constexpr int kChunk = int(std::size(kBlanks)) - 1;
  for (; count > 0; count -= kChunk) out.append(QStringView(kBlanks, qMin(count, kChunk)));
}
