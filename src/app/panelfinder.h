#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <vector>

#include "app/panelsearch.h"

class MDIFormDesigner;
class frmPanel;

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

  // Whether going to a hit may open the closed file it lies in; only a
  // user's explicit choice of that hit does.
  enum class Opening { ClosedFiles, OpenPanelsOnly };

  // Makes the hit current, brings its panel forward (opening its file first
  // when it is not open and `opening` allows) and selects the control, or
  // the panel itself for a hit of the panel's own fields. False when the
  // panel is not open (or could not be) or the control is no longer there;
  // the latter is said.
  bool ActivateHit(int index, Opening opening = Opening::ClosedFiles);
  // F3: activates the hit after the current one, from the first again after
  // the last, never opening a closed file. With no hits yet it searches the
  // last text first. The index activated, or -1 when there is nothing to go to.
  int FindNext();

  // Searches the open panels again, keeping the hits of closed files: the
  // hits follow the user's edits (run shortly after a panel changes).
  void refreshOpenPanels();

 signals:
  void hitsChanged();
  void currentChanged(int index);

 private:
  frmPanel *openPanelOf(const FindHit &hit) const;
  bool goTo(const FindHit &hit, Opening opening);
  void searchOpenPanels(const FindQuery &query, const std::vector<frmPanel *> &open);
  QTimer m_refresh;
  MDIFormDesigner &m_designer;
  bool m_includeClosedFiles = false;
  QString m_lastText;
  std::vector<FindHit> m_hits;
  int m_current = -1;
};
