#pragma once

#include <QString>
#include <optional>

#include "model/textfile.h"

class PanelModel;

// The file a panel was read from or last saved to, as it was then: a save
// over that file asks first when someone else changed it since.
void rememberPanelFile(const PanelModel &panel, const QString &path, const FileStamp &stamp);
// The stamp the panel keeps of `path`, when it was read from or saved to it.
std::optional<FileStamp> panelFileStamp(const PanelModel &panel, const QString &path);
// True when the panel was read from or saved to `path` in this session and
// the file's bytes changed since.
bool panelFileChangedSince(const PanelModel &panel, const QString &path);
// Starts a panel with no file (a new panel may take a closed one's place).
void forgetPanelFile(const PanelModel &panel);
