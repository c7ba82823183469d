#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <atomic>
#include <vector>

class HardwareMap;
class PanelModel;

// One thing Check Panels found wrong with a panel, a control or a map entry.
struct CheckFinding {
  enum class Severity { Warning, Error };
  QString file;     // the panel file (or the map file for a map entry)
  QString control;  // the control's name; empty for the panel or the file itself
  Severity severity = Severity::Warning;
  QString code;  // stable: "duplicate-name", "covered", ...
  QString message;
};

QString severityText(CheckFinding::Severity severity);  // "error" / "warning"

// Checks panels and, through the hardware map, the bindings between them.
// Nothing is written. Panels are added one by one (open windows or files
// read without one); finish() adds what needs all of them: bindings shared
// across panels and map entries of no panel or control.
class PanelCheck {
 public:
  // `map` is the map the panels' bindings came from; `mapFile` names it in
  // findings. Without a map no map entry is checked.
  explicit PanelCheck(const HardwareMap *map = nullptr, const QString &mapFile = QString());

  void addPanel(const PanelModel &panel, const QString &file);
  // A file that does not parse: `where` is "Line 3, column 7: ...".
  void addUnreadable(const QString &file, const QString &where);
  std::vector<CheckFinding> finish();

  // What one panel contributes: its own findings, its bindings and its
  // control names. Built without touching the check, so files can be
  // summarised on several threads and added in order.
  struct Binding {
    QString key;  // mapping code, address and port, in lower case
    QString control;
    QString describe;
  };
  struct PanelSummary {
    QString file;
    QString panelName;
    std::vector<CheckFinding> findings;
    std::vector<Binding> bindings;
    QSet<QString> controlNames;  // lower case
  };
  static PanelSummary summarise(const PanelModel &panel, const QString &file);
  void add(PanelSummary &&summary);

 private:
  const HardwareMap *m_map;
  QString m_mapFile;
  std::vector<CheckFinding> m_findings;
  QHash<QString, QString> m_firstBinding;           // key -> "Panel.Control"
  QHash<QString, QSet<QString>> m_controlsOfPanel;  // lower-case panel -> control names
};

// What reading closed panel files gave: per file its summary, or why it
// could not be read (then the summary is empty).
struct ReadPanelFiles {
  QStringList paths;
  std::vector<PanelCheck::PanelSummary> summaries;
  std::vector<QString> unreadable;
};

// Reads each file (on all cores) with the map's bindings and summarises it.
// `done` counts the files read so far; once `cancelled` is set, the files
// not yet begun are skipped. Safe on any thread: nothing is shared but the
// map, which is only read.
ReadPanelFiles readPanelFilesToCheck(const QStringList &paths, const HardwareMap &map,
                                     std::atomic<int> *done = nullptr,
                                     const std::atomic<bool> *cancelled = nullptr);

// The findings of panels already summarised (open windows, in order) and of
// read files, all against one another and the map (null: no map entry is
// checked).
std::vector<CheckFinding> checkSummaries(std::vector<PanelCheck::PanelSummary> &&open,
                                         ReadPanelFiles &&files, const HardwareMap *map,
                                         const QString &mapFile);

// Reads each file (on all cores) with the map's bindings and checks them
// all. `mapFile` may be empty (no map).
std::vector<CheckFinding> checkPanelFiles(const QStringList &paths, const QString &mapFile);

// The panel files a PATH names: the file itself, or a folder's panels. The
// folder's hardware map, when there is one, goes to `mapFile`.
QStringList panelFilesOfPath(const QString &path, QString *mapFile);
