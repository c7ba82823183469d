#pragma once

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QTimer>

#include "model/textfile.h"

class MainWindowLogic;
class PanelEditor;

// Watches the files of the open local panels. When another engineer or
// program changes the file of a panel that has no unsaved changes, offers
// to reload it; a panel with changes is left alone (its save asks first).
class PanelFileWatcher : public QObject {
  Q_OBJECT
 public:
  // A file written in several steps is looked at once, after it settles.
  static constexpr int kSettleMs = 300;

  explicit PanelFileWatcher(MainWindowLogic &designer, QObject *parent = nullptr);

  // Offers the reload of every unchanged panel whose file changed (the
  // settle timer's tick).
  void checkPanels();

 private:
  void watchFiles(const PanelEditor *leaving = nullptr);
  void forget(PanelEditor *panel);
  bool offerReload(PanelEditor *panel, const QString &path);

  MainWindowLogic &m_designer;
  QFileSystemWatcher m_watcher;
  QTimer m_settle;
  // The file as it was when the user chose to keep the panel as it is.
  QHash<const PanelEditor *, FileStamp> m_kept;
  bool m_asking = false;
  bool m_again = false;  // a file changed while the question was open
};
