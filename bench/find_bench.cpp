// Edit > Find and Check Panels over 100 closed panel files of 1,000 controls each, with one
// hardware map holding the bindings of all of them. Budget: at most 1 s.
//
// "BUT#12" is a mapping code every panel holds, through the map, so every
// file is read whole and searched; "Mic 417" is a caption of one panel. Both
// go through the same route: each file read once by the panel reader.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QGuiApplication>

#include "app/mainwindowlogic.h"
#include "app/panelcheck.h"
#include "app/panelfinder.h"
#include "benchsupport.h"

namespace {

constexpr int kFiles = 100;
constexpr int kControls = 1000;
constexpr double kBudgetSeconds = 1.0;

// CPU seconds this process used so far, all threads together.
double processCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval &t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The panels folder with the files and their one map, written once.
bench::Workspace &workspace() {
  static bench::Workspace ws;
  static const bool written = [] {
    QString entries;
    for (int i = 0; i < kFiles; ++i) {
      const QString name = QStringLiteral("Console%1").arg(i, 3, 10, QLatin1Char('0'));
      QString map;
      const QString text = bench::panelText(kControls, name, ws.graphicsFolder(), &map);
      bench::writeLatin1(ws.panelsFolder() + name + QStringLiteral(".xml"), text);
      const QString open = QStringLiteral("<ControlList>\r\n");
      const qsizetype from = map.indexOf(open) + open.size();
      entries += map.mid(from, map.indexOf(QStringLiteral("  </ControlList>")) - from);
    }
    return bench::writeLatin1(
        ws.hardwareMapFile(),
        QStringLiteral("<HardwareMapList>\r\n  <Name>HardwareMapList</Name>\r\n"
                       "  <ControlList>\r\n") +
            entries + QStringLiteral("  </ControlList>\r\n</HardwareMapList>\r\n"));
  }();
  (void)written;
  return ws;
}

void findInClosedFiles(benchmark::State &state, const char *text, const char *budgetLine) {
  workspace();
  bench::QuietUi ui;
  MainWindowLogic designer(ui);
  PanelFinder &finder = designer.finder();
  finder.setIncludeClosedFiles(true);
  bench::IterationTimes times;
  size_t hits = 0;
  double cpu = 0;
  for (auto _ : state) {
    const auto start = bench::Clock::now();
    const double cpuStart = processCpuSeconds();
    hits = finder.Find(QString::fromLatin1(text)).size();
    cpu += processCpuSeconds() - cpuStart;
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
  bench::Workspace &ws = workspace();
  const QStringList files = panelFilesOf(ws.panelsFolder());
  bench::IterationTimes times;
  size_t findings = 0;
  for (auto _ : state) {
    const auto start = bench::Clock::now();
    findings = checkPanelFiles(files, ws.hardwareMapFile()).size();
    times.add(state, bench::secondsSince(start));
  }
  state.counters["findings"] = static_cast<double>(findings);
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
