// Dragging a large selection: one mouse step of a right-button drag moves
// every selected control and its frame. Budget: 500 selected controls on a
// panel of 5,000 move by one step in at most 5 ms.

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "selectedpanel.h"

namespace {

constexpr int kPanelControls = 5000;
constexpr double kBudgetMs = 5.0;

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
  f.panel->FrameMouseDown(f.frame, MouseButton::Right, x, y);
  bench::IterationTimes times;
  double step = 15;
  for (auto _ : state) {
    const auto start = bench::Clock::now();
    f.panel->FrameMouseMove(f.frame, MouseButton::Right, x + step, y + step);
    times.add(state, bench::SecondsSince(start));
    step = -step;
  }
  f.panel->FrameMouseUp(f.frame, MouseButton::Right, x, y);
  const double ms = times.median() * 1e3;
  state.counters["selected"] = selected;
  state.counters["median_ms"] = ms;
  if (selected == 500)
    bench::ReportBudget("move 500 selected controls by one step", ms, kBudgetMs, "ms");
}
BENCHMARK(BM_DragSelection)
    ->Arg(500)
    ->Arg(kPanelControls)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char **argv) {
  bench::UseOffscreenPlatform();
  QGuiApplication app(argc, argv);
  return bench::RunAll(argc, argv);
}
