#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class MainWindowLogic;
class PanelEditor;

// File > Recent Panels: the last panels opened or saved, local files and
// server panels alike, most recent first, kept in the program's settings
// (QSettings of the application's organisation and name). The list follows
// the designer: every panel window that opens with a path, and every local
// save, moves that path to the top.
class RecentPanels : public QObject {
  Q_OBJECT
 public:
  static constexpr int kMaxEntries = 10;

  explicit RecentPanels(MainWindowLogic &designer, QObject *parent = nullptr);

  QStringList entries() const;
  // Puts the path first (removing an older entry of it) and keeps the
  // newest ten. Server paths are compared without regard to case.
  void add(const QString &path);
  void remove(const QString &path);

  // Opens an entry: a server panel from its own server (openServerPanel), a
  // local file as File > Open Local Panel does. A file that no longer
  // exists, or a panel its server no longer lists, is not opened; the user
  // is asked whether to remove it from the list.
  PanelEditor *openRecentPanel(const QString &path);

 signals:
  void entriesChanged();

 private:
  void store(const QStringList &entries);
  void offerRemoval(const QString &path, const QString &why);
  MainWindowLogic &m_designer;
};
