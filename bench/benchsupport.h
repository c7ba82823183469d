#pragma once

// Shared pieces of the benchmark programs: the application each program
// needs, generated panel files with a realistic mix of controls, a Ui that
// answers nothing, timing and memory helpers, and the budget summary printed
// after the run.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/processsetup.h"
#include "model/settings.h"
#include "model/uiservice.h"
#include "support/quietui.h"

namespace bench {

// ---------------------------------------------------------------- timing

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// CPU seconds this process used so far, all threads together.
inline double processCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval &t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

inline double medianOf(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// Runs `once` until both `minRuns` runs and `minSeconds` have passed and
// gives the median time of one run. `once` returns the seconds it timed, so
// that set-up and tear-down stay outside.
inline double medianSeconds(const std::function<double()> &once, int minRuns = 5,
                            double minSeconds = 0.5) {
  std::vector<double> times;
  const auto start = Clock::now();
  while (static_cast<int>(times.size()) < minRuns || secondsSince(start) < minSeconds)
    times.push_back(once());
  return medianOf(times);
}

// Collects the per-iteration times of a benchmark loop run with
// UseManualTime(); the median feeds the ratio counters.
class IterationTimes {
 public:
  void add(benchmark::State &state, double seconds) {
    state.SetIterationTime(seconds);
    m_times.push_back(seconds);
  }
  double median() const { return medianOf(m_times); }

 private:
  std::vector<double> m_times;
};

// ---------------------------------------------------------------- budgets

// One line of the summary printed after the run: a measured value, its
// budget and whether it holds.
struct BudgetLine {
  std::string what;
  double value;
  double budget;
  std::string unit;
};

inline std::vector<BudgetLine> &budgetLines() {
  static std::vector<BudgetLine> lines;
  return lines;
}

// Records a figure (replacing an earlier one of the same name, so that
// repetitions keep the last).
inline void reportBudget(const std::string &what, double value, double budget,
                         const std::string &unit) {
  auto &lines = budgetLines();
  for (BudgetLine &line : lines)
    if (line.what == what) {
      line = {what, value, budget, unit};
      return;
    }
  lines.push_back({what, value, budget, unit});
}

inline void printBudgets() {
  if (budgetLines().empty()) return;
  std::printf("\nBudgets\n");
  for (const BudgetLine &l : budgetLines())
    std::printf("  %-58s %10.3f %-3s (budget %8.3f) %s\n", l.what.c_str(), l.value, l.unit.c_str(),
                l.budget, l.value <= l.budget ? "ok" : "OVER BUDGET");
  std::fflush(stdout);
}

// ---------------------------------------------------------------- memory

// A value of /proc/self/status in bytes ("VmHWM", "VmRSS"); -1 when absent.
inline long long procStatusBytes(const char *field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(field) + ":";
  while (std::getline(in, line))
    if (line.rfind(prefix, 0) == 0) return std::atoll(line.c_str() + prefix.size()) * 1024;
  return -1;
}

// Resets the peak resident size of this process to its current size; false
// when the kernel does not allow it.
inline bool resetPeakRss() {
  std::FILE *f = std::fopen("/proc/self/clear_refs", "w");
  if (!f) return false;
  const bool ok = std::fputs("5", f) >= 0;
  return std::fclose(f) == 0 && ok;
}

// The path of the running program, for benchmarks that measure a fresh
// process of their own.
inline std::string selfPath() {
  std::vector<char> buffer(4096);
  const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  return n > 0 ? std::string(buffer.data(), static_cast<size_t>(n)) : std::string();
}

// ---------------------------------------------------------------- the Ui

using ::QuietUi;

// ---------------------------------------------------------------- panels

// A work folder laid out as the program expects one: CVSPanels/ with the
// hardware map, PanelGraphics/ with a few button pictures. The settings
// point into it while it lives.
class Workspace {
 public:
  Workspace() {
    m_root = QDir(m_dir.path()).absolutePath() + u'/';
    QDir().mkpath(panelsFolder());
    QDir().mkpath(graphicsFolder());
    QImage picture(64, 32, QImage::Format_RGB32);
    int shade = 0;
    for (const char *name :
         {"key_up_off.png", "key_up_on.png", "key_dn_off.png", "key_dn_on.png"}) {
      picture.fill(qRgb(0x40 + 0x30 * shade++, 0x60, 0x90));
      picture.save(graphicsFolder() + QLatin1String(name));
    }
    ProgramSettings &s = programSettings();
    s = ProgramSettings();
    s.startFolder = m_root;
    s.appFolder = m_root;
    s.panelsFolder = panelsFolder();
    s.hardwareMapFile = panelsFolder() + QStringLiteral("HardwareMap.xml");
    s.defaultGraphicsFolder = graphicsFolder();
  }

  QString root() const { return m_root; }
  QString panelsFolder() const { return m_root + QStringLiteral("CVSPanels/"); }
  QString graphicsFolder() const { return m_root + QStringLiteral("PanelGraphics/"); }
  QString hardwareMapFile() const { return programSettings().hardwareMapFile; }

 private:
  QTemporaryDir m_dir;
  QString m_root;
};

// Which kind the control at position i of a generated panel is: a console
// page is mostly buttons and labels, with meters, faders, a few clocks and
// browsers.
enum class GenKind { Button, Label, WebBrowser, Meter, MeterFader, Clock };
inline GenKind kindAt(int i) {
  static constexpr GenKind cycle[20] = {
      GenKind::Button, GenKind::Button, GenKind::Label,      GenKind::Button, GenKind::Meter,
      GenKind::Button, GenKind::Label,  GenKind::Button,     GenKind::Button, GenKind::MeterFader,
      GenKind::Button, GenKind::Label,  GenKind::Button,     GenKind::Meter,  GenKind::Button,
      GenKind::Clock,  GenKind::Label,  GenKind::MeterFader, GenKind::Button, GenKind::WebBrowser};
  return cycle[i % 20];
}

// The text of a panel file with `controls` controls, laid out with CR LF as
// the program writes it. Every fourth button and every third label are bound
// to hardware; every fifth button shows pictures from the graphics folder.
// `hardwareMap` receives the matching map text.
inline QString panelText(int controls, const QString &panelName, const QString &graphicsFolder,
                         QString *hardwareMap = nullptr) {
  QString t;
  t.reserve(controls * 1300);
  QString map;
  int counts[6] = {};
  auto line = [&t](int indent, const QString &name, const QString &value) {
    t += QString(indent, u' ');
    if (value.isEmpty()) {
      t += u'<' + name + QStringLiteral("/>\r\n");
      return;
    }
    t += u'<' + name + u'>' + value + QStringLiteral("</") + name + QStringLiteral(">\r\n");
  };
  auto c = [&line](const char *name, const QString &value) { line(6, QLatin1String(name), value); };
  auto n = [](qint64 v) { return QString::number(v); };
  auto mapEntry = [&map](const QString &type, const QString &ip, const QString &port,
                         const QString &internal, const QString &sys) {
    map +=
        QStringLiteral(
            "    <Control>\r\n      <Type>%1</Type>\r\n      <HostIPAddress>%2</HostIPAddress>\r\n"
            "      <HostPort>%3</HostPort>\r\n      <InternalName>%4</InternalName>\r\n"
            "      <AoipSysName>%5</AoipSysName>\r\n    </Control>\r\n")
            .arg(type, ip, port, internal, sys);
  };

  t += QStringLiteral("<Panel>\r\n");
  line(2, QStringLiteral("Name"), panelName);
  line(2, QStringLiteral("Width"), QStringLiteral("28800"));
  line(2, QStringLiteral("Height"), QStringLiteral("21600"));
  line(2, QStringLiteral("BackColor"), QStringLiteral("&amp;H404040"));
  line(2, QStringLiteral("ForeColor"), QStringLiteral("&amp;HFFFFFF"));
  line(2, QStringLiteral("Picture"), QString());
  line(2, QStringLiteral("OrigPicturePath"), QString());
  line(2, QStringLiteral("OnLoad"), QStringLiteral("LOAD ") + panelName.toUpper());
  line(2, QStringLiteral("DefaultPicturePath"), graphicsFolder);
  line(2, QStringLiteral("Caption"), panelName + QStringLiteral(" Console"));
  t += QStringLiteral("  <ControlList>\r\n");
  for (int i = 0; i < controls; ++i) {
    const GenKind kind = kindAt(i);
    const int k = ++counts[static_cast<int>(kind)];
    const qint64 left = (i % 40) * 1320, top = (i / 40) * 600;
    t += QStringLiteral("    <Control>\r\n");
    auto geometry = [&](const char *type, const QString &name, const QString &caption, qint64 width,
                        qint64 height) {
      c("Type", QLatin1String(type));
      c("Name", name);
      c("Caption", caption);
      c("Left", n(left));
      c("Top", n(top));
      c("Width", n(width));
      c("Height", n(height));
    };
    auto fontAndState = [&](const QString &font, bool on, bool flash) {
      c("FontName", font);
      c("FontSize", QStringLiteral("8.25"));
      c("FontBold", QStringLiteral("True"));
      c("FontUnderline", QStringLiteral("False"));
      c("FontItalic", QStringLiteral("False"));
      c("BackColorOn", QStringLiteral("&amp;H00FFFF"));
      c("BackColorOff", QStringLiteral("&amp;HE0E0E0"));
      c("Flash", flash ? QStringLiteral("On") : QStringLiteral("Off"));
      c("State", on ? QStringLiteral("On") : QStringLiteral("Off"));
    };
    switch (kind) {
      case GenKind::Button: {
        const QString name = QStringLiteral("Button") + n(k);
        geometry("Button", name, QStringLiteral("Mic %1\\nLive &amp; on").arg(k), 1215, 495);
        fontAndState(QStringLiteral("Arial"), k % 7 == 0, k % 11 == 0);
        c("Click", QStringLiteral("ROUTE %1 %2").arg(k % 64).arg(k % 17));
        c("MouseDown", QStringLiteral("GPO %1 ON").arg(k % 32));
        c("MouseUp", QStringLiteral("GPO %1 OFF").arg(k % 32));
        const bool pictures = k % 5 == 0;
        auto picture = [&](const char *element, const char *orig, const char *file) {
          c(element, pictures ? QLatin1String(file) : QString());
          c(orig, pictures ? QStringLiteral("C:\\Art\\") + QLatin1String(file) : QString());
        };
        picture("PictureUpOff", "PictureUpOffOrigPath", "key_up_off.png");
        picture("PictureUpOn", "PictureUpOnOrigPath", "key_up_on.png");
        picture("PictureDownOff", "PictureDownOffOrigPath", "key_dn_off.png");
        picture("PictureDownOn", "PictureDownOnOrigPath", "key_dn_on.png");
        c("Enabled", QStringLiteral("True"));
        if (k % 3 == 0) {
          c("MapRouter", n(1 + k % 4));
          c("MapSource", n(k % 200));
          c("MapDestination", n(k % 150));
        }
        if (k % 4 == 0) {
          const QString internal = panelName + u'.' + name;
          const QString sys = QStringLiteral("MOD_USER#%1.BUT#%2").arg(k % 9).arg(k % 40);
          const QString ip = QStringLiteral("10.0.%1.%2").arg(k % 3).arg(5 + k % 20);
          c("HWMapType", QStringLiteral("Button"));
          c("HWMapHostIP", ip);
          c("HWMapHostPort", QStringLiteral("5000"));
          c("HWMapInternalName", internal);
          c("HWMapAoipSysName", sys);
          mapEntry(QStringLiteral("Button"), ip, QStringLiteral("5000"), internal, sys);
        }
        break;
      }
      case GenKind::Label: {
        const QString name = QStringLiteral("Label") + n(k);
        geometry("Label", name, QStringLiteral("On Air \xE9 %1").arg(k), 1215, 255);
        fontAndState(QStringLiteral("Tahoma"), k % 2 == 0, false);
        c("ForeColor", QStringLiteral("&amp;H0000FF"));
        if (k % 3 == 0) {
          const QString internal = panelName + u'.' + name;
          const QString sys = QStringLiteral("Port%1_Circuit%2").arg(k % 8).arg(k % 24);
          c("HWMapType", QStringLiteral("GPIOButton"));
          c("HWMapHostIP", QStringLiteral("10.0.0.6"));
          c("HWMapHostPort", QStringLiteral("5001"));
          c("HWMapInternalName", internal);
          c("HWMapAoipSysName", sys);
          mapEntry(QStringLiteral("GPIOButton"), QStringLiteral("10.0.0.6"), QStringLiteral("5001"),
                   internal, sys);
        }
        break;
      }
      case GenKind::WebBrowser:
        geometry("WebBrowser", QStringLiteral("WebBrowser") + n(k), QString(), 3000, 2000);
        c("WebURL", QStringLiteral("http://studio.local/status/%1").arg(k));
        break;
      case GenKind::Meter:
        geometry("Meter", QStringLiteral("Meter") + n(k), QString(), 400, 1500);
        c("MeterRouterNumber", n(1 + k % 4));
        c("MeterIONumber", n(k % 64));
        c("MeterIsSource", k % 2 ? QStringLiteral("True") : QStringLiteral("False"));
        c("MeterScale", QStringLiteral("British"));
        c("MeterStyle", QStringLiteral("Gradient"));
        c("LevelLineColor", QStringLiteral("&amp;H00FF00"));
        c("DecayRate", n(k % 20));
        c("CenterPad", n(k % 4));
        break;
      case GenKind::MeterFader:
        geometry("MeterFader", QStringLiteral("MeterFader") + n(k),
                 QStringLiteral("Fader\\n%1").arg(k), 1335, 4935);
        c("MeterRouterNumber", n(1 + k % 4));
        c("MeterIONumber", n(k % 64));
        c("MeterIsSource", QStringLiteral("False"));
        c("MeterScale", QStringLiteral("Standard"));
        c("MeterStyle", QStringLiteral("Led"));
        c("LevelLineColor", QStringLiteral("&amp;H0000FF"));
        c("DecayRate", n(k % 10));
        c("FaderNominal", QStringLiteral("-10.5"));
        c("HideGainValue", QStringLiteral("True"));
        break;
      case GenKind::Clock: {
        const QString name = QStringLiteral("Clock") + n(k);
        geometry("LKClock", name, name, 1095, 1095);
        c("BackgroundColor", QStringLiteral("&amp;H000000"));
        c("ForegroundColor", QStringLiteral("&amp;HFFFFFF"));
        c("FaceVisible", QStringLiteral("True"));
        c("Digital", k % 2 ? QStringLiteral("True") : QStringLiteral("False"));
        c("Military", QStringLiteral("True"));
        c("BackGroundPicture", QString());
        c("BackgroundImageStretch", QStringLiteral("False"));
        c("FontName", QStringLiteral("Arial"));
        c("FontSize", QStringLiteral("10"));
        c("FontBold", QStringLiteral("True"));
        c("FontUnderline", QStringLiteral("False"));
        c("FontItalic", QStringLiteral("False"));
        c("LongHashColor", QStringLiteral("&amp;HFFFFFF"));
        c("ShortHashColor", QStringLiteral("&amp;HC0C0C0"));
        c("FaceBorderColor", QStringLiteral("&amp;H808080"));
        c("OffSet", n(k % 5 - 2));
        c("FaceNumbers", QStringLiteral("True"));
        c("ElementHands", QStringLiteral("False"));
        break;
      }
    }
    t += QStringLiteral("    </Control>\r\n");
  }
  t += QStringLiteral("  </ControlList>\r\n");
  line(2, QStringLiteral("Version"), QStringLiteral("2024-03-03T09:05:07"));
  t += QStringLiteral("</Panel>\r\n");
  if (hardwareMap)
    *hardwareMap = QStringLiteral(
                       "<HardwareMapList>\r\n  <Name>HardwareMapList</Name>\r\n"
                       "  <ControlList>\r\n") +
                   map + QStringLiteral("  </ControlList>\r\n</HardwareMapList>\r\n");
  return t;
}

// Writes text as Windows-1252 bytes (the generated text holds Latin-1 only).
inline bool writeLatin1(const QString &path, const QString &text) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const QByteArray bytes = text.toLatin1();
  return f.write(bytes) == bytes.size();
}

// A generated panel file of `controls` controls in the workspace's panels
// folder, with its hardware map; returns the file's path.
inline QString writePanelFile(const Workspace &ws, int controls, const QString &panelName) {
  QString map;
  const QString text = panelText(controls, panelName, ws.graphicsFolder(), &map);
  const QString path = ws.panelsFolder() + panelName + QStringLiteral(".xml");
  if (!writeLatin1(path, text) || !writeLatin1(ws.hardwareMapFile(), map)) return QString();
  return path;
}

// ---------------------------------------------------------------- main

// Qt's offscreen platform unless the caller chose one, and the process set up
// as the program sets itself up.
inline void useOffscreenPlatform() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  keepFreedMemoryForReuse();
}

// The body of a benchmark program's main once its application exists.
inline int runAll(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  printBudgets();
  return 0;
}

}  // namespace bench
