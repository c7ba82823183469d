// Refilling the property grid when the current control changes. Budget: a
// button is shown in at most 2 ms, on a small panel and on one of 5,000
// controls (the other kinds are measured alongside for comparison).

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <map>
#include <memory>

#include "benchsupport.h"
#include "grid/propertygrid.h"
#include "hwmap/hardwaremap.h"
#include "panelfile/localstore.h"
#include "surface/paneleditor.h"
#include "surface/panelreadhooks.h"

namespace {

constexpr double kBudgetMs = 2.0;

// A panel window holding a generated panel of a given size, kept for the run.
struct PanelFixture {
  bench::Workspace ws;
  bench::QuietUi ui;
  std::unique_ptr<PanelEditor> panel;

  explicit PanelFixture(int controls) {
    const QString path =
        bench::writePanelFile(ws, controls, QStringLiteral("Grid%1").arg(controls));
    panel = std::make_unique<PanelEditor>(ui);
    PanelReadHooks hooks(*panel);
    readPanelText(loadPanelText(path), path, panel->model(), hooks,
                  HardwareMap::fromFile(programSettings().hardwareMapFile));
  }

  // The middle control of a kind (the canvas for -1): on a large panel its
  // record lies deep in the list.
  DesignObject *object(int kind) {
    if (kind < 0) return &panel->model().canvas;
    const auto controls = panel->model().Controls(static_cast<ControlKind>(kind));
    return controls.empty() ? nullptr : controls[controls.size() / 2];
  }
};

PanelFixture &fixture(int controls) {
  static std::map<int, std::unique_ptr<PanelFixture>> fixtures;
  auto &f = fixtures[controls];
  if (!f) f = std::make_unique<PanelFixture>(controls);
  return *f;
}

void BM_FillGrid(benchmark::State &state) {
  const int kind = static_cast<int>(state.range(0));
  const int controls = static_cast<int>(state.range(1));
  PanelFixture &f = fixture(controls);
  DesignObject *shown = f.object(kind);
  if (!shown) {
    state.SkipWithError("the panel has no control of that kind");
    return;
  }
  PropertyGrid grid;
  bench::IterationTimes times;
  for (auto _ : state) {
    const auto start = bench::Clock::now();
    grid.setProperties(*f.panel, shown);
    times.add(state, bench::secondsSince(start));
  }
  const double ms = times.median() * 1e3;
  state.counters["median_ms"] = ms;
  state.counters["rows"] = grid.rowCount();
  if (kind == static_cast<int>(ControlKind::Button))
    bench::reportBudget("refill the grid for a button (" + std::to_string(controls) + " controls)",
                        ms, kBudgetMs, "ms");
}
BENCHMARK(BM_FillGrid)
    ->ArgNames({"kind", "controls"})
    ->Args({static_cast<int>(ControlKind::Button), 20})
    ->Args({static_cast<int>(ControlKind::Button), 5000})
    ->Args({static_cast<int>(ControlKind::Label), 5000})
    ->Args({static_cast<int>(ControlKind::Meter), 5000})
    ->Args({static_cast<int>(ControlKind::MeterFader), 5000})
    ->Args({static_cast<int>(ControlKind::Clock), 5000})
    ->Args({-1, 5000})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char **argv) {
  bench::useOffscreenPlatform();
  QGuiApplication app(argc, argv);
  return bench::runAll(argc, argv);
}
