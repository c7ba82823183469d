#include "model/xmltree.h"

#include <array>

#include "model/xmlwriter.h"

namespace {

// Builds the tree from the reader's events.
class TreeBuilder : public XmlHandler {
 public:
  TreeBuilder(QStringView text, std::vector<XmlNode> &nodes) : m_base(text.data()), m_top(nodes) {}

  void startElement(QStringView name, const std::vector<XmlAttribute> &attributes,
                    QStringView source) override {
    XmlNode &e = add(XmlNode::Kind::Element, source);
    e.name = name.toString();
    e.attributes.reserve(attributes.size());
    for (const XmlAttribute &a : attributes)
      e.attributes.emplace_back(a.name.toString(), a.value.toString());
    e.startTagEnd = e.end;
    m_open.push_back(&e);
  }
  void endElement(QStringView source) override {
    XmlNode &e = *m_open.back();
    m_open.pop_back();
    if (source.isEmpty()) {
      e.endTagStart = e.end = e.startTagEnd;
    } else {
      e.endTagStart = offset(source);
      e.end = e.endTagStart + source.size();
    }
  }
  void text(QStringView value, QStringView source) override {
    add(XmlNode::Kind::Text, source).value = value.toString();
  }
  void cdata(QStringView value, QStringView source) override {
    add(XmlNode::Kind::CData, source).value = value.toString();
  }
  void comment(QStringView value, QStringView source) override {
    add(XmlNode::Kind::Comment, source).value = value.toString();
  }
  void processingInstruction(QStringView target, QStringView data, QStringView source) override {
    XmlNode &n = add(XmlNode::Kind::Instruction, source);
    n.name = target.toString();
    n.value = data.toString();
  }
  void declaration(QStringView source) override {
    add(XmlNode::Kind::Declaration, source).value = source.toString();
  }

 private:
  qsizetype offset(QStringView source) const { return source.data() - m_base; }
  XmlNode &add(XmlNode::Kind kind, QStringView source) {
    std::vector<XmlNode> &siblings = m_open.empty() ? m_top : m_open.back()->children;
    XmlNode &n = siblings.emplace_back();
    n.kind = kind;
    n.start = offset(source);
    n.end = n.start + source.size();
    return n;
  }

  const QChar *m_base;
  std::vector<XmlNode> &m_top;
  // The open elements; only the innermost gains children, so the pointers
  // to the outer ones stay valid.
  std::vector<XmlNode *> m_open;
};

void write(QString &out, const XmlNode &n, QStringView source);

void writeChildren(QString &out, const XmlNode &n, QStringView source) {
  for (const XmlNode &c : n.children) write(out, c, source);
}

void writeElement(QString &out, const XmlNode &n, QStringView source) {
  if (n.fromText()) {
    const QStringView startTag = source.mid(n.start, n.startTagEnd - n.start);
    const bool closedItself = n.endTagStart == n.end;
    if (!closedItself || n.children.empty()) {
      out += startTag;
      writeChildren(out, n, source);
      out += source.mid(n.endTagStart, n.end - n.endTagStart);
      return;
    }
    // "<a/>" that gained children opens as "<a>" and gets a closing tag.
    out += startTag.chopped(2).trimmed();
    out += u'>';
  } else {
    out += u'<';
    out += n.name;
    for (const auto &[name, value] : n.attributes) {
      out += u' ';
      out += name;
      out += QLatin1String("=\"");
      appendEscapedXmlAttribute(out, value);
      out += u'"';
    }
    if (n.children.empty()) {
      out += QLatin1String("/>");
      return;
    }
    out += u'>';
  }
  writeChildren(out, n, source);
  out += QLatin1String("</");
  out += n.name;
  out += u'>';
}

void write(QString &out, const XmlNode &n, QStringView source) {
  if (n.kind == XmlNode::Kind::Element) {
    writeElement(out, n, source);
    return;
  }
  if (n.fromText()) {
    out += source.mid(n.start, n.end - n.start);
    return;
  }
  switch (n.kind) {
    case XmlNode::Kind::Text:
      appendEscapedXmlText(out, n.value);
      break;
    case XmlNode::Kind::CData: {
      QString value = n.value;
      value.replace(QLatin1String("]]>"), QLatin1String("]]]]><![CDATA[>"));
      out += QLatin1String("<![CDATA[") + value + QLatin1String("]]>");
      break;
    }
    case XmlNode::Kind::Comment:
      out += QLatin1String("<!--") + n.value + QLatin1String("-->");
      break;
    case XmlNode::Kind::Instruction:
      out += QLatin1String("<?") + n.name;
      if (!n.value.isEmpty()) out += u' ' + n.value;
      out += QLatin1String("?>");
      break;
    case XmlNode::Kind::Declaration:
      out += n.value;
      break;
    case XmlNode::Kind::Element:
      break;
  }
}

bool isBlankText(const XmlNode &n) { return n.kind == XmlNode::Kind::Text && isXmlBlank(n.value); }

// A line end and the blanks of the next line. The few depths a document
// uses share their texts.
XmlNode lineBreak(int indent) {
  static const std::array<QString, 16> kBreaks = [] {
    std::array<QString, 16> breaks;
    for (int k = 0; k < 16; ++k) breaks[size_t(k)] = QStringLiteral("\r\n") + QString(k, u' ');
    return breaks;
  }();
  if (indent >= 0 && indent < int(kBreaks.size()))
    return XmlNode::textNode(kBreaks[size_t(indent)]);
  return XmlNode::textNode(QStringLiteral("\r\n") + QString(indent, u' '));
}

// Where the last line end of a text starts, or -1.
qsizetype lastLineEnd(QStringView text) {
  for (qsizetype k = text.size() - 1; k >= 0; --k) {
    if (text[k] == u'\n') return k > 0 && text[k - 1] == u'\r' ? k - 1 : k;
    if (text[k] == u'\r') return k;
  }
  return -1;
}

}  // namespace

