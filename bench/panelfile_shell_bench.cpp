// Opening a large panel in the real shell: the main window's open command
// reads the file, the shell builds the panel's window and views, and the
// panel is painted the first time; against the core's opening of the same
// file (read, window logic, hooks). Budget: at most 2x the core's time, with
// the control list dock hidden (argument 0) and shown (1).
//
// Each iteration times both, one after the other, so that both see the same
// load of a shared machine; the ratio is of the medians.

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QWindow>

#include "app/mainwindowlogic.h"
#include "benchsupport.h"
#include "panelfile_open.h"
#include "shellsupport.h"
#include "ui/mainwindow.h"
#include "ui/panelview.h"
#include "ui/qtui.h"

namespace {

constexpr int kControls = 5000;

void BM_OpenPanelInTheShell(benchmark::State &state) {
  bench::Workspace ws;
  const QString path = bench::writePanelFile(ws, kControls, QStringLiteral("Console"));
  ShownShell shown;
  if (!shown.show()) {
    state.SkipWithError("the main window was not shown");
    return;
  }
  MainWindowLogic &designer = shown.designer;
  MainWindow &window = shown.window;
  const bool withList = state.range(0) == 1;
  if (withList) window.action("mnuControlList")->trigger();
  bench::QuietUi quiet;
  bench::IterationTimes shell;
  std::vector<double> core;
  for (auto _ : state) {
    bench::OpenedPanel reference = bench::openPanelCore(path, quiet);
    core.push_back(reference.seconds);
    state.PauseTiming();
    reference.panel.reset();
    state.ResumeTiming();

    PaintWatch watch;
    const auto start = bench::Clock::now();
    PanelEditor *panel = designer.openPanelLocal(path);
    PanelSubWindow *sub = panel ? window.subWindowOf(panel) : nullptr;
    if (sub) sub->canvas()->installEventFilter(&watch);
    const bool painted = sub && processEventsUntil([&] { return watch.painted; });
    shell.add(state, bench::secondsSince(start));
    if (!painted) {
      state.SkipWithError("the panel was not painted");
      return;
    }
    state.PauseTiming();
    sub->canvas()->removeEventFilter(&watch);
    designer.closePanel(panel);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
  const double ratio = shell.median() / bench::medianOf(core);
  state.counters["core_ms"] = bench::medianOf(core) * 1e3;
  state.counters["x_core"] = ratio;
  bench::reportBudget(withList ? "open 5,000 controls in the shell with the control list / in "
                                 "the core"
                               : "open 5,000 controls in the shell / in the core",
                      ratio, 2.0, "x");
}
BENCHMARK(BM_OpenPanelInTheShell)
    ->Arg(0)
    ->Arg(1)
    ->MinTime(3.0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) { return runWidgetBenchmarks(argc, argv); }
