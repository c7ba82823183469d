#pragma once

#include <QDomDocument>
#include <QHash>
#include <QString>
#include <memory>
#include <vector>

#include "model/controldetails.h"
#include "model/xmldoc.h"

// The hardware map document ("HardwareMap.xml"): one "Control" entry per
// panel control that is bound to a hardware control, for all local panels.
//
//   <HardwareMapList>
//     <Name>HardwareMapList</Name>
//     <ControlList>
//       <Control><Type/><HostIPAddress/><HostPort/><InternalName/><AoipSysName/></Control>
//     </ControlList>
//     <Version>...</Version>
//   </HardwareMapList>

// The empty map: root, "Name" and an empty "ControlList", laid out.
QString NewHardwareMapXML();

// A new record whose five hardware fields come from the text of one "Control"
// entry. Missing or empty values leave a field empty; text that is not XML
// gives a record with every field empty.
clsControlDetails HardwareMapEntryFromXML(const QString &text);

// Removes every entry that belongs to the panel (the part of its internal
// name before the last "." equals the panel name, any case). An empty panel
// name or a text that is not XML leaves the text unchanged.
void RemovePanelFromHardwareMap(QString &text, const QString &panelName);

// Appends an entry for every record whose five hardware fields are all set, in
// order, and lays the map out. An empty text starts from NewHardwareMapXML; a
// text that is not XML or has no "ControlList" is left unchanged.
void AddControlsToHardwareMap(QString &text,
                              const std::vector<std::unique_ptr<clsControlDetails>> &records);

// The same two steps on a parsed map, for callers that make several changes
// with one parse. The document is not laid out; adding returns false (and
// adds nothing) when the map has no "ControlList".
void RemovePanelFromHardwareMap(QDomDocument &doc, const QString &panelName);
bool AddControlsToHardwareMap(QDomDocument &doc,
                              const std::vector<std::unique_ptr<clsControlDetails>> &records);

// The same steps on the light tree of a map, for maps that ReadPlainHardwareMap
// takes: a large map is updated without building a document. Written back
// with XmlElementToLaidOutText (or XmlElementToText where the document route
// does not lay out) they give the text the document route gives.
//
// Reads a map into the tree when the tree can stand for its document: the
// text must be read by the quick reader and hold no comment, processing
// instruction, CDATA section, declaration, character reference, attribute
// or prefixed name, no element with both text and element children, no text
// in the root or a control list (they gain elements), and no text that is
// white space only in Unicode's wider sense. Otherwise false, and the map
// takes the document route.
bool ReadPlainHardwareMap(const QString &text, XmlElement &root);
void RemovePanelFromHardwareMap(XmlElement &root, const QString &panelName);
bool AddControlsToHardwareMap(XmlElement &root,
                              const std::vector<std::unique_ptr<clsControlDetails>> &records);

// The entries of a map parsed once, for looking up many controls while a
// panel is read. Missing, empty or malformed maps give an empty index.
class HardwareMap {
 public:
  struct Entry {
    QString type;
    QString hostIP;
    QString hostPort;
    QString internalName;
    QString aoipSysName;
  };

  HardwareMap() = default;
  static HardwareMap FromText(const QString &text);
  static HardwareMap FromFile(const QString &path);

  // The first entry whose internal name equals the given one (both trimmed,
  // any case), or null.
  const Entry *Find(const QString &internalName) const;
  bool isEmpty() const { return m_entries.empty(); }

 private:
  std::vector<Entry> m_entries;
  QHash<QString, qsizetype> m_firstByName;
};

// Completes a record read from a panel: an empty internal name becomes
// <panel name>.<control name> (the canvas Tag of the control's panel and the
// control's Tag), then the type, address, port and mapping code of the
// matching map entry, if any, are copied into the record.
void ApplyHardwareMapToControl(clsControlDetails &record, const HardwareMap &map);
// The same against the map file of the settings, read for this one record.
void ApplyHardwareMapToControl(clsControlDetails &record);
