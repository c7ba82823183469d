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

// The longest line of a list that is read; longer ones are left out (and
// counted in `leftOut` when given).
constexpr qsizetype kLongestPanelListLine = 255;

// The payload of a list with two fields (command 42): lines cut at CR LF,
// fields at tabs. An empty line ends the list.
std::vector<PanelEntry> readPanelList(QStringView payload, qsizetype *leftOut = nullptr);

// The payload of a list of names (command 44): every line but empty ones is
// one name.
std::vector<PanelEntry> readPanelNames(QStringView payload, qsizetype *leftOut = nullptr);

// The payload of a list with two fields for these entries (what the server sends).
QString writePanelList(const std::vector<PanelEntry> &entries);
