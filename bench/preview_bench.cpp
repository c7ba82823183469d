// A previewed panel with 20 live meters. Budget: at most 10 % of one core,
// as process CPU time over wall time across 10 s of preview. The figure is
// for the platform it runs on (offscreen by default; set QT_QPA_PLATFORM=xcb
// under Xvfb to include the X server's side of the drawing in this process's
// share only as far as the client pays for it).

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "app/mainwindowlogic.h"
#include "benchsupport.h"
#include "surface/paneleditor.h"
#include "ui/mainwindow.h"
#include "ui/panelview.h"
#include "ui/qtui.h"

namespace {

constexpr int kMeters = 20;
constexpr double kSeconds = 10.0;
constexpr double kBudgetPercent = 10.0;

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval &t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void runEvents(double seconds) {
  QEventLoop loop;
  QTimer::singleShot(int(seconds * 1000), &loop, &QEventLoop::quit);
  loop.exec();
}

void BM_PreviewMeters(benchmark::State &state) {
  bench::Workspace ws;
  QtUi ui;
  MainWindowLogic designer(ui);
  MainWindow window(designer);
  ui.setParentWidget(&window);
  window.resize(1400, 900);
  window.show();
  PanelEditor *panel = designer.newPanel();
  for (int i = 0; i < kMeters; ++i) {
    DesignControl *meter = panel->insertControl(ControlKind::Meter);
    meter->left = 300 + (i % 10) * 900;
    meter->top = 300 + (i / 10) * 3300;
  }
  PanelSubWindow *sub = window.subWindowOf(panel);
  sub->resize(1200, 700);
  sub->setPreview(true);
  runEvents(1.0);  // settle: first paints, fonts, caches

  double share = 0;
  for (auto _ : state) {
    const double cpuBefore = cpuSeconds();
    const auto start = bench::Clock::now();
    runEvents(kSeconds);
    const double wall = bench::secondsSince(start);
    share = 100.0 * (cpuSeconds() - cpuBefore) / wall;
    state.SetIterationTime(wall);
  }
  state.counters["cpu_percent"] = share;
  bench::reportBudget("preview of 20 meters: CPU time / wall time", share, kBudgetPercent, "%");
}
BENCHMARK(BM_PreviewMeters)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char **argv) {
  bench::useOffscreenPlatform();
  QApplication app(argc, argv);
  return bench::runAll(argc, argv);
}
