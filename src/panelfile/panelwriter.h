#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QString>

class PanelModel;
class clsControlDetails;
struct XmlElement;

// The panel document of a panel, laid out (CR LF line ends, two blanks per
// level, no declaration) and without the final line end that files add.
// "Version" holds DateTimeStamp::GetFormattedNow().
QString BuildPanelDocument(const PanelModel &panel);

// Appends the element of one control to `parent`: a clock's own element, or
// "Control" with the children of the control's kind. A record without a
// visible control writes nothing.
void ControlToXML(QDomDocument &doc, QDomElement &parent, const clsControlDetails &record);

// Completes a self-serialised element: an empty first "Name" or "Caption"
// gets the name, and an element whose first "Type" is "CodecControl" always
// gets the name in "Name". Missing "Name" and "Caption" elements are added.
void CheckNameAndCaption(QDomElement &element, const QString &name);

// Sets the text of the root's first "Version" child (any case), or appends a
// "Version" element, and lays the document out again. False, with the text
// unchanged, when the text is not XML.
bool InsertVersionIntoXML(QString &text, const QString &version);
// The same on a parsed document, without laying it out.
void InsertVersionIntoDocument(QDomDocument &doc, const QString &version);
// The same on the light tree of a document.
void InsertVersionIntoTree(XmlElement &root, const QString &version);
