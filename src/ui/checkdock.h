#pragma once

#include <QDockWidget>

class PanelChecker;
class QComboBox;
class QLabel;
class QTreeWidget;

// Edit > Check Panels below the panels: what to check (the open panels or
// the whole panels folder) and the findings (file, control, severity,
// message). A double click (or Enter) on a finding goes to its control. It
// draws PanelChecker's state.
class CheckDock : public QDockWidget {
  Q_OBJECT
 public:
  explicit CheckDock(PanelChecker &checker, QWidget *parent = nullptr);

  // Shows the dock and checks with the chosen scope.
  void checkNow();

  QComboBox *scopeBox() const { return m_scope; }
  QTreeWidget *findingList() const { return m_findings; }
  QLabel *summary() const { return m_summary; }

 private:
  void fillFindings();

  PanelChecker &m_checker;
  QComboBox *m_scope = nullptr;
  QTreeWidget *m_findings = nullptr;
  QLabel *m_summary = nullptr;
};
