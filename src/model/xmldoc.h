#pragma once

#include <QDomDocument>
#include <QString>

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
QString SerializeXml(const QDomNode &node);

// The text of an element: its text and CDATA children joined.
QString ElementText(const QDomElement &element);

// Appends <name>text</name> to the parent (no text child for an empty text).
QDomElement AppendTextElement(QDomDocument &doc, QDomNode &parent, const QString &name,
                              const QString &text);
