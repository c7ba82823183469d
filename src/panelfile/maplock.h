#pragma once

#include <QString>
#include <memory>

#include "model/textfile.h"

class HardwareMap;
class QLockFile;
class Ui;

// How long a save waits for another designer's save of the map to finish.
inline constexpr int kMapLockWait = 3000;

QString mapLockPath(const QString &mapFile);
// "Error adding version to hardware map (FILE: why)": how every failure to
// update the map is told.
QString hardwareMapError(const QString &mapFile, const QString &why);

// The hardware map's lock, held while a save reads, changes and writes the
// map, so that two designers saving at once never lose each other's
// entries. Taking it first completes a save a designer could not finish, so
// that whatever is read under the lock (the map, and for a change of a
// closed panel file the panel itself) is read after that completion:
//
//   MapLock lock(ui);
//   if (!lock.lock(&error)) ...               // the reason, for the user
//   readPanelText(..., lock.map(), ...);      // the map as it is now
//   savePanelLocal(panel, path, ui, &error, &lock);
//
// Without a map file in the settings it holds nothing and always succeeds.
class MapLock {
 public:
  // The settings' map's lock, or that of another map.
  explicit MapLock(Ui &ui);
  MapLock(Ui &ui, const QString &mapFile);
  ~MapLock();
  MapLock(const MapLock &) = delete;
  MapLock &operator=(const MapLock &) = delete;

  // Waits up to `waitMs` for another save. A lock left by a process that
  // died is taken over at once: one naming a process that is gone, and an
  // empty or unreadable one, which no live holder leaves. False with the
  // reason in `error` (hardwareMapError): "another save is updating it; try
  // again" only when another save holds it; otherwise why the lock file
  // cannot be made ("No space left on device") or what is in its place.
  bool lock(QString *error, int waitMs = kMapLockWait);
  bool isLocked() const { return m_locked; }
  const QString &mapFile() const { return m_mapFile; }
  // The map as it is now (empty when there is none or it cannot be read).
  HardwareMap map() const;
  // Frees the lock, then tells the user about a save that could be
  // completed only in part (reportUnfinishedSave).
  void unlock();

 private:
  Ui &m_ui;
  QString m_mapFile;
  std::unique_ptr<QLockFile> m_lock;
  JournalReplay m_replay;
  bool m_locked = false;
};
