#include "model/panelmapentries.h"

#include <QHash>
#include <QMutex>

#include "model/panelmodel.h"

namespace {

// Kept beside the panels rather than in them; a panel's names are dropped
// when a new panel is made in its place.
QMutex g_lock;
QHash<const PanelModel *, QSet<QString>> g_entries;

}  // namespace

QSet<QString> mapEntriesSinceOpened(const PanelModel &panel) {
  const QMutexLocker locker(&g_lock);
  return g_entries.value(&panel);
}

void rememberMapEntries(const PanelModel &panel) {
  QSet<QString> names;
  for (const auto &r : panel.panelRecord.records)
    if (r && !r->hwMapInternalName().trimmed().isEmpty())
      names.insert(r->hwMapInternalName().trimmed().toLower());
  const QMutexLocker locker(&g_lock);
  g_entries[&panel].unite(names);
}

void forgetMapEntries(const PanelModel &panel) {
  const QMutexLocker locker(&g_lock);
  g_entries.remove(&panel);
}
