#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <thread>
#include <vector>

#include "app/panelcheck.h"

class MainWindowLogic;
class PanelEditor;

// The logic of Edit > Check Panels: checks the open panels, or every panel
// of the panels folder with its hardware map, keeps the findings and takes
// the user to the control of one. Nothing is written. The closed files are
// read on other threads while the event loop runs, with progress; the open
// panels are checked as they stand when the check starts. While the check
// dock is shown (watching), or once the open panels were checked, opening,
// closing and editing panels check them again a moment later. The check
// dock observes it.
class PanelChecker : public QObject {
  Q_OBJECT
 public:
  enum class Scope { OpenPanels, PanelsFolder };

  explicit PanelChecker(MainWindowLogic &designer, QObject *parent = nullptr);
  ~PanelChecker() override;

  Scope scope() const { return m_scope; }
  // Another scope drops the findings of the one before (they answer another
  // question); while watching, the new scope is checked at once.
  void setScope(Scope scope);
  // Whether the findings are shown: while they are, a check starts at once
  // when there are none yet or the panels changed unseen.
  void setWatching(bool watching);

  // Starts a check of the open panels in window order as they stand (unsaved
  // changes included) and, for the folder, then the closed panel files of
  // the panels folder in name order, all against one another and the map.
  // A check of open panels only is done on return; files are read on other
  // threads and findingsChanged comes once all are read. A check started
  // while one runs takes its place.
  void start();
  // Starts a check and waits for its findings.
  const std::vector<CheckFinding> &check();
  bool isChecking() const { return m_job != nullptr; }
  // While checking: the closed files read so far and in all.
  int filesRead() const;
  int filesToRead() const;

  const std::vector<CheckFinding> &findings() const { return m_findings; }
  // How many panels the last check covered; -1 before the first (and after
  // the scope changed).
  int panelsChecked() const { return m_panelsChecked; }

  // Brings the finding's panel forward, opening its file when it is not
  // open, and selects its control. Empty when it got there, else why not.
  QString goTo(int index);

 signals:
  void findingsChanged();
  // A check started, read more files or ended.
  void progressChanged();

 private:
  struct Job;
  void refreshSoon();
  void stopJob();
  void finishJob();

  MainWindowLogic &m_designer;
  Scope m_scope = Scope::OpenPanels;
  bool m_watching = false;
  bool m_stale = false;  // the open panels changed since the last check, unseen
  std::vector<CheckFinding> m_findings;
  // The open windows checked, by the file name their findings carry.
  std::vector<std::pair<QString, PanelEditor *>> m_checkedWindows;
  int m_panelsChecked = -1;
  QTimer m_refresh;
  QTimer m_progress;  // polls the files read while a job runs
  std::shared_ptr<Job> m_job;
  std::thread m_thread;
};
