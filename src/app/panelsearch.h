#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

class HardwareMap;
class PanelModel;
class PanelEditor;

// One field of one control that holds the searched text.
struct FindHit {
  QString panelName;             // the panel's name (canvas Tag)
  QString panelPath;             // its file or server path; empty for a panel never saved
  PanelEditor *panel = nullptr;  // the open window it was found in; null for a closed file
  QString controlName;           // the control's name (Tag)
  QString kind;                  // "Button", "Label", "Meter", ...
  QString field;                 // the property grid's label of the field, e.g. "OnClick"
  QString value;                 // the field's whole value

  bool operator==(const FindHit &) const = default;
};

// The text searched for: trimmed, compared without regard to case. A match
// never cuts a number: "Circuit5" does not find "Circuit50", "2" does not
// find "12", so the number a user types is the number found.
class FindQuery {
 public:
  explicit FindQuery(const QString &text);
  bool isEmpty() const { return m_text.isEmpty(); }
  const QString &text() const { return m_text; }
  bool matches(QStringView value) const { return nextMatch(value, 0) >= 0; }
  // The value with every match, from left to right, replaced.
  QString replaced(QStringView value, const QString &replacement) const;
  // The lines of a text that hold a match, trimmed: what Find shows of a
  // kept control's text.
  QStringList matchingLines(QStringView text) const;

 private:
  // Where the first match at or after `from` starts, or -1.
  qsizetype nextMatch(QStringView value, qsizetype from) const;
  QString m_text;
  bool m_startsWithDigit = false;
  bool m_endsWithDigit = false;
};

// Appends the hits of one panel: its own caption and OnLoad command (hits
// without a control name), then its controls in placement order, and per
// control its name, caption, the three commands, the router map, the
// hardware mapping code with its decoded module and key (or GPIO port and
// circuit), the hardware host address, a web browser's URL and a meter's
// router and IO numbers; for a kept control its name and each line of its text ("Text").
void searchPanel(const PanelModel &panel, const FindQuery &query, std::vector<FindHit> &hits);

// The panel files of a folder in name order: "*.xml" in any case, without
// the hardware map.
QStringList panelFilesOf(const QString &folder);

// Searches panel files without opening them: each file is read once and
// built by the panel reader into a panel that no window shows, with the
// hardware bindings of `map` (parsed once by the caller for all files).
// Files are read on all cores; hits come in the order of `paths`. A file
// that cannot be read gives one hit of kind "File" saying why. Nothing is
// written.
void searchPanelFiles(const QStringList &paths, const FindQuery &query, const HardwareMap &map,
                      std::vector<FindHit> &hits);
