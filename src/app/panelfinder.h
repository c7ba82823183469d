#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "app/panelsearch.h"

class MDIFormDesigner;
class frmPanel;

// The open window of a panel file (compared as absolute paths); null when
// it is not open. A window of the same panel name holding another file (a
// new "Panel1" beside CVSPanels/Panel1.xml) is not it.
frmPanel *OpenPanelOfFile(const QString &path, const std::vector<frmPanel *> &open);

// Brings a panel forward -- `panel` while it is still open, else the window
// of `panelPath`, else that file opened -- and makes the control named
// `controlName` (letter case ignored when no name matches exactly) the
// selection. False when the panel or the control is not there (the panel
// still comes forward when it is).
bool GoToControl(MDIFormDesigner &designer, frmPanel *panel, const QString &panelPath,
                 const QString &controlName);

// The logic of Edit > Find: searches the open panels and, when asked, the
// panel files of the panels folder that are not open; keeps the hits and
// the current one; takes the user to a hit. The find dock observes it.
class PanelFinder : public QObject {
  Q_OBJECT
 public:
  explicit PanelFinder(MDIFormDesigner &designer, QObject *parent = nullptr);

  // Whether Find also reads the closed panel files of the panels folder.
  bool includeClosedFiles() const { return m_includeClosedFiles; }
  void setIncludeClosedFiles(bool value) { m_includeClosedFiles = value; }

  // Searches the open panels in window order, then the closed files in name
  // order (a file whose panel is open is searched in its window, which holds
  // the newer state). The new hits have no current one.
  const std::vector<FindHit> &Find(const QString &text);
  const std::vector<FindHit> &hits() const { return m_hits; }
  QString lastText() const { return m_lastText; }
  int current() const { return m_current; }

  // Brings the hit's panel forward, opening its file first when it is not
  // open, and selects the control. False when the panel or the control is
  // no longer there (the panel still comes forward when it is).
  bool ActivateHit(int index);
  // F3: activates the hit after the current one, from the first again after
  // the last. With no hits yet it searches the last text first. The index
  // activated, or -1 when there is nothing to go to.
  int FindNext();

 signals:
  void hitsChanged();
  void currentChanged(int index);

 private:
  MDIFormDesigner &m_designer;
  bool m_includeClosedFiles = false;
  QString m_lastText;
  std::vector<FindHit> m_hits;
  int m_current = -1;
};