XmlNode XmlNode::element(const QString &name) {
  XmlNode n;
  n.name = name;
  return n;
}

XmlNode XmlNode::textNode(const QString &value) {
  XmlNode n;
  n.kind = Kind::Text;
  n.value = value;
  return n;
}

XmlNode XmlNode::textElement(const QString &name, const QString &value) {
  XmlNode n = element(name);
  if (!value.isEmpty()) n.children.push_back(textNode(value));
  return n;
}

bool XmlDocument::read(const QString &text, XmlError *error, const XmlLimits &limits) {
  m_source = text;
  m_nodes.clear();
  TreeBuilder builder(m_source, m_nodes);
  if (readXml(m_source, builder, error, limits)) return true;
  m_nodes.clear();
  m_source.clear();
  return false;
}

QString XmlDocument::toText() const {
  QString out;
  out.reserve(m_source.size() + 1024);
  for (const XmlNode &n : m_nodes) write(out, n, m_source);
  return out;
}

XmlNode *XmlDocument::root() {
  for (XmlNode &n : m_nodes)
    if (n.isElement()) return &n;
  return nullptr;
}

const XmlNode *XmlDocument::root() const { return const_cast<XmlDocument *>(this)->root(); }

void XmlDocument::removeLaidOut(XmlNode &parent, size_t index) {
  removeLaidOut(parent, std::vector<size_t>{index});
}

void XmlDocument::removeLaidOut(XmlNode &parent, const std::vector<size_t> &indices) {
  std::vector<XmlNode> &children = parent.children;
  std::vector<bool> drop(children.size(), false);
  for (size_t index : indices)
    if (index < children.size()) drop[index] = true;
  for (size_t index : indices) {
    if (index == 0 || index >= children.size() || drop[index - 1]) continue;
    XmlNode &before = children[index - 1];
    if (before.kind != XmlNode::Kind::Text) continue;
    const QStringView raw = before.fromText()
                                ? QStringView(m_source).mid(before.start, before.end - before.start)
                                : QStringView(before.value);
    if (!isXmlBlank(raw)) continue;
    const qsizetype cut = lastLineEnd(raw);
    if (cut < 0) continue;
    if (cut == 0) {
      drop[index - 1] = true;
      continue;
    }
    before.value = raw.left(cut).toString();
    if (before.fromText()) {
      // A node read from the text keeps its value as the readers give it.
      before.end = before.start + cut;
      before.value.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    }
  }
  // One pass moves the nodes that stay together.
  size_t kept = 0;
  for (size_t k = 0; k < children.size(); ++k)
    if (!drop[k]) {
      if (kept != k) children[kept] = std::move(children[k]);
      ++kept;
    }
  children.erase(children.begin() + qsizetype(kept), children.end());
}

QString elementText(const XmlNode &element) {
  QString out, run;
  auto endRun = [&] {
    if (!isXmlBlank(run)) out += run;
    run.clear();
  };
  for (const XmlNode &c : element.children) {
    if (c.kind == XmlNode::Kind::Text || c.kind == XmlNode::Kind::CData)
      run += c.value;
    else if (c.isElement())
      endRun();
  }
  endRun();
  return out;
}

XmlNode *findChildElement(XmlNode &element, QStringView lowerName) {
  for (XmlNode &c : element.children)
    if (c.isElement() && c.name.trimmed().toLower() == lowerName) return &c;
  return nullptr;
}

const XmlNode *findChildElement(const XmlNode &element, QStringView lowerName) {
  return findChildElement(const_cast<XmlNode &>(element), lowerName);
}

void setElementText(XmlNode &element, const QString &text) {
  element.children.clear();
  if (!text.isEmpty()) element.children.push_back(XmlNode::textNode(text));
}

void appendLaidOut(XmlNode &parent, std::vector<XmlNode> elements, int indent) {
  if (elements.empty()) return;
  size_t at = parent.children.size();
  while (at > 0 && isBlankText(parent.children[at - 1])) --at;
  bool lineEndAfter = false;
  for (size_t k = at; k < parent.children.size(); ++k)
    lineEndAfter |= parent.children[k].value.contains(u'\n');
  std::vector<XmlNode> laidOut;
  laidOut.reserve(2 * elements.size() + 1);
  for (XmlNode &e : elements) {
    laidOut.push_back(lineBreak(indent + 2));
    laidOut.push_back(std::move(e));
  }
  if (!lineEndAfter) laidOut.push_back(lineBreak(indent));
  parent.children.insert(parent.children.begin() + qsizetype(at),
                         std::make_move_iterator(laidOut.begin()),
                         std::make_move_iterator(laidOut.end()));
}

XmlNode laidOutElement(const QString &name, std::vector<XmlNode> children, int indent) {
  XmlNode e = XmlNode::element(name);
  appendLaidOut(e, std::move(children), indent);
  return e;
}
