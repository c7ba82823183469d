#pragma once

#include <QSet>
#include <QString>

class PanelModel;

// The hardware-map internal names (lower case) a panel's controls had when it
// was read and at each save: a save removes those the panel no longer has,
// so that a renamed panel or control leaves no entries behind.
QSet<QString> mapEntriesSinceOpened(const PanelModel &panel);
// Adds the internal names the panel's controls have now.
void rememberMapEntries(const PanelModel &panel);
// Starts a panel with none (a new panel may take a closed one's place).
void forgetMapEntries(const PanelModel &panel);
