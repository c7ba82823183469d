#pragma once

#include <QDomDocument>
#include <QString>
#include <vector>

// Parses untrusted XML text. A document carrying a DOCTYPE, nested deeper
// than `maxDepth` or not well-formed is refused (false). White-space-only
// text nodes are dropped.
bool ParseXml(const QString &text, QDomDocument &doc, int maxDepth = 256);

// Lays a document out in place: every element with element children starts
// them on a new line, each element on its own line indented by two blanks per
// level, closing tags of such elements on their own lines. Line ends CR LF.
void IndentXML(QDomDocument &doc);

// Serialises a document: no declaration, empty elements self-closing
// ("<Name/>"), text escaped (&, <, >), white space as it stands in the nodes.
// Characters XML cannot carry (most C0 controls, U+FFFE, U+FFFF, lone
// surrogates) are left out, so that the output always parses again.
QString SerializeXml(const QDomNode &node);

// Appends text as SerializeXml writes a text node: "&", "<" and ">" escaped,
// characters XML cannot carry left out.
void AppendEscapedXmlText(QString &out, QStringView text);

// The text of an element: its text and CDATA children joined.
QString ElementText(const QDomElement &element);

// Appends <name>text</name> to the parent (no text child for an empty text).
QDomElement AppendTextElement(QDomDocument &doc, QDomNode &parent, const QString &name,
                              const QString &text);

// A light element tree for reading documents: names, each element's own text
// and its element children. Attributes, comments and processing instructions
// are dropped; a text run between tags that is only white space is dropped
// too, as the DOM parse does. Much cheaper than a DOM for large panels.
struct XmlElement {
  QString name;
  QString text;  // the element's own text runs (and CDATA) joined
  std::vector<XmlElement> children;
};

// Parses untrusted XML text into the tree, with the same refusals as ParseXml.
bool ParseXmlTree(const QString &text, XmlElement &root, int maxDepth = 256);

// Writes an element of the tree back as XML text, without layout.
QString XmlElementToText(const XmlElement &element);

// Writes an element of the tree laid out as IndentXML lays out a document
// before SerializeXml writes it: each element with element children starts
// them on a new line, two blanks per level, line ends CR LF, no line end
// after the element itself. The same text as the document route for trees
// in which no element has both text and element children.
QString XmlElementToLaidOutText(const XmlElement &element);
