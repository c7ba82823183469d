#pragma once

// Opening a panel file as the main window's logic does, for the benchmarks
// that time it or compare with it.

#include <memory>

#include "benchsupport.h"
#include "hwmap/hardwaremap.h"
#include "panelfile/localstore.h"
#include "surface/paneleditor.h"
#include "surface/panelreadhooks.h"

namespace bench {

// The read (file, map, a new panel window, the reader with the window's
// hooks, caption), counting the window's change signals. The window is handed
// back, so that closing it is not timed.
struct OpenedPanel {
  double seconds = 0;
  int changedSignals = 0;
  std::unique_ptr<PanelEditor> panel;
};

inline OpenedPanel openPanelCore(const QString &path, Ui &ui) {
  OpenedPanel r;
  const auto start = Clock::now();
  r.panel = std::make_unique<PanelEditor>(ui);
  QObject::connect(r.panel.get(), &PanelEditor::changed, [&r](int) { ++r.changedSignals; });
  r.panel->setOpening(true);
  const QString text = loadPanelText(path);
  {
    PanelReadHooks hooks(*r.panel);
    readPanelText(text, path, r.panel->model(), hooks,
                  HardwareMap::fromFile(programSettings().hardwareMapFile));
  }
  r.panel->setCaption(r.panel->model().caption);
  r.panel->setOpening(false);
  r.seconds = secondsSince(start);
  return r;
}

}  // namespace bench
