#pragma once

// Opening a panel file as the main window's logic does, for the benchmarks
// that time it or compare with it.

#include <memory>

#include "benchsupport.h"
#include "hwmap/hardwaremap.h"
#include "panelfile/localstore.h"
#include "surface/frmpanel.h"
#include "surface/panelreadhooks.h"

namespace bench {

// The read (file, map, a new panel window, the reader with the window's
// hooks, caption), counting the window's change signals. The window is handed
// back, so that closing it is not timed.
struct OpenedPanel {
  double seconds = 0;
  int changedSignals = 0;
  std::unique_ptr<frmPanel> panel;
};

inline OpenedPanel OpenPanelCore(const QString &path, Ui &ui) {
  OpenedPanel r;
  const auto start = Clock::now();
  r.panel = std::make_unique<frmPanel>(ui);
  QObject::connect(r.panel.get(), &frmPanel::changed, [&r](int) { ++r.changedSignals; });
  r.panel->boolOpenResize = true;
  const QString text = LoadPanelText(path);
  {
    PanelReadHooks hooks(*r.panel);
    ReadPanelText(text, path, r.panel->model(), hooks,
                  HardwareMap::FromFile(Settings().strHardwareMapFile));
  }
  r.panel->setCaption(r.panel->model().Caption);
  r.panel->boolOpenResize = false;
  r.seconds = SecondsSince(start);
  return r;
}

}  // namespace bench
