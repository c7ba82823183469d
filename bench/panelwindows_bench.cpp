// Opening 200 small panels one after another in the shell, as a server
// that delivers them does: each panel is read, gets its window and views,
// and is painted once before the next arrives. Budgets: at most 5 s for all
// 200, and the last windows cost at most three times the first ones (each
// end is the mean of ten windows, so that one slow paint does not decide).
// What still grows is Qt's repaint walking every sibling sub-window; our own
// code must not add to it. The windows are compared by the thread's CPU
// time, so that other work on a shared machine does not blur the ratio; the
// total is wall time.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QWindow>
#include <ctime>
#include <numeric>

#include "app/mainwindowlogic.h"
#include "benchsupport.h"
#include "shellsupport.h"
#include "surface/paneleditor.h"
#include "ui/mainwindow.h"
#include "ui/panelview.h"
#include "ui/qtui.h"

namespace {

constexpr int kPanels = 200;
constexpr int kControls = 12;
constexpr int kEnd = 10;  // windows averaged at each end

// A panel of a dozen controls in a window of 240 x 160 pixels.
QString smallPanel(int number, const bench::Workspace &ws) {
  return bench::panelText(kControls, QStringLiteral("Small%1").arg(number), ws.graphicsFolder())
      .replace(QStringLiteral("<Width>28800</Width>"), QStringLiteral("<Width>3600</Width>"))
      .replace(QStringLiteral("<Height>21600</Height>"), QStringLiteral("<Height>2400</Height>"));
}

double threadSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double mean(std::vector<double>::const_iterator first, std::vector<double>::const_iterator last) {
  return std::accumulate(first, last, 0.0) / double(last - first);
}

void BM_OpenTwoHundredSmallPanels(benchmark::State &state) {
  bench::Workspace ws;
  ShownShell shown;
  if (!shown.show()) {
    state.SkipWithError("the main window was not shown");
    return;
  }
  MainWindowLogic &designer = shown.designer;
  MainWindow &window = shown.window;
  std::vector<QString> texts;
  for (int i = 1; i <= kPanels; ++i) texts.push_back(smallPanel(i, ws));

  double total = 0, firstWindows = 0, lastWindows = 0;
  for (auto _ : state) {
    std::vector<double> each;
    const auto start = bench::Clock::now();
    for (int i = 0; i < kPanels; ++i) {
      const double one = threadSeconds();
      const QString name = QStringLiteral("Small%1").arg(i + 1);
      PanelEditor *panel = designer.openPanelText(
          texts[size_t(i)], QStringLiteral("tcp://127.0.0.1:5200/") + name + ".xml", name);
      PanelSubWindow *sub = panel ? window.subWindowOf(panel) : nullptr;
      PaintWatch watch;
      if (sub) sub->canvas()->installEventFilter(&watch);
      if (!sub || !processEventsUntil([&] { return watch.painted; })) {
        state.SkipWithError("a panel was not opened and painted");
        return;
      }
      sub->canvas()->removeEventFilter(&watch);
      each.push_back(threadSeconds() - one);
    }
    total = bench::secondsSince(start);
    state.SetIterationTime(total);
    firstWindows = mean(each.begin(), each.begin() + kEnd);
    lastWindows = mean(each.end() - kEnd, each.end());

    state.PauseTiming();
    for (PanelEditor *panel : designer.openPanels()) designer.closePanel(panel);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["first_ms"] = firstWindows * 1e3;
  state.counters["last_ms"] = lastWindows * 1e3;
  bench::reportBudget("open 200 small panels one after another", total, 5.0, "s");
  bench::reportBudget("the last of 200 panel windows / the first", lastWindows / firstWindows, 3.0,
                      "x");
}
BENCHMARK(BM_OpenTwoHundredSmallPanels)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) { return runWidgetBenchmarks(argc, argv); }
