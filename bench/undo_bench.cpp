// Undo and redo of moving 500 selected controls of a 5,000-control panel:
// each at most 5 ms; 200 such steps keep at most 20 MB more than none.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QGuiApplication>

#include "selectedpanel.h"

namespace {

constexpr int kPanelControls = 5000;
constexpr int kSelected = 500;
constexpr double kBudgetMs = 5.0;
constexpr int kSteps = 200;
constexpr double kBudgetMb = 20.0;

// The generated panel, the first 500 controls selected; a right-button
// drag by a few pixels is one undo step moving all 500.
struct MoveFixture : bench::SelectedPanel {
  MoveFixture() : SelectedPanel(kPanelControls, kSelected) {}
  void move(int step) {
    panel->frameMouseDown(frame, MouseButton::Right, 300, 150);
    panel->frameMouseMove(frame, MouseButton::Right, 300 + 15 * step, 150 + 15 * step);
    panel->frameMouseUp(frame, MouseButton::Right, 300 + 15 * step, 150 + 15 * step);
  }
};

size_t heapInUse() { return mallinfo2().uordblks; }

void BM_UndoRedoMove(benchmark::State &state) {
  MoveFixture f;
  if (!f.ready()) {
    state.SkipWithError("the selection could not be made");
    return;
  }
  f.move(3);
  if (f.panel->undoStack().count() != 1) {
    state.SkipWithError("the drag made no single step");
    return;
  }
  // Every selected control must come back and go again.
  std::vector<qint32> moved;
  for (const DesignControl *c : f.panel->selectedControls()) moved.push_back(c->left);
  f.panel->undo();
  int back = 0;
  for (size_t i = 0; i < moved.size(); ++i)
    back += f.panel->selectedControls()[i]->left != moved[i];
  f.panel->redo();
  if (back != kSelected) {
    state.SkipWithError("undo did not move every selected control back");
    return;
  }
  bench::IterationTimes undoTimes, redoTimes;
  for (auto _ : state) {
    auto start = bench::Clock::now();
    f.panel->undo();
    const double undo = bench::secondsSince(start);
    undoTimes.add(state, undo);
    start = bench::Clock::now();
    f.panel->redo();
    redoTimes.add(state, bench::secondsSince(start));
  }
  state.counters["undo_ms"] = undoTimes.median() * 1e3;
  state.counters["redo_ms"] = redoTimes.median() * 1e3;
  bench::reportBudget("undo a move of 500 of 5,000 controls", undoTimes.median() * 1e3, kBudgetMs,
                      "ms");
  bench::reportBudget("redo a move of 500 of 5,000 controls", redoTimes.median() * 1e3, kBudgetMs,
                      "ms");
}
BENCHMARK(BM_UndoRedoMove)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_MemoryOf200Moves(benchmark::State &state) {
  for (auto _ : state) {
    MoveFixture f;
    if (!f.ready()) {
      state.SkipWithError("the selection could not be made");
      return;
    }
    malloc_trim(0);
    const size_t before = heapInUse();
    for (int i = 0; i < kSteps; ++i) f.move(i % 2 ? 2 : -1);
    malloc_trim(0);
    const double mb = double(heapInUse()) - double(before);
    if (f.panel->undoStack().count() != kSteps) {
      state.SkipWithError("the moves did not make one step each");
      return;
    }
    state.counters["steps"] = kSteps;
    state.counters["MB"] = mb / (1024.0 * 1024.0);
    bench::reportBudget("memory of 200 undo steps moving 500 controls", mb / (1024.0 * 1024.0),
                        kBudgetMb, "MB");
  }
}
BENCHMARK(BM_MemoryOf200Moves)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
  bench::useOffscreenPlatform();
  QGuiApplication app(argc, argv);
  return bench::runAll(argc, argv);
}
