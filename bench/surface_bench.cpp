// Dragging a large selection: one mouse step of a right-button drag moves
// every selected control and its frame. Budget: 500 selected controls on a
// panel of 5,000 move by one step in at most 5 ms. Dragging one control with
// snapping to the others, to equal gaps and to the grid: one step on a
// panel of 5,000 in at most 2 ms.

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "selectedpanel.h"

namespace {

constexpr int kPanelControls = 5000;
constexpr double kBudgetMs = 5.0;
constexpr double kSnapBudgetMs = 2.0;

void BM_DragSelection(benchmark::State &state) {
  const int selected = static_cast<int>(state.range(0));
  bench::SelectedPanel f(kPanelControls, selected);
  if (!f.ready()) {
    state.SkipWithError("the selection could not be made");
    return;
  }
  // Right button down in the middle of the frame, then steps of one pixel
  // (15 twips) to and fro.
  const double x = 300, y = 150;
  f.panel->frameMouseDown(f.frame, MouseButton::Right, x, y);
  bench::IterationTimes times;
  double step = 15;
  for (auto _ : state) {
    const auto start = bench::Clock::now();
    f.panel->frameMouseMove(f.frame, MouseButton::Right, x + step, y + step);
    times.add(state, bench::secondsSince(start));
    step = -step;
  }
  f.panel->frameMouseUp(f.frame, MouseButton::Right, x, y);
  const double ms = times.median() * 1e3;
  state.counters["selected"] = selected;
  state.counters["median_ms"] = ms;
  if (selected == 500)
    bench::reportBudget("move 500 selected controls by one step", ms, kBudgetMs, "ms");
}
BENCHMARK(BM_DragSelection)
    ->Arg(500)
    ->Arg(kPanelControls)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

void BM_DragStepWithSnapping(benchmark::State &state) {
  bench::SelectedPanel f(kPanelControls, 1);
  if (!f.ready()) {
    state.SkipWithError("the selection could not be made");
    return;
  }
  f.panel->snapOptions.toControls = true;
  f.panel->snapOptions.toGrid = true;
  f.panel->snapOptions.tolerance = 90;  // 6 pixels at 100 %
  // Into the middle of the panel's rows and columns first (the index is
  // built at the press), then steps of a few pixels to and fro, so that
  // each step looks for edges, centres and gaps again.
  const double x = 300, y = 150;
  f.panel->frameMouseDown(f.frame, MouseButton::Right, x, y);
  const ResizeFrame *frame = f.panel->model().frame(f.frame);
  auto moveTo = [&](double absX, double absY) {
    f.panel->frameMouseMove(f.frame, MouseButton::Right, absX - frame->left, absY - frame->top);
  };
  const double midX = 20 * 1320 + 700, midY = 60 * 600 + 250;
  moveTo(midX, midY);
  bench::IterationTimes times;
  int i = 0;
  for (auto _ : state) {
    const double d = 45 * (i++ % 5);
    const auto start = bench::Clock::now();
    moveTo(midX + d, midY + d);
    times.add(state, bench::secondsSince(start));
  }
  f.panel->frameMouseUp(f.frame, MouseButton::Right, x, y);
  const double ms = times.median() * 1e3;
  state.counters["median_ms"] = ms;
  bench::reportBudget("drag step with snapping on 5,000 controls", ms, kSnapBudgetMs, "ms");
}
BENCHMARK(BM_DragStepWithSnapping)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char **argv) {
  bench::useOffscreenPlatform();
  QGuiApplication app(argc, argv);
  return bench::runAll(argc, argv);
}
