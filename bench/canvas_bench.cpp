// Repainting the whole visible canvas of a panel of 5,000 controls zoomed to
// 400 % (and at 100 % and 25 % for comparison), in a panel window filling a
// 1280 x 1024 main window. Budget at 400 %: at most 16 ms, one frame.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMdiArea>
#include <QScrollArea>

#include "benchsupport.h"
#include "shellsupport.h"
#include "surface/paneleditor.h"
#include "ui/panelview.h"

namespace {

constexpr int kControls = 5000;
constexpr double kBudgetMs = 16.0;

void BM_RepaintZoomedCanvas(benchmark::State &state) {
  const double zoom = double(state.range(0)) / 100;
  bench::Workspace ws;
  ShownShell shown;
  if (!shown.show()) {
    state.SkipWithError("the main window was not shown");
    return;
  }
  const QString text = bench::panelText(kControls, QStringLiteral("Big"), ws.graphicsFolder());
  PanelEditor *panel = shown.designer.openPanelText(
      text, QStringLiteral("tcp://127.0.0.1:5200/Big.xml"), QStringLiteral("Big"));
  PanelSubWindow *sub = panel ? shown.window.subWindowOf(panel) : nullptr;
  if (!sub) {
    state.SkipWithError("the panel was not opened");
    return;
  }
  sub->showMaximized();
  PanelCanvasView *canvas = sub->canvas();
  canvas->setZoom(zoom);
  QCoreApplication::processEvents();
  // Everything the scroll area shows, from the middle of the panel.
  QScrollArea *area = sub->scrollArea();
  area->ensureVisible(canvas->width() / 2, canvas->height() / 2);
  QCoreApplication::processEvents();
  const QRect visible(canvas->mapFrom(area->viewport(), QPoint(0, 0)), area->viewport()->size());
  bench::IterationTimes times;
  for (auto _ : state) {
    const auto start = bench::Clock::now();
    canvas->repaint(visible);
    times.add(state, bench::secondsSince(start));
  }
  const double ms = times.median() * 1e3;
  state.counters["median_ms"] = ms;
  state.counters["pixels"] = visible.width() * visible.height();
  if (state.range(0) == 400)
    bench::reportBudget("repaint a 400 % canvas of 5,000 controls", ms, kBudgetMs, "ms");
}
BENCHMARK(BM_RepaintZoomedCanvas)
    ->Arg(400)
    ->Arg(100)
    ->Arg(25)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) { return runWidgetBenchmarks(argc, argv); }
