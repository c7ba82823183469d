#pragma once

#include <QString>
#include <cstdio>

// `--export OUT PANEL.xml`: reads the panel file and writes it as operators
// see it to OUT, a PNG, SVG or one-page PDF by OUT's extension (as File >
// Export Image and File > Print to PDF do), on Qt's offscreen platform under
// an application of its own; messages go to `err`, nothing to stdout.
// Returns the exit status: 0 written, 1 when the panel cannot be read or
// OUT cannot be written, 2 for an OUT of another type or a PANEL.xml that
// does not exist.
int runExportCommand(int &argc, char **argv, const QString &out, const QString &panelFile,
                     FILE *err);
