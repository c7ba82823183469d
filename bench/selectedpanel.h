#pragma once

// A panel window with a generated panel read into it and its first
// `selected` controls selected (Ctrl+click each), the last one current: the
// ground for dragging, undoing and redoing a large selection.

#include <memory>

#include "benchsupport.h"
#include "hwmap/hardwaremap.h"
#include "panelfile/localstore.h"
#include "surface/frmpanel.h"
#include "surface/panelreadhooks.h"

namespace bench {

struct SelectedPanel {
  Workspace ws;
  QuietUi ui;
  std::unique_ptr<frmPanel> panel;
  int frame = 0;  // the current control's frame
  int wanted = 0;

  SelectedPanel(int controls, int selected) : wanted(selected) {
    const QString path = WritePanelFile(ws, controls, QStringLiteral("Selected"));
    panel = std::make_unique<frmPanel>(ui);
    {
      PanelReadHooks hooks(*panel);
      ReadPanelText(LoadPanelText(path), path, panel->model(), hooks,
                    HardwareMap::FromFile(Settings().strHardwareMapFile));
    }
    panel->boolCtrlDown = true;
    const auto &records = panel->model().PanelDetails.CollControls;
    for (int i = 0; i < selected && i < static_cast<int>(records.size()); ++i)
      panel->ControlGotFocus(records[static_cast<size_t>(i)]->cntrlObject);
    panel->boolCtrlDown = false;
    frame = panel->GetResizeIndex(panel->objCurrentControl);
  }
  bool ready() const {
    return static_cast<int>(panel->collSelectedControls.size()) == wanted && frame != 0;
  }
};

}  // namespace bench
