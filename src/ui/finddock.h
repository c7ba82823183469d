#pragma once

#include <QDockWidget>

class PanelFinder;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class ReplacePane;

// Edit > Find beside the property grid: the text to find, whether closed
// panel files are searched too, and the hits (panel, control, kind, field,
// value), a button for Check Panels, and the Replace part (shown by Edit >
// Find and Replace). Enter searches and goes to the first hit; a double click
// (or Enter) on a hit goes to that one. It draws PanelFinder's state.
class FindDock : public QDockWidget {
  Q_OBJECT
 public:
  explicit FindDock(PanelFinder &finder, QWidget *parent = nullptr);

  // Shows the dock with its text selected, ready for typing, without the
  // Replace part.
  void showForTyping();
  // Shows the dock with its Replace part, ready for typing.
  void showReplace();
  // F3: the next hit, searching first when nothing was searched yet.
  void findNext();

  QLineEdit *textBox() const { return m_text; }
  QCheckBox *closedFilesBox() const { return m_closedFiles; }
  QTreeWidget *hitList() const { return m_hits; }
  QLabel *summary() const { return m_summary; }
  QPushButton *checkButton() const { return m_check; }
  ReplacePane *replacePane() const { return m_replace; }

 private:
  void search();
  void fillHits();
  void showCurrent(int index);

  PanelFinder &m_finder;
  QLineEdit *m_text = nullptr;
  QCheckBox *m_closedFiles = nullptr;
  QTreeWidget *m_hits = nullptr;
  QLabel *m_summary = nullptr;
  QPushButton *m_check = nullptr;
  ReplacePane *m_replace = nullptr;
};
