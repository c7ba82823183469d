// Edit > Find and Check Panels over 100 closed panel files of 1,000 controls each, with one
// hardware map holding the bindings of all of them. Budget: at most 1 s.
//
// "BUT#12" is a mapping code every panel holds, through the map, so every
// file is read whole and searched; "Mic 417" is a caption of one panel. Both
// go through the same route: each file read once by the panel reader.

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "app/mainwindowlogic.h"
#include "app/panelcheck.h"
#include "app/panelfinder.h"
#include "benchsupport.h"
#include "closedpanels.h"

namespace {

constexpr int kFiles = bench::kClosedFiles;
constexpr double kBudgetSeconds = 1.0;

void findInClosedFiles(benchmark::State &state, const char *text, const char *budgetLine) {
  bench::closedPanelsWorkspace();
  bench::QuietUi ui;
  MainWindowLogic designer(ui);
  PanelFinder &finder = designer.finder();
  finder.setIncludeClosedFiles(true);
  bench::IterationTimes times;
  size_t hits = 0;
  double cpu = 0;
  for (auto _ : state) {
    const auto start = bench::Clock::now();
    const double cpuStart = bench::processCpuSeconds();
    hits = finder.Find(QString::fromLatin1(text)).size();
    cpu += bench::processCpuSeconds() - cpuStart;
    times.add(state, bench::secondsSince(start));
  }
  state.counters["hits"] = static_cast<double>(hits);
  // Wall time on a busy machine is mostly waiting; the CPU time of all
  // threads shows the work itself.
  state.counters["cpu_s_all_threads"] = cpu / static_cast<double>(state.iterations());
  state.counters["files"] = kFiles;
  if (budgetLine) bench::reportBudget(budgetLine, times.median(), kBudgetSeconds, "s");
}

void BM_FindCodeInEveryFile(benchmark::State &state) {
  findInClosedFiles(state, "BUT#12", "find a mapping code in 100 closed files of 1,000 controls");
}
BENCHMARK(BM_FindCodeInEveryFile)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_FindCaptionOfOnePanel(benchmark::State &state) {
  findInClosedFiles(state, "Mic 417", "find a caption in 100 closed files of 1,000 controls");
}
BENCHMARK(BM_FindCaptionOfOnePanel)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Check Panels over the same folder: every file read whole and checked,
// with the bindings across panels and the map's entries.
void BM_CheckEveryFile(benchmark::State &state) {
  bench::Workspace &ws = bench::closedPanelsWorkspace();
  const QStringList files = panelFilesOf(ws.panelsFolder());
  bench::IterationTimes times;
  size_t findings = 0;
  double cpu = 0;
  for (auto _ : state) {
    const auto start = bench::Clock::now();
    const double cpuStart = bench::processCpuSeconds();
    findings = checkPanelFiles(files, ws.hardwareMapFile()).size();
    cpu += bench::processCpuSeconds() - cpuStart;
    times.add(state, bench::secondsSince(start));
  }
  state.counters["findings"] = static_cast<double>(findings);
  state.counters["cpu_s_all_threads"] = cpu / static_cast<double>(state.iterations());
  state.counters["files"] = kFiles;
  bench::reportBudget("check 100 closed files of 1,000 controls", times.median(), kBudgetSeconds,
                      "s");
}
BENCHMARK(BM_CheckEveryFile)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

int main(int argc, char **argv) {
  bench::useOffscreenPlatform();
  QGuiApplication app(argc, argv);
  return bench::runAll(argc, argv);
}
