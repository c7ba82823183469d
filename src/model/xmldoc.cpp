#include "model/xmldoc.h"

#include <QHash>
#include <QXmlStreamReader>
#include <array>
#include <iterator>
#include <vector>

#include "model/xmlscanner.h"

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

void escapeInto(QString &out, QStringView text) {
  const qsizetype n = text.size();
  qsizetype plain = 0;  // start of the run copied as it stands
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t u = text[i].unicode();
    if (u >= 0x20 && u < 0xD800 && u != u'&' && u != u'<' && u != u'>') continue;
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
      default:  // a character XML cannot carry
        break;
    }
  }
  out.append(text.mid(plain));
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

void KeepTextRun(XmlElement &element, QString &run) {
  if (run.isEmpty()) return;
  bool blank = true;
  for (QChar c : run)
    if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n') {
      blank = false;
      break;
    }
  if (!blank) {
    if (element.text.isEmpty())
      element.text = QString(run.constData(), run.size());  // no spare capacity kept
    else
      element.text += run;
  }
  run.resize(0);
}

bool ReadXmlTreeWithStreamReader(const QString &text, XmlElement &root, int maxDepth) {
  root = XmlElement();
  QXmlStreamReader reader(text);
  reader.setNamespaceProcessing(false);
  // The open elements, outermost first. Only the innermost one gains
  // children, so the pointers to the outer ones stay valid.
  std::vector<XmlElement *> open;
  // Text since the last tag, joined over comments, processing instructions
  // and CDATA sections.
  QString run;
  XmlNameCache names;
  bool sawRoot = false;
  auto flushRun = [&] {
    if (!open.empty()) KeepTextRun(*open.back(), run);
  };
  while (!reader.atEnd()) {
    switch (reader.readNext()) {
      case QXmlStreamReader::DTD:
      case QXmlStreamReader::EntityReference:
        return false;
      case QXmlStreamReader::StartElement: {
        if (static_cast<int>(open.size()) >= maxDepth) return false;
        flushRun();
        XmlElement *element = nullptr;
        if (open.empty()) {
          if (sawRoot) return false;
          sawRoot = true;
          element = &root;
        } else {
          open.back()->children.emplace_back();
          element = &open.back()->children.back();
        }
        element->name = names.get(reader.qualifiedName());
        open.push_back(element);
        break;
      }
      case QXmlStreamReader::EndElement:
        flushRun();
        if (!open.empty()) open.pop_back();
        break;
      case QXmlStreamReader::Characters:
        if (!open.empty()) run += reader.text();
        break;
      default:
        break;
    }
  }
  return !reader.hasError() && sawRoot;
}

bool ParseXmlTree(const QString &text, XmlElement &root, int maxDepth) {
  bool ok = false;
  switch (ReadPlainXmlTree(text, root, maxDepth)) {
    case PlainXmlRead::Read:
      ok = true;
      break;
    case PlainXmlRead::TooDeep:
      break;
    case PlainXmlRead::NotPlain:
      ok = ReadXmlTreeWithStreamReader(text, root, maxDepth);
      break;
  }
  if (!ok) root = XmlElement();
  return ok;
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

namespace {
void appendBlanks(QString &out, int count) {
  static constexpr char16_t kBlanks[] = u"                                ";
  constexpr int kChunk = int(std::size(kBlanks)) - 1;
  for (; count > 0; count -= kChunk) out.append(QStringView(kBlanks, qMin(count, kChunk)));
}

void writeLaidOut(QString &out, const XmlElement &e, int level) {
  out += u'<';
  out += e.name;
  if (!e.children.empty()) {
    out += QLatin1String(">\r\n");
    for (const XmlElement &c : e.children) {
      appendBlanks(out, level + 2);
      writeLaidOut(out, c, level + 2);
      out += QLatin1String("\r\n");
    }
    appendBlanks(out, level);
  } else if (e.text.isEmpty()) {
    out += QLatin1String("/>");
    return;
  } else {
    out += u'>';
    escapeInto(out, e.text);
  }
  out += QLatin1String("</");
  out += e.name;
  out += u'>';
}
}  // namespace

QString XmlElementToLaidOutText(const XmlElement &element) {
  QString out;
  writeLaidOut(out, element, 0);
  return out;
}
