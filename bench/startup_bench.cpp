// Start-up to a shown main window. Budget: at most 1.5 s, measured on a fresh
// process of this program (loading, application object, settings, main
// window shown and exposed, with its peak resident memory) and, for the
// window alone, in this process. The child uses the platform of this process
// (offscreen unless QT_QPA_PLATFORM says otherwise, e.g. xcb under Xvfb).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QWindow>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/mainwindowlogic.h"
#include "app/startup.h"
#include "benchsupport.h"
#include "model/settings.h"
#include "ui/mainwindow.h"
#include "ui/qtui.h"
#include "ui/webbrowserhost.h"

namespace {

constexpr double kBudgetSeconds = 1.5;
constexpr const char *kChildFlag = "--start-and-exit";

// Processes events until the window is exposed; false after five seconds.
bool waitExposed(QWidget &window) {
  QElapsedTimer timer;
  timer.start();
  while (!window.windowHandle() || !window.windowHandle()->isExposed()) {
    if (timer.elapsed() > 5000) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

// What the program's main does from its settings to a shown window.
struct Shell {
  QtUi ui;
  MainWindowLogic designer{ui};
  MainWindow window{designer};

  bool start() {
    ui.setParentWidget(&window);
    designer.load();
    window.show();
    return waitExposed(window);
  }
};

// Child side: a fresh process starts like the program and exits as soon as
// its main window is exposed.
int startAndExit(int argc, char **argv) {
  WebBrowserHost::prepareProcess();
  QApplication app(argc, argv);
  initSettings(programSettings(), QDir::currentPath());
  readRememberedConnection();
  Shell shell;
  if (!shell.start()) return 1;
  // The peak resident memory of the started program, for the parent to report.
  if (std::FILE *f = std::fopen("startup-rss", "w")) {
    std::fprintf(f, "%lld\n", bench::procStatusBytes("VmHWM"));
    std::fclose(f);
  }
  return 0;
}

void BM_StartupProcess(benchmark::State &state) {
  bench::Workspace ws;  // start folder and settings folder of the child
  const std::string command = "cd '" + ws.root().toStdString() + "' && XDG_CONFIG_HOME='" +
                              ws.root().toStdString() + "' QT_QPA_PLATFORM='" +
                              qgetenv("QT_QPA_PLATFORM").toStdString() + "' '" + bench::selfPath() +
                              "' " + kChildFlag + " 2>/dev/null";
  bench::IterationTimes times;
  for (auto _ : state) {
    const auto start = bench::Clock::now();
    const int status = std::system(command.c_str());
    times.add(state, bench::secondsSince(start));
    if (status != 0) {
      state.SkipWithError("the program did not show its main window");
      return;
    }
  }
  const double seconds = times.median();
  state.counters["median_s"] = seconds;
  QFile rss(ws.root() + QStringLiteral("startup-rss"));
  if (rss.open(QIODevice::ReadOnly))
    state.counters["peak_rss_MB"] = rss.readAll().trimmed().toDouble() / (1024.0 * 1024.0);
  bench::reportBudget("start-up to a shown main window (new process)", seconds, kBudgetSeconds,
                      "s");
}
BENCHMARK(BM_StartupProcess)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// The main window alone, in this process; the first run pays what a real
// start pays once (styles, fonts, platform), later runs show the rest.
void BM_StartupWindow(benchmark::State &state) {
  bench::Workspace ws;
  bench::IterationTimes times;
  double first = -1;
  for (auto _ : state) {
    const auto start = bench::Clock::now();
    auto shell = std::make_unique<Shell>();
    const bool shown = shell->start();
    const double seconds = bench::secondsSince(start);
    times.add(state, seconds);
    if (first < 0) first = seconds;
    state.PauseTiming();
    shell.reset();
    state.ResumeTiming();
    if (!shown) {
      state.SkipWithError("the main window was not exposed");
      return;
    }
  }
  state.counters["first_s"] = first;
  state.counters["median_s"] = times.median();
  bench::reportBudget("start-up: first main window in a running process", first, kBudgetSeconds,
                      "s");
}
BENCHMARK(BM_StartupWindow)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
  bench::useOffscreenPlatform();
  if (argc == 2 && std::strcmp(argv[1], kChildFlag) == 0) return startAndExit(argc, argv);
  QApplication app(argc, argv);
  return bench::runAll(argc, argv);
}
