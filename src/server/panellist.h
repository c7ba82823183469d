#pragma once

#include <QString>
#include <QStringView>
#include <vector>

// One line of the server's panel list.
struct PanelEntry {
  QString panelName;
  QString panelCaption;  // empty when the line has one field
  bool operator==(const PanelEntry &) const = default;
};

// The payload of a list with two fields (command 42): lines cut at CR LF,
// fields at tabs. An empty line ends the list.
std::vector<PanelEntry> readPanelList(QStringView payload);

// The payload of a list of names (command 44): every line, empty ones too,
// is one name.
std::vector<PanelEntry> readPanelNames(QStringView payload);

// The payload of a list with two fields for these entries (what the server sends).
QString writePanelList(const std::vector<PanelEntry> &entries);
