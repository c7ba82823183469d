#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class HardwareMap;
class Ui;
class PanelEditor;

// Find and replace over many panels: the changes a replacement would make in
// open panels and closed panel files, and making a chosen part of them.
// Matching is Find's (FindQuery): letter case ignored, numbers never cut.

struct ReplaceRequest {
  QString field;  // one of replaceFieldLabels(); empty: every field
  QString find;
  QString replacement;
};

// The fields a replacement can change, by the labels Find's hits carry:
// the panel's Caption and OnLoad, and a control's Name, Caption, URL,
// commands, router map, mapping code, host address and port, and a meter's
// router and IO numbers. The parts Find shows of a mapping code (port,
// circuit, module, button) are changed through the code itself.
const QStringList &replaceFieldLabels();

// One field of one control (or of the panel) as a replacement changes it.
struct ReplaceChange {
  QString file;                  // the panel's file; empty for an open panel never saved
  QString panelName;             // the panel's name (canvas Tag)
  PanelEditor *panel = nullptr;  // its open window; null for a closed file
  QString control;               // the control's name before the change; empty: the panel's own
  QString field;
  QString before, after;
  QString refused;  // why the field cannot take `after`; empty when it can

  bool operator==(const ReplaceChange &) const = default;
};

// A file nothing was changed in, and why.
struct SkippedFile {
  QString file;
  QString reason;
};

struct ReplacePlan {
  std::vector<ReplaceChange> changes;  // open panels in window order, then the files in order
  std::vector<SkippedFile> skipped;    // files that cannot be read
};

// The changes of a replacement over the open panels and the closed files
// (read with the bindings of `map`, on all cores). A file that is open in a
// window is left to its window. Nothing is changed or written.
ReplacePlan planReplace(const ReplaceRequest &request, const std::vector<PanelEditor *> &open,
                        const QStringList &files, const HardwareMap &map);

struct ReplaceOutcome {
  std::vector<ReplaceChange> made;
  std::vector<ReplaceChange> refused;  // chosen, but the field cannot take the value now
  std::vector<SkippedFile> failed;     // files not read or not written: nothing changed there

  // How many controls (the panel counting as one when its own fields
  // changed) and how many panels changed.
  int controlCount() const;
  int panelCount() const;
  bool complete() const { return refused.empty() && failed.empty(); }
};

// Makes the chosen changes (from planReplace with the same request). An open
// panel changes through its undo stack, one step for all its changes
// ("Replace in 12 Controls"), and stays to be saved. A closed file is read
// again with the map of the settings, changed whole and written as a save
// writes it (backup and hardware map included), or not at all: one whose
// window is open by now changes in the window instead. A change whose field
// no longer holds the value it had in the plan is refused.
ReplaceOutcome applyReplace(const ReplaceRequest &request, const std::vector<ReplaceChange> &chosen,
                            const std::vector<PanelEditor *> &open, Ui &ui);
