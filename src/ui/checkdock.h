#pragma once

#include <QDockWidget>

class PanelChecker;
class FindingsModel;
class QComboBox;
class QLabel;
class QProgressBar;
class QTreeView;

// Edit > Check Panels below the panels: what to check (the open panels or
// the whole panels folder) and the findings (file, control, severity,
// message). A double click (or Enter) on a finding goes to its control. It
// draws PanelChecker's state; while files are read, a bar shows how far the
// check got and the window stays usable.
class CheckDock : public QDockWidget {
  Q_OBJECT
 public:
  explicit CheckDock(PanelChecker &checker, QWidget *parent = nullptr);

  // Shows the dock and starts a check with the chosen scope.
  void checkNow();

  QComboBox *scopeBox() const { return m_scope; }
  QTreeView *findingList() const { return m_findings; }
  QLabel *summary() const { return m_summary; }
  QProgressBar *progressBar() const { return m_progress; }

 protected:
  void showEvent(QShowEvent *event) override;
  void hideEvent(QHideEvent *event) override;

 private:
  void fillFindings();
  void showProgress();
  void showSummary();

  PanelChecker &m_checker;
  QComboBox *m_scope = nullptr;
  FindingsModel *m_model = nullptr;
  QTreeView *m_findings = nullptr;
  QProgressBar *m_progress = nullptr;
  QLabel *m_summary = nullptr;
};
