#pragma once

// A panel window with a generated panel read into it and its first
// `selected` controls selected (Ctrl+click each), the last one current: the
// ground for dragging, undoing and redoing a large selection.

#include <memory>

#include "benchsupport.h"
#include "hwmap/hardwaremap.h"
#include "panelfile/localstore.h"
#include "surface/paneleditor.h"
#include "surface/panelreadhooks.h"

namespace bench {

struct SelectedPanel {
  Workspace ws;
  QuietUi ui;
  std::unique_ptr<PanelEditor> panel;
  int frame = 0;  // the current control's frame
  int wanted = 0;

  SelectedPanel(int controls, int selected) : wanted(selected) {
    const QString path = writePanelFile(ws, controls, QStringLiteral("Selected"));
    panel = std::make_unique<PanelEditor>(ui);
    {
      PanelReadHooks hooks(*panel);
      readPanelText(loadPanelText(path), path, panel->model(), hooks,
                    HardwareMap::fromFile(programSettings().hardwareMapFile));
    }
    panel->setCtrlDown(true);
    const auto &records = panel->model().panelRecord.records;
    for (int i = 0; i < selected && i < static_cast<int>(records.size()); ++i)
      panel->controlGotFocus(records[static_cast<size_t>(i)]->control);
    panel->setCtrlDown(false);
    frame = panel->frameIndexOf(panel->currentControl());
  }
  bool ready() const {
    return static_cast<int>(panel->selectedControls().size()) == wanted && frame != 0;
  }
};

}  // namespace bench
