#pragma once

#include <QString>

#include "model/settings.h"
#include "server/connectionmemory.h"

// Fixes the folders and settings derived from the folder the program was
// started in (start procedure and main window load).
void initSettings(ProgramSettings &settings, const QString &currentFolder);

// Applies a "tcp://address[:port[:user]]" command text: quotes removed,
// trimmed, prefix in any case, text after the first blank ignored. A port
// that is not a whole number from 1 to 65535 keeps the previous port; no port gives 5200.
// Returns true when the text asked for a server connection.
bool applyCommandText(ProgramSettings &settings, const QString &commandText);

// The remembered connection text of the last server connection, trimmed.
QString readRememberedConnection();
