#pragma once

#include <QString>
#include <utility>
#include <vector>

#include "model/xmlreader.h"

// A document tree that keeps everything a text held: elements with their
// attributes, character data, CDATA sections, comments, processing
// instructions and the declaration, each with the exact text it was read
// from. Written back, a node read from the text gives that text again byte
// for byte; only what was changed or added is written anew (xmlwriter.h).
// Used for documents the program updates in place (the hardware map).
struct XmlNode {
  enum class Kind : quint8 { Element, Text, CData, Comment, Instruction, Declaration };

  Kind kind = Kind::Element;
  QString name;   // element name, processing-instruction target
  QString value;  // character data (references resolved), comment, instruction data
  std::vector<std::pair<QString, QString>> attributes;
  std::vector<XmlNode> children;

  // Where the node stands in the text it was read from; -1 for a node made
  // since. An element's start tag is [start, startTagEnd), its end tag
  // [endTagStart, end) (empty for "<a/>"). Other nodes are [start, end).
  qsizetype start = -1;
  qsizetype startTagEnd = -1;
  qsizetype endTagStart = -1;
  qsizetype end = -1;

  bool isElement() const { return kind == Kind::Element; }
  bool fromText() const { return start >= 0; }

  static XmlNode element(const QString &name);
  static XmlNode textNode(const QString &value);
  // An element holding one text (none when empty).
  static XmlNode textElement(const QString &name, const QString &value);
};

class XmlDocument {
 public:
  // Reads a text; false (and an empty document) when readXml refuses it.
  bool read(const QString &text, XmlError *error = nullptr, const XmlLimits &limits = XmlLimits());
  // The document as text: what was read, as it stood, with the changes.
  QString toText() const;

  // The root element, null for an empty document.
  XmlNode *root();
  const XmlNode *root() const;
  // The top-level nodes: declaration, comments, white space, the root.
  std::vector<XmlNode> &nodes() { return m_nodes; }
  const QString &source() const { return m_source; }

  // Removes the parent's child at `index` with the line it stood on: the
  // white space before it, from its last line end on, goes too.
  void removeLaidOut(XmlNode &parent, size_t index);
  // The same for several children at once, in one pass.
  void removeLaidOut(XmlNode &parent, const std::vector<size_t> &indices);

 private:
  QString m_source;
  std::vector<XmlNode> m_nodes;
};

// The text of an element as the readers take it (XmlTextRun): its character
// data and CDATA runs between child elements, white-space-only runs left out.
QString elementText(const XmlNode &element);

// The element's first child element whose name, blanks removed and in lower
// case, is `lowerName`; null when there is none.
XmlNode *findChildElement(XmlNode &element, QStringView lowerName);
const XmlNode *findChildElement(const XmlNode &element, QStringView lowerName);

// Sets the text of an element: its children become one text node.
void setElementText(XmlNode &element, const QString &text);

// Lays elements out as children of `parent`, whose line starts `indent`
// blanks in: each goes on a line of its own, `indent` + 2 blanks in, after
// the parent's last child that is not white space; the parent's closing tag
// gets a line of its own when nothing after the insertion point ends a line.
void appendLaidOut(XmlNode &parent, std::vector<XmlNode> elements, int indent);

// An element with text-only children, laid out as the program writes them:
// children `indent` + 2 blanks in, the closing tag `indent` blanks in.
XmlNode laidOutElement(const QString &name, std::vector<XmlNode> children, int indent);

// Writes an element made in the program (not read from a text) laid out one
// element per line, `indent` blanks in, with a line end after it: an element
// with child elements holds them on lines of their own, any other holds its
// text (elementText) on its line.
template <class Writer>
void writeLaidOut(Writer &writer, const XmlNode &element, int indent) {
  bool nested = false;
  for (const XmlNode &c : element.children) nested |= c.isElement();
  if (!nested) {
    writer.textElement(element.name, elementText(element), indent);
    return;
  }
  writer.startElement(element.name, indent);
  for (const XmlNode &c : element.children)
    if (c.isElement()) writeLaidOut(writer, c, indent + 2);
  writer.endElement(element.name, indent);
}
