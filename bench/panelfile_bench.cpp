// Opening and saving large panels, against a bare pugixml parse and
// serialisation of the same file, and the memory an open panel takes.
//
// Budgets: opening 5,000 controls at most 10x the pugixml parse and 10,000
// controls at most 2.2x the time of 5,000; peak memory growth while the panel
// is open at most 10x the file's size; saving at most 10x the pugixml
// serialisation of the same document.

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <string>

#include "benchsupport.h"
#include "hwmap/hardwaremap.h"
#include "panelfile/localstore.h"
#include "surface/frmpanel.h"
#include "surface/panelreadhooks.h"

namespace {

constexpr int kBudgetControls = 5000;

// One generated panel per size, written once for the whole run.
struct PanelFile {
  QString path;
  qint64 bytes = 0;
};

bench::Workspace &workspace() {
  static bench::Workspace ws;
  return ws;
}

const PanelFile &panelFile(int controls) {
  static std::map<int, PanelFile> files;
  auto it = files.find(controls);
  if (it != files.end()) return it->second;
  PanelFile f;
  f.path = bench::WritePanelFile(workspace(), controls, QStringLiteral("Console%1").arg(controls));
  f.bytes = QFileInfo(f.path).size();
  return files.emplace(controls, f).first->second;
}

// Median seconds of the runs already measured, keyed by benchmark and size,
// so that the ratio counters use the figures printed above them.
std::map<std::string, double> &medians() {
  static std::map<std::string, double> m;
  return m;
}
std::string medianKey(const char *what, int controls) {
  return std::string(what) + "/" + std::to_string(controls);
}

// ---------------------------------------------------------------- opening

double pugixmlParseOnce(const PanelFile &f) {
  const std::string path = f.path.toStdString();
  const auto start = bench::Clock::now();
  pugi::xml_document doc;
  const pugi::xml_parse_result result = doc.load_file(path.c_str());
  const double seconds = bench::SecondsSince(start);
  if (!result) std::fprintf(stderr, "pugixml: %s\n", result.description());
  return seconds;
}

// Opens the file as the main window does (read, new panel window, reader
// with the window's hooks, caption), counting the window's change signals.
struct OpenResult {
  double seconds = 0;
  int controls = 0;
  int changedSignals = 0;
};

OpenResult openOnce(const PanelFile &f) {
  bench::QuietUi ui;
  OpenResult r;
  const auto start = bench::Clock::now();
  auto panel = std::make_unique<frmPanel>(ui);
  QObject::connect(panel.get(), &frmPanel::changed, [&r](int) { ++r.changedSignals; });
  panel->boolOpenResize = true;
  const QString text = LoadPanelText(f.path);
  PanelReadHooks hooks(*panel);
  ReadPanelText(text, f.path, panel->model(), hooks,
                HardwareMap::FromFile(Settings().strHardwareMapFile));
  panel->setCaption(panel->model().Caption);
  panel->boolOpenResize = false;
  r.seconds = bench::SecondsSince(start);
  r.controls = panel->model().ControlCount();
  return r;
}

double medianOf(const char *what, int controls, const std::function<double()> &once) {
  const std::string key = medianKey(what, controls);
  auto it = medians().find(key);
  if (it != medians().end()) return it->second;
  return medians()[key] = bench::MedianSeconds(once);
}

void BM_PugixmlParse(benchmark::State &state) {
  const int controls = static_cast<int>(state.range(0));
  const PanelFile &f = panelFile(controls);
  bench::IterationTimes times;
  for (auto _ : state) times.add(state, pugixmlParseOnce(f));
  medians()[medianKey("pugixml-parse", controls)] = times.median();
  state.counters["file_MB"] = f.bytes / 1e6;
  state.SetBytesProcessed(state.iterations() * f.bytes);
}
BENCHMARK(BM_PugixmlParse)
    ->Arg(kBudgetControls)
    ->Arg(2 * kBudgetControls)
    ->MinTime(2.0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_OpenPanel(benchmark::State &state) {
  const int controls = static_cast<int>(state.range(0));
  const PanelFile &f = panelFile(controls);
  bench::IterationTimes times;
  OpenResult last;
  for (auto _ : state) {
    last = openOnce(f);
    times.add(state, last.seconds);
  }
  const double open = times.median();
  medians()[medianKey("open", controls)] = open;
  if (last.controls != controls) state.SkipWithError("the panel did not get every control");

  const double pugixml = medianOf("pugixml-parse", controls, [&f] { return pugixmlParseOnce(f); });
  const double ratio = open / pugixml;
  state.counters["file_MB"] = f.bytes / 1e6;
  state.counters["changed_signals"] = last.changedSignals;
  state.counters["x_pugixml"] = ratio;
  state.SetBytesProcessed(state.iterations() * f.bytes);
  if (controls == kBudgetControls)
    bench::ReportBudget("open 5,000 controls / pugixml parse", ratio, 10.0, "x");
  if (controls == 2 * kBudgetControls) {
    const PanelFile &half = panelFile(kBudgetControls);
    const double base =
        medianOf("open", kBudgetControls, [&half] { return openOnce(half).seconds; });
    state.counters["x_5000"] = open / base;
    bench::ReportBudget("open 10,000 controls / open 5,000", open / base, 2.2, "x");
  }
}
BENCHMARK(BM_OpenPanel)
    ->Arg(kBudgetControls)
    ->Arg(2 * kBudgetControls)
    ->MinTime(2.0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- memory

// The peak is measured in a fresh process of this program, so that memory
// freed by earlier benchmarks cannot hide growth.
constexpr const char *kPeakMemoryFlag = "--measure-open-peak=";

// Child side: prints the growth of the peak resident size while the panel
// is opened and held.
int measureOpenPeak(const char *path) {
  const QString file = QString::fromLocal8Bit(path);
  // The folders of the parent's workspace: the map beside the panel, the
  // graphics folder beside the panels folder.
  ProgramSettings &s = Settings();
  s.strPanelsFolder = QFileInfo(file).absolutePath() + u'/';
  s.strHardwareMapFile = s.strPanelsFolder + QStringLiteral("HardwareMap.xml");
  s.strDefaultGraphicsFolder = s.strPanelsFolder + QStringLiteral("../PanelGraphics/");
  bench::QuietUi ui;
  const long long before = bench::ProcStatusBytes("VmRSS");
  if (!bench::ResetPeakRss()) {
    std::printf("-1\n");
    return 0;
  }
  auto panel = std::make_unique<frmPanel>(ui);
  const QString text = LoadPanelText(file);
  PanelReadHooks hooks(*panel);
  ReadPanelText(text, file, panel->model(), hooks, HardwareMap::FromFile(s.strHardwareMapFile));
  const long long peak = bench::ProcStatusBytes("VmHWM");
  std::printf("%lld %d\n", peak - before, panel->model().ControlCount());
  return 0;
}

void BM_OpenPanelPeakMemory(benchmark::State &state) {
  const int controls = static_cast<int>(state.range(0));
  const PanelFile &f = panelFile(controls);
  // The child reads the hardware map of the settings as the parent does.
  const std::string command = "QT_QPA_PLATFORM=offscreen '" + bench::SelfPath() + "' '" +
                              kPeakMemoryFlag + f.path.toStdString() + "' 2>/dev/null";
  long long growth = -1;
  int read = 0;
  for (auto _ : state) {
    std::FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe || std::fscanf(pipe, "%lld %d", &growth, &read) != 2) growth = -1;
    if (pipe) ::pclose(pipe);
  }
  if (growth < 0 || read != controls) {
    state.SkipWithError("the peak resident size could not be measured");
    return;
  }
  const double ratio = static_cast<double>(growth) / static_cast<double>(f.bytes);
  state.counters["file_MB"] = f.bytes / 1e6;
  state.counters["peak_growth_MB"] = growth / 1e6;
  state.counters["x_file_size"] = ratio;
  bench::ReportBudget("peak memory of open 5,000 controls / file size", ratio, 10.0, "x");
}
BENCHMARK(BM_OpenPanelPeakMemory)
    ->Arg(kBudgetControls)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- saving

struct StringWriter : pugi::xml_writer {
  std::string text;
  void write(const void *data, size_t size) override {
    text.append(static_cast<const char *>(data), size);
  }
};

double pugixmlSaveOnce(const pugi::xml_document &doc) {
  const auto start = bench::Clock::now();
  StringWriter out;
  doc.save(out, "  ", pugi::format_default | pugi::format_no_declaration, pugi::encoding_latin1);
  const double seconds = bench::SecondsSince(start);
  benchmark::DoNotOptimize(out.text.data());
  return seconds;
}

// The saved document of the generated panel, parsed by pugixml: what both
// serialisations write.
struct SavedDocument {
  pugi::xml_document doc;
  SavedDocument(const PanelFile &f, int controls) {
    bench::QuietUi ui;
    frmPanel panel(ui);
    PanelReadHooks hooks(panel);
    ReadPanelText(LoadPanelText(f.path), f.path, panel.model(), hooks,
                  HardwareMap::FromFile(Settings().strHardwareMapFile));
    const QString path = workspace().root() + QStringLiteral("reference%1.xml").arg(controls);
    QString error;
    SavePanelLocal(panel.model(), path, ui, &error);
    doc.load_file(path.toStdString().c_str(), pugi::parse_default, pugi::encoding_latin1);
  }
};

const pugi::xml_document &savedDocument(int controls) {
  static std::map<int, std::unique_ptr<SavedDocument>> docs;
  auto &d = docs[controls];
  if (!d) d = std::make_unique<SavedDocument>(panelFile(controls), controls);
  return d->doc;
}

void BM_PugixmlSave(benchmark::State &state) {
  const int controls = static_cast<int>(state.range(0));
  const pugi::xml_document &doc = savedDocument(controls);
  bench::IterationTimes times;
  for (auto _ : state) times.add(state, pugixmlSaveOnce(doc));
  medians()[medianKey("pugixml-save", controls)] = times.median();
}
BENCHMARK(BM_PugixmlSave)
    ->Arg(kBudgetControls)
    ->MinTime(2.0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Saving as the Save command does: the document, the file (through a
// temporary file, synced), the backup copy and the hardware map update.
void BM_SavePanel(benchmark::State &state) {
  const int controls = static_cast<int>(state.range(0));
  const PanelFile &f = panelFile(controls);
  bench::QuietUi ui;
  frmPanel panel(ui);
  PanelReadHooks hooks(panel);
  ReadPanelText(LoadPanelText(f.path), f.path, panel.model(), hooks,
                HardwareMap::FromFile(Settings().strHardwareMapFile));
  const QString path = workspace().panelsFolder() + QStringLiteral("Saved%1.xml").arg(controls);
  bench::IterationTimes times;
  for (auto _ : state) {
    QString error;
    const auto start = bench::Clock::now();
    const bool saved = SavePanelLocal(panel.model(), path, ui, &error);
    times.add(state, bench::SecondsSince(start));
    if (!saved) {
      state.SkipWithError(qPrintable(error));
      break;
    }
  }
  const pugi::xml_document &doc = savedDocument(controls);
  const double pugixml =
      medianOf("pugixml-save", controls, [&doc] { return pugixmlSaveOnce(doc); });
  const double ratio = times.median() / pugixml;
  state.counters["file_MB"] = QFileInfo(path).size() / 1e6;
  state.counters["x_pugixml"] = ratio;
  bench::ReportBudget("save 5,000 controls / pugixml serialisation", ratio, 10.0, "x");
}
BENCHMARK(BM_SavePanel)
    ->Arg(kBudgetControls)
    ->MinTime(2.0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
  bench::UseOffscreenPlatform();
  const bool child =
      argc == 2 && std::strncmp(argv[1], kPeakMemoryFlag, std::strlen(kPeakMemoryFlag)) == 0;
  QGuiApplication app(argc, argv);
  if (child) return measureOpenPeak(argv[1] + std::strlen(kPeakMemoryFlag));
  return bench::RunAll(argc, argv);
}
