#pragma once

#include <QByteArray>
#include <QString>

class PanelModel;
class XmlDocument;
struct XmlNode;
template <class Text>
class BasicXmlWriter;
using XmlWriter = BasicXmlWriter<QString>;
class ControlRecord;

// The panel document of a panel, laid out (CR LF line ends, two blanks per
// level, no declaration) and without the final line end that files add.
// "Version" holds DateTimeStamp::formattedNow(). The hardware group of
// buttons and labels is written in server mode only.
QString buildPanelDocument(const PanelModel &panel, bool serverMode);
// The same followed by CR LF as a file holds it: bytes in Windows-1252,
// characters the code page lacks written as "?". "Version" holds `version`,
// so that it can be written away from the thread that reads the clock.
QByteArray buildPanelFile(const PanelModel &panel, bool serverMode, const QString &version);

// Writes the element of one control, laid out as in a panel document (four
// blanks in, its children six): a clock's own element, or "Control" with the
// children of the control's kind. A record without a visible control writes
// nothing.
void controlToXML(XmlWriter &writer, const ControlRecord &record, bool serverMode);

// Completes a self-serialised element: an empty first "Name" or "Caption"
// gets the name, and an element whose first "Type" is "CodecControl" always
// gets the name in "Name". Missing "Name" and "Caption" elements are added.
void checkNameAndCaption(XmlNode &element, const QString &name);

// Sets the text of the root's first "Version" child (any case), or appends a
// "Version" element on a line of its own; everything else in the text stays
// as it was. False, with the text unchanged, when the text is not XML.
bool insertVersionIntoXML(QString &text, const QString &version);
// The same on a document read once for several changes.
void insertVersionIntoDocument(XmlDocument &doc, const QString &version);
