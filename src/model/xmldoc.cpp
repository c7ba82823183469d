#include "model/xmldoc.h"

#include <QHash>
#include <QXmlStreamReader>
#include <array>
#include <vector>

bool ParseXml(const QString &text, QDomDocument &doc, int maxDepth) {
  // A first pass with the stream reader refuses what the DOM would expand
  // or recurse into.
  QXmlStreamReader scan(text);
  int depth = 0;
  bool sawRoot = false;
  while (!scan.atEnd()) {
    switch (scan.readNext()) {
      case QXmlStreamReader::DTD:
        return false;
      case QXmlStreamReader::EntityReference:
        return false;
      case QXmlStreamReader::StartElement:
        sawRoot = true;
        if (++depth > maxDepth) return false;
        break;
      case QXmlStreamReader::EndElement:
        --depth;
        break;
      default:
        break;
    }
  }
  if (scan.hasError() || !sawRoot) return false;
  doc = QDomDocument();
  return static_cast<bool>(doc.setContent(text));
}

namespace {
constexpr auto kLineEnd = "\r\n";

bool hasElementChild(const QDomNode &node) {
  for (QDomNode c = node.firstChild(); !c.isNull(); c = c.nextSibling())
    if (!c.isText()) return true;
  return false;
}

void indentNode(QDomDocument &doc, QDomNode node, int level) {
  if (node.isText()) return;
  const bool nested = hasElementChild(node);
  if (nested)
    node.insertBefore(doc.createTextNode(QString::fromLatin1(kLineEnd)), node.firstChild());
  // Collect first: the walk inserts siblings.
  std::vector<QDomNode> children;
  for (QDomNode c = node.firstChild(); !c.isNull(); c = c.nextSibling()) children.push_back(c);
  for (QDomNode &c : children) indentNode(doc, c, level + 2);
  if (level > 0) {
    QDomNode parent = node.parentNode();
    parent.insertBefore(doc.createTextNode(QString(level, u' ')), node);
    if (nested) node.appendChild(doc.createTextNode(QString(level, u' ')));
    parent.insertAfter(doc.createTextNode(QString::fromLatin1(kLineEnd)), node);
  }
}

// True for the characters an XML 1.0 document may hold (surrogates are
// judged in pairs by the caller).
bool isXmlChar(char16_t u) {
  if (u < 0x20) return u == 0x09 || u == 0x0A || u == 0x0D;
  return u != 0xFFFE && u != 0xFFFF;
}

void escapeInto(QString &out, QStringView text) {
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    const char16_t u = c.unicode();
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
      default:
        if (c.isHighSurrogate()) {
          if (i + 1 < n && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
          }
        } else if (!c.isLowSurrogate() && isXmlChar(u)) {
          out += c;
        }
    }
  }
}

void writeNode(QString &out, const QDomNode &node) {
  if (node.isText() || node.isCDATASection()) {
    escapeInto(out, node.nodeValue());
    return;
  }
  if (node.isDocument()) {
    for (QDomNode c = node.firstChild(); !c.isNull(); c = c.nextSibling()) writeNode(out, c);
    return;
  }
  if (!node.isElement()) return;
  const QString name = node.nodeName();
  out += u'<';
  out += name;
  if (!node.hasChildNodes()) {
    out += QLatin1String("/>");
    return;
  }
  out += u'>';
  for (QDomNode c = node.firstChild(); !c.isNull(); c = c.nextSibling()) writeNode(out, c);
  out += QLatin1String("</");
  out += name;
  out += u'>';
}
}  // namespace

void AppendEscapedXmlText(QString &out, QStringView text) { escapeInto(out, text); }

void IndentXML(QDomDocument &doc) {
  QDomElement root = doc.documentElement();
  if (!root.isNull()) indentNode(doc, root, 0);
}

QString SerializeXml(const QDomNode &node) {
  QString out;
  writeNode(out, node);
  return out;
}

QString ElementText(const QDomElement &element) {
  QString out;
  for (QDomNode c = element.firstChild(); !c.isNull(); c = c.nextSibling())
    if (c.isText() || c.isCDATASection()) out += c.nodeValue();
  return out;
}

QDomElement AppendTextElement(QDomDocument &doc, QDomNode &parent, const QString &name,
                              const QString &text) {
  QDomElement e = doc.createElement(name);
  if (!text.isEmpty()) e.appendChild(doc.createTextNode(text));
  parent.appendChild(e);
  return e;
}

namespace {
void writeTree(QString &out, const XmlElement &e) {
  out += u'<';
  out += e.name;
  if (e.text.isEmpty() && e.children.empty()) {
    out += QLatin1String("/>");
    return;
  }
  out += u'>';
  escapeInto(out, e.text);
  for (const XmlElement &c : e.children) writeTree(out, c);
  out += QLatin1String("</");
  out += e.name;
  out += u'>';
}
}  // namespace

QString XmlElementToText(const XmlElement &element) {
  QString out;
  writeTree(out, element);
  return out;
}
