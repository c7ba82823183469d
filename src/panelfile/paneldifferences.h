#pragma once

#include <QString>

class PanelModel;

// What differs between an open panel and the text of its file as another
// engineer or program left it, control by control (by name, letter case
// ignored): "Only in the file on disk: …", "Only in this panel: …",
// "Different: …", each list sorted. A file that does not read as a panel,
// or whose controls are all the same, says so.
QString describePanelDifferences(const PanelModel &panel, const QString &diskText);
