// Repainting the whole visible canvas of a panel of 5,000 controls zoomed to
// 400 % (and at 100 % and 25 % for comparison), in a panel window filling a
// 1280 x 1024 main window. Budget at 400 %: at most 16 ms, one frame.
// Repainting a panel whose caption, text and address are 2 MB each (as a
// file or a server may give): one frame too, for only what fits is laid out.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMdiArea>
#include <QScrollArea>

#include "benchsupport.h"
#include "model/designcontrol.h"
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

void BM_RepaintHugeCaptions(benchmark::State &state) {
  ShownShell shown;
  if (!shown.show()) {
    state.SkipWithError("the main window was not shown");
    return;
  }
  PanelEditor *panel = shown.designer.newPanel();
  PanelSubWindow *sub = panel ? shown.window.subWindowOf(panel) : nullptr;
  if (!sub) {
    state.SkipWithError("the panel was not opened");
    return;
  }
  sub->showMaximized();
  const QString huge = QStringLiteral("Talk back ").repeated(200000);
  const ControlKind kinds[] = {ControlKind::Button, ControlKind::Label, ControlKind::WebBrowser};
  int column = 0;
  for (const ControlKind kind : kinds) {
    DesignControl *c = panel->insertControl(kind);
    c->left = 300 + column++ * 3300;
    c->top = 300;
    c->width = 3000;
    c->height = 3000;
    if (auto *button = controlCast<DesignButton>(c)) button->caption = huge;
    if (auto *label = controlCast<DesignLabel>(c)) label->text = huge;
    if (auto *browser = controlCast<DesignWebBrowser>(c)) browser->locationURL = huge;
  }
  PanelCanvasView *canvas = sub->canvas();
  QCoreApplication::processEvents();
  bench::IterationTimes times;
  for (auto _ : state) {
    const auto start = bench::Clock::now();
    canvas->repaint();
    times.add(state, bench::secondsSince(start));
  }
  const double ms = times.median() * 1e3;
  state.counters["median_ms"] = ms;
  bench::reportBudget("repaint a panel of 2 MB captions", ms, kBudgetMs, "ms");
}
BENCHMARK(BM_RepaintHugeCaptions)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) { return runWidgetBenchmarks(argc, argv); }
