// Opening, saving and pasting large panels, against a bare pugixml parse and
// serialisation of the same file, and the memory an open panel takes.
//
// Budgets: opening 5,000 controls at most 10x the pugixml parse and 10,000
// controls at most 2.2x the time of 5,000; peak memory growth while the panel
// is open at most 10x the file's size; saving (document, file, backup, map,
// syncs) at most 10x the pugixml serialisation of the same document; pasting
// 5,000 controls whose names all clash onto a 5,000-control panel at most 2x
// opening that panel.
//
// The machine is shared: each iteration times both sides of a ratio one after
// the other, so that both see the same load, and the ratio is of the medians.

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
#include "panelfile/clipboarddoc.h"
#include "panelfile/localstore.h"
#include "panelfile_open.h"
#include "surface/paneleditor.h"
#include "surface/panelreadhooks.h"

namespace {

constexpr int kBudgetControls = 5000;

// One generated panel per size, written once for the whole run, with a
// hardware map of its own, so that no figure depends on which panel was
// generated last.
struct PanelFile {
  QString path;
  qint64 bytes = 0;
  QString mapPath;
};

// Where the map of a generated panel file lives: beside the panels folder.
QString mapPathOf(const QString &panelPath) {
  const QFileInfo panel(panelPath);
  return panel.absolutePath() + QStringLiteral("/../HardwareMap-") + panel.completeBaseName() +
         QStringLiteral(".xml");
}

bench::Workspace &workspace() {
  static bench::Workspace ws;
  return ws;
}

const PanelFile &panelFile(int controls) {
  static std::map<int, PanelFile> files;
  auto it = files.find(controls);
  if (it != files.end()) return it->second;
  PanelFile f;
  const QString name = QStringLiteral("Console%1").arg(controls);
  f.mapPath = mapPathOf(workspace().panelsFolder() + name + QStringLiteral(".xml"));
  programSettings().hardwareMapFile = f.mapPath;
  f.path = bench::writePanelFile(workspace(), controls, name);
  f.bytes = QFileInfo(f.path).size();
  return files.emplace(controls, f).first->second;
}

// The same panel with content this version does not read: an unknown
// element holding children in every control and a codec control after every
// hundredth, as a file of a newer version would hold them.
const PanelFile &panelFileWithUnknownContent(int controls) {
  static std::map<int, PanelFile> files;
  auto it = files.find(controls);
  if (it != files.end()) return it->second;
  PanelFile f = panelFile(controls);
  QFile in(f.path);
  if (!in.open(QIODevice::ReadOnly)) return panelFile(controls);
  const QString text = QString::fromLatin1(in.readAll());
  const QString end = QStringLiteral("    </Control>\r\n");
  QString out;
  out.reserve(text.size() * 5 / 4);
  qsizetype from = 0;
  for (int k = 0;; ++k) {
    const qsizetype at = text.indexOf(end, from);
    if (at < 0) break;
    out += QStringView(text).mid(from, at - from);
    out += QStringLiteral(
        "      <Extra mode=\"2\">\r\n        <Step>GPO 1 ON</Step>\r\n"
        "      </Extra>\r\n");
    out += end;
    if (k % 100 == 99)
      out += QStringLiteral(
                 "    <Control>\r\n      <Type>CodecControl</Type>\r\n"
                 "      <Name>Codec%1</Name>\r\n      <Left>0</Left>\r\n"
                 "    </Control>\r\n")
                 .arg(k);
    from = at + end.size();
  }
  out += QStringView(text).mid(from);
  f.path = QFileInfo(f.path).absolutePath() + QStringLiteral("/Unknown%1.xml").arg(controls);
  bench::writeLatin1(f.path, out);
  f.bytes = QFileInfo(f.path).size();
  return files.emplace(controls, f).first->second;
}

// Times of the two sides of a ratio, taken in turns.
struct PairedTimes {
  bench::IterationTimes measured;  // the benchmark's own figure
  std::vector<double> reference;
  double ratio() const { return measured.median() / bench::medianOf(reference); }
};

// ---------------------------------------------------------------- opening

double pugixmlParseOnce(const PanelFile &f) {
  const std::string path = f.path.toStdString();
  const auto start = bench::Clock::now();
  pugi::xml_document doc;
  const pugi::xml_parse_result result = doc.load_file(path.c_str());
  const double seconds = bench::secondsSince(start);
  if (!result) std::fprintf(stderr, "pugixml: %s\n", result.description());
  return seconds;
}

using OpenResult = bench::OpenedPanel;

// Opens a generated panel with its own hardware map, which later saves and
// pastes use too.
OpenResult openOnce(const PanelFile &f, Ui &ui) {
  programSettings().hardwareMapFile = f.mapPath;
  return bench::openPanelCore(f.path, ui);
}

void BM_OpenPanel(benchmark::State &state) {
  const int controls = static_cast<int>(state.range(0));
  const bool unknownContent = state.range(1) != 0;
  const PanelFile &f = unknownContent ? panelFileWithUnknownContent(controls) : panelFile(controls);
  const PanelFile &half = panelFile(kBudgetControls);
  bench::QuietUi ui;
  PairedTimes times;
  int read = 0, notices = 0;
  for (auto _ : state) {
    // The reference first: half the panel, or the bare parse.
    if (controls == kBudgetControls) {
      times.reference.push_back(pugixmlParseOnce(f));
    } else {
      OpenResult base = openOnce(half, ui);
      times.reference.push_back(base.seconds);
      state.PauseTiming();
      base.panel.reset();
      state.ResumeTiming();
    }
    OpenResult r = openOnce(f, ui);
    times.measured.add(state, r.seconds);
    read = r.panel->model().controlCount();
    notices = r.changedSignals;
    state.PauseTiming();
    r.panel.reset();
    state.ResumeTiming();
  }
  // The codec controls of the unknown content are kept controls of the panel.
  const int expected = unknownContent ? controls + controls / 100 : controls;
  if (read != expected) state.SkipWithError("the panel did not get every control");
  state.counters["file_MB"] = f.bytes / 1e6;
  state.counters["changed_signals"] = notices;
  state.SetBytesProcessed(state.iterations() * f.bytes);
  if (controls == kBudgetControls) {
    state.counters["pugixml_ms"] = bench::medianOf(times.reference) * 1e3;
    state.counters["x_pugixml"] = times.ratio();
    bench::reportBudget(unknownContent ? "open 5,000 controls with unknown content / pugixml parse"
                                       : "open 5,000 controls / pugixml parse",
                        times.ratio(), 10.0, "x");
  } else {
    state.counters["x_5000"] = times.ratio();
    bench::reportBudget("open 10,000 controls / open 5,000", times.ratio(), 2.2, "x");
  }
}
BENCHMARK(BM_OpenPanel)
    ->ArgNames({"controls", "unknown"})
    ->Args({kBudgetControls, 0})
    ->Args({kBudgetControls, 1})
    ->Args({2 * kBudgetControls, 0})
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
  // The folders of the parent's workspace: the panel's own map and the
  // graphics folder beside the panels folder.
  ProgramSettings &s = programSettings();
  s.panelsFolder = QFileInfo(file).absolutePath() + u'/';
  s.hardwareMapFile = mapPathOf(file);
  s.defaultGraphicsFolder = s.panelsFolder + QStringLiteral("../PanelGraphics/");
  bench::QuietUi ui;
  const long long before = bench::procStatusBytes("VmRSS");
  if (!bench::resetPeakRss()) {
    std::printf("-1\n");
    return 0;
  }
  auto panel = std::make_unique<PanelEditor>(ui);
  const QString text = loadPanelText(file);
  PanelReadHooks hooks(*panel);
  readPanelText(text, file, panel->model(), hooks, HardwareMap::fromFile(s.hardwareMapFile));
  const long long peak = bench::procStatusBytes("VmHWM");
  std::printf("%lld %d\n", peak - before, panel->model().controlCount());
  return 0;
}

