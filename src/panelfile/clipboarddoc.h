#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

class DesignControl;
class HardwareMap;
class PanelModel;
class ReadHooks;
class ControlRecord;

// The clipboard document of the selected controls, in selection order:
// "ClipboardControls" / "ControlList" / one control element each, as in a
// panel file, laid out with CR LF. Controls without a record are skipped;
// an empty text when nothing was written (the clipboard is then left alone).
QString buildClipboardDocument(const PanelModel &panel,
                               const std::vector<DesignControl *> &selected, bool serverMode);

// The value of the first child of the fragment's root with that name (any
// case), or -1 when the fragment is not XML or has no such child.
qint32 xmlNumber(const QString &fragment, const QString &name);

// Pastes the controls of every "ControlList" child of the text's root (so a
// whole panel file pastes too): the group's top-left corner lands on the
// canvas origin, names already used on the panel are replaced by fresh
// default names, each record gets a frame and is appended to records.
// hooks.pasteStarting runs once before the first control, hooks.controlPasted
// after each. Text that is not XML pastes nothing: the whole text is read
// once before the first control is placed. Returns the new records.
std::vector<ControlRecord *> analyzeClipboardXML(const QString &text, PanelModel &panel,
                                                 ReadHooks &hooks, const HardwareMap &map);
