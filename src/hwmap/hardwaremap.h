#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "model/controlrecord.h"
#include "model/xmltree.h"

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
//
// The map is shared with the hardware side. Updating it changes only the
// entries of the panel being saved (and the Version): everything else the
// text holds stays as it was, byte for byte.

using ControlRecords = std::vector<std::unique_ptr<ControlRecord>>;

// The empty map: root, "Name" and an empty "ControlList", laid out.
QString newHardwareMapXML();

// A new record whose five hardware fields come from the text of one "Control"
// entry. Missing or empty values leave a field empty; text that is not XML
// gives a record with every field empty.
ControlRecord hardwareMapEntryFromXML(const QString &text);

// Whether an entry's internal name (blanks around it removed, any case)
// belongs to the panel: it is the panel name, ".", and then either a name
// without "." or the name of one of the panel's controls. So "Studio.v2.B1"
// is panel "Studio.v2"'s, not panel "Studio"'s, unless "Studio" has a control
// named "v2.B1"; "Studio.Mic.1" is "Studio"'s when it has a control "Mic.1".
// `controlNames` holds the panel's control names in lower case.
bool entryBelongsToPanel(const QString &internalName, const QString &panelName,
                         const QSet<QString> &controlNames);
// The control names the rule above looks up, in lower case: those of the
// records' controls that hold a ".".
QSet<QString> controlNamesOf(const ControlRecords &records);

// Removes every entry that belongs to the panel from each "ControlList" of the
// root, each with the line it stood on. An empty panel name or a text that is
// not XML leaves the text unchanged.
void removePanelFromHardwareMap(QString &text, const QString &panelName,
                                const QSet<QString> &controlNames = {});

// Appends an entry for every record whose five hardware fields are all set, in
// order, laid out after the last entry of the first "ControlList". An empty
// text starts from newHardwareMapXML; a text that is not XML or has no
// "ControlList" is left unchanged.
void addControlsToHardwareMap(QString &text, const ControlRecords &records);

// The same two steps on a map read once for several changes; adding returns
// false (and adds nothing) when the map has no "ControlList". Removing also
// takes the entries whose internal names (in lower case) are in
// `formerEntries`: those the panel had under names it no longer has. The
// attributes of removed entries, by internal name in lower case, can be kept
// and given back to the entries added under the same names.
using EntryAttributes = QHash<QString, std::vector<std::pair<QString, QString>>>;
void removePanelFromHardwareMap(XmlDocument &map, const QString &panelName,
                                const QSet<QString> &controlNames,
                                const QSet<QString> &formerEntries = {},
                                EntryAttributes *removed = nullptr);
bool addControlsToHardwareMap(XmlDocument &map, const ControlRecords &records,
                              const EntryAttributes &attributes = {});

// The entries of a map read once, for looking up many controls while a
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
  static HardwareMap fromText(const QString &text);
  // An empty map when the file is not there or cannot be read (`error` then
  // says why, as readRegularFile does: not a regular file, too large...).
  static HardwareMap fromFile(const QString &path, QString *error = nullptr);

  // The first entry whose internal name equals the given one (both trimmed,
  // any case), or null.
  const Entry *Find(const QString &internalName) const;
  bool isEmpty() const { return m_entries.empty(); }
  const std::vector<Entry> &entries() const { return m_entries; }

 private:
  std::vector<Entry> m_entries;
  QHash<QString, qsizetype> m_firstByName;
};

// Completes a record read from a panel: an empty internal name becomes
// <panel name>.<control name> (the canvas Tag of the control's panel and the
// control's Tag), then the type, address, port and mapping code of the
// matching map entry, if any, are copied into the record.
void applyHardwareMapToControl(ControlRecord &record, const HardwareMap &map);
