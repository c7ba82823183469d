#pragma once

#include <QString>
#include <QStringList>

class Ui;

// The places the manual help.pdf is looked for: the start folder first, then
// the installed tree beside the program (../share/doc/...), then the folder
// the program was built in.
QStringList helpFileCandidates(const QString &startFolder, const QString &programFolder,
                               const QString &buildFolder);

// Opens the manual (F1 and the Help buttons): the first of the settings'
// candidates that exists, or says where it was looked for when none does.
void openHelp(Ui &ui);