void BM_OpenPanelPeakMemory(benchmark::State &state) {
  const int controls = static_cast<int>(state.range(0));
  const PanelFile &f = panelFile(controls);
  // The child reads the panel's own hardware map as the parent does.
  const std::string command = "QT_QPA_PLATFORM=offscreen '" + bench::selfPath() + "' '" +
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
  bench::reportBudget("peak memory of open 5,000 controls / file size", ratio, 10.0, "x");
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
  const double seconds = bench::secondsSince(start);
  benchmark::DoNotOptimize(out.text.data());
  return seconds;
}

// Saving as the Save command does: the document, the file (through a
// temporary file, synced), the backup copy and the hardware map update;
// against pugixml writing the document that save wrote. The map is the
// panel's own.
void BM_SavePanel(benchmark::State &state) {
  const int controls = static_cast<int>(state.range(0));
  const PanelFile &f = panelFile(controls);
  bench::QuietUi ui;
  OpenResult opened = openOnce(f, ui);
  PanelModel &panel = opened.panel->model();
  const QString path = workspace().panelsFolder() + QStringLiteral("Saved%1.xml").arg(controls);
  QString error;
  if (!savePanelLocal(panel, path, ui, &error)) {
    state.SkipWithError(qPrintable(error));
    return;
  }
  pugi::xml_document doc;
  doc.load_file(path.toStdString().c_str(), pugi::parse_default, pugi::encoding_latin1);
  PairedTimes times;
  for (auto _ : state) {
    times.reference.push_back(pugixmlSaveOnce(doc));
    const auto start = bench::Clock::now();
    const bool saved = savePanelLocal(panel, path, ui, &error);
    times.measured.add(state, bench::secondsSince(start));
    if (!saved) {
      state.SkipWithError(qPrintable(error));
      break;
    }
  }
  state.counters["file_MB"] = QFileInfo(path).size() / 1e6;
  state.counters["pugixml_ms"] = bench::medianOf(times.reference) * 1e3;
  state.counters["x_pugixml"] = times.ratio();
  bench::reportBudget("save 5,000 controls / pugixml serialisation", times.ratio(), 10.0, "x");
}
BENCHMARK(BM_SavePanel)
    ->Arg(kBudgetControls)
    ->MinTime(2.0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- pasting

// Pastes as the Paste command does with Ctrl+V (Ctrl held, so every pasted
// control stays selected): the map, the clipboard text read into the panel
// window with its hooks. Every name clashes: the text holds the panel's own
// controls.
void BM_PasteOntoPanel(benchmark::State &state) {
  const int controls = static_cast<int>(state.range(0));
  const PanelFile &f = panelFile(controls);
  bench::QuietUi ui;
  QString clipboard;
  {
    OpenResult source = openOnce(f, ui);
    std::vector<DesignControl *> all;
    for (const auto &record : source.panel->model().panelRecord.records)
      all.push_back(record->control);
    clipboard = buildClipboardDocument(source.panel->model(), all, false);
  }
  PairedTimes times;
  int pasted = 0;
  for (auto _ : state) {
    OpenResult target = openOnce(f, ui);
    times.reference.push_back(target.seconds);
    target.panel->setCtrlDown(true);
    const auto start = bench::Clock::now();
    {
      PanelReadHooks hooks(*target.panel);
      pasted = static_cast<int>(
          analyzeClipboardXML(clipboard, target.panel->model(), hooks,
                              HardwareMap::fromFile(programSettings().hardwareMapFile))
              .size());
    }
    target.panel->notify(PanelEditor::Structure | PanelEditor::Selection);
    times.measured.add(state, bench::secondsSince(start));
    state.PauseTiming();
    if (target.panel->selectedControls().size() != size_t(controls))
      state.SkipWithError("the pasted controls are not all selected");
    target.panel.reset();
    state.ResumeTiming();
  }
  if (pasted != controls) state.SkipWithError("not every control was pasted");
  state.counters["open_ms"] = bench::medianOf(times.reference) * 1e3;
  state.counters["x_open"] = times.ratio();
  bench::reportBudget("paste 5,000 clashing controls / open 5,000", times.ratio(), 2.0, "x");
}
BENCHMARK(BM_PasteOntoPanel)
    ->Arg(kBudgetControls)
    ->MinTime(2.0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
  bench::useOffscreenPlatform();
  const bool child =
      argc == 2 && std::strncmp(argv[1], kPeakMemoryFlag, std::strlen(kPeakMemoryFlag)) == 0;
  QGuiApplication app(argc, argv);
  if (child) return measureOpenPeak(argv[1] + std::strlen(kPeakMemoryFlag));
  return bench::runAll(argc, argv);
}
