#pragma once

#include <QGroupBox>
#include <vector>

#include "app/panelreplace.h"

class MainWindowLogic;
class PanelFinder;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// The Replace part of the Find dock: the field, the replacement for the
// dock's find text, a preview of every change (before -> after, each with a
// tick) and Replace. It covers the open panels and, when the dock's "closed
// files" tick is set, the panel files of the panels folder.
class ReplacePane : public QGroupBox {
  Q_OBJECT
 public:
  ReplacePane(PanelFinder &finder, QLineEdit &findText, QWidget *parent = nullptr);

  QComboBox *fieldBox() const { return m_field; }
  QLineEdit *replacementBox() const { return m_replacement; }
  QTreeWidget *changeList() const { return m_changes; }
  QPushButton *previewButton() const { return m_preview; }
  QPushButton *replaceButton() const { return m_replace; }
  QLabel *summary() const { return m_summary; }

  // Lists the changes the current texts would make, every one ticked that
  // can be made.
  void preview();
  // Makes the ticked changes and says what was done and what was not.
  void replace();

 private:
  ReplaceRequest request() const;
  void fillChanges();
  // The line under the preview: what is listed, what is ticked, what cannot be made.
  void showPlanSummary();
  void updateReplaceButton();

  PanelFinder &m_finder;
  QLineEdit &m_findText;
  QComboBox *m_field = nullptr;
  QLineEdit *m_replacement = nullptr;
  QTreeWidget *m_changes = nullptr;
  QPushButton *m_preview = nullptr;
  QPushButton *m_replace = nullptr;
  QLabel *m_summary = nullptr;
  ReplaceRequest m_planned;  // what the listed changes were computed for
  ReplacePlan m_plan;
};
