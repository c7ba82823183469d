#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <vector>

#include "app/panelsearch.h"

class MainWindowLogic;
class PanelEditor;

// The open window of a panel file (compared as absolute paths); null when
// it is not open. A window of the same panel name holding another file (a
// new "Panel1" beside CVSPanels/Panel1.xml) is not it.
PanelEditor *openPanelOfFile(const QString &path, const std::vector<PanelEditor *> &open);

// Brings a panel forward -- `panel` while it is still open, else the window
// of `panelPath`, else, when `mayOpen`, that file opened for a look (it joins
// the recent list once edited) -- and makes the control named `controlName`
// (letter case ignored when no name matches exactly) the selection, or the
// panel itself when the name is empty. False when the panel is not open (or
// could not be) or the control is not there (the panel still comes forward).
bool goToControl(MainWindowLogic &designer, PanelEditor *panel, const QString &panelPath,
                 const QString &controlName, bool mayOpen = true);

// The logic of Edit > Find: searches the open panels and, when asked, the
// panel files of the panels folder that are not open; keeps the hits and
// the current one; takes the user to a hit. The find dock observes it.
class PanelFinder : public QObject {
  Q_OBJECT
 public:
  explicit PanelFinder(MainWindowLogic &designer, QObject *parent = nullptr);
  MainWindowLogic &designer() const { return m_designer; }

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

  // Whether going to a hit may open the closed file it lies in; only a
  // user's explicit choice of that hit does.
  enum class Opening { ClosedFiles, OpenPanelsOnly };

  // Makes the hit current and goes to it (goToControl). False when the panel
  // is not open (or could not be) or the control is no longer there; the
  // latter is said.
  bool activateHit(int index, Opening opening = Opening::ClosedFiles);
  // F3: activates the hit after the current one, from the first again after
  // the last, never opening a closed file. With no hits yet it searches the
  // last text first. The index activated, or -1 when there is nothing to go to.
  int findNext();

  // Searches the open panels again, keeping the hits of closed files: the
  // hits follow the user's edits (run shortly after a panel changes).
  void refreshOpenPanels();

 signals:
  void hitsChanged();
  void currentChanged(int index);

 private:
  void searchOpenPanels(const FindQuery &query, const std::vector<PanelEditor *> &open);
  MainWindowLogic &m_designer;
  QTimer m_refresh;
  bool m_includeClosedFiles = false;
  QString m_lastText;
  std::vector<FindHit> m_hits;
  int m_current = -1;
};
