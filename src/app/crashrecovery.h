#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <map>
#include <memory>
#include <vector>

class MainWindowLogic;
class QLockFile;
class PanelEditor;

// Keeps the unsaved work of every open panel in a recovery folder, so that
// a designer killed at any moment loses at most the last 30 seconds.
//
// Each running designer owns a session inside the folder: a lock file
// "<session>.lock" (holding its process id, taken before anything else) and
// a folder "<session>/" with one recovery file per changed panel. Every
// 30 s each changed panel that changed since its last write is written
// there through the safe writer; a save, or closing the panel, removes its
// file. A normal end removes the session. A session folder whose lock is
// free was left by a designer that did not end normally: at start-up its
// files are offered back. A running designer's lock is never free, so two
// designers never take each other's files. A file is marked as offered from
// before it is read until the offer is answered; one still marked at a start
// (its designer ended while offering it) is set aside with a message and
// never offered again, so that no file can end the designer at every start.
class CrashRecovery : public QObject {
  Q_OBJECT
 public:
  static constexpr int kIntervalMs = 30000;

  // "recovery/" in the user's application data folder.
  static QString defaultFolder();

  CrashRecovery(MainWindowLogic &designer, const QString &folder, QObject *parent = nullptr);
  // A normal end: the session's lock is released, its folder removed when
  // no recovery file is left in it.
  ~CrashRecovery() override;

  // Claims a session, offers what designers that did not end normally left
  // behind (Restore opens those panels marked changed, under their original
  // paths) and starts the timer. False, with recovery off, when the folder
  // cannot be used; the designer works on without it.
  bool start();

  // The timer's tick: writes every changed panel that changed since its
  // last write.
  void recoveryTick();
  QTimer recoveryTimer;

  QString sessionFolder() const { return m_sessionFolder; }
  // Why unsaved work is not being kept now (the folder cannot be used, the
  // last write failed); empty while it is. stateChanged tells of changes.
  QString problem() const { return m_problem; }
  // Where recovery files that could not be read or restored are moved.
  QString unreadableFolder() const { return m_folder + QStringLiteral("unreadable/"); }
  // Where the panel's work is kept (the file exists only once written).
  QString recoveryFileOf(PanelEditor *panel) const;

 private:
  struct Tracked {
    QString file;
    bool changedSinceWrite = false;
  };
  struct Left;  // a recovery file of a session that did not end normally
  struct Claimed {
    QString folder;
    std::unique_ptr<QLockFile> lock;
  };

  void track(PanelEditor *panel);
  void untrack(PanelEditor *panel);
  void removeFile(PanelEditor *panel);
  bool write(PanelEditor *panel, Tracked &tracked);
  std::vector<Claimed> claimAbandonedSessions();
  void offer(std::vector<Claimed> &claimed);
  bool restore(const Left &left, QString *why);
  void setAside(const QString &file, const QString &session);
  void setProblem(const QString &problem);

  MainWindowLogic &m_designer;
  QString m_folder;
  QString m_sessionFolder;
  std::unique_ptr<QLockFile> m_lock;
  std::map<PanelEditor *, Tracked> m_panels;
  int m_nextFile = 1;
  QString m_problem;

 signals:
  void stateChanged();
};
