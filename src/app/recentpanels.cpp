#include "app/recentpanels.h"

#include <QSettings>
#include <algorithm>
#include <memory>

#include "app/mdiformdesigner.h"
#include "app/serverpanelpath.h"
#include "model/textfile.h"
#include "model/uiservice.h"
#include "server/vexprotocol.h"
#include "surface/frmpanel.h"

namespace {

const QString kKey = QStringLiteral("RecentPanels");

bool samePanel(const QString &a, const QString &b) {
  const bool server = IsServerPanelPath(a) && IsServerPanelPath(b);
  return a.compare(b, server ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

void removeFrom(QStringList &list, const QString &path) {
  list.erase(std::remove_if(list.begin(), list.end(),
                            [&](const QString &entry) { return samePanel(entry, path); }),
             list.end());
}

}  // namespace

RecentPanels::RecentPanels(MDIFormDesigner &designer, QObject *parent)
    : QObject(parent), m_designer(designer) {
  connect(&designer, &MDIFormDesigner::panelAdded, this, [this](frmPanel *panel) {
    if (!m_designer.isOpeningToLook()) {
      Add(panel->model().WindowTag);
      return;
    }
    // A file opened only to look at (by Find) joins the list once edited.
    auto edited = std::make_shared<QMetaObject::Connection>();
    *edited = connect(panel, &frmPanel::needToSaveChanged, this, [this, panel, edited](bool on) {
      if (!on) return;
      disconnect(*edited);
      Add(panel->model().WindowTag);
    });
  });
  connect(&designer, &MDIFormDesigner::panelSaved, this,
          [this](frmPanel *, const QString &path) { Add(path); });
}

QStringList RecentPanels::entries() const {
  QStringList list = QSettings().value(kKey).toStringList();
  list.removeAll(QString());
  if (list.size() > kMaxEntries) list = list.mid(0, kMaxEntries);
  return list;
}

void RecentPanels::store(const QStringList &list) {
  QSettings settings;
  settings.setValue(kKey, list);
  settings.sync();
  emit entriesChanged();
}

void RecentPanels::Add(const QString &path) {
  if (path.trimmed().isEmpty()) return;
  QStringList list = entries();
  removeFrom(list, path);
  list.prepend(path);
  store(list.mid(0, kMaxEntries));
}

void RecentPanels::Remove(const QString &path) {
  QStringList list = entries();
  const qsizetype before = list.size();
  removeFrom(list, path);
  if (list.size() != before) store(list);
}

frmPanel *RecentPanels::OpenRecentPanel(const QString &path) {
  // An entry that is already open comes forward instead of a message.
  for (frmPanel *panel : m_designer.collOpenPanels()) {
    if (panel->model().WindowTag.compare(path, Qt::CaseInsensitive) == 0) {
      m_designer.RaisePanel(panel);
      return panel;
    }
  }
  if (IsServerPanelPath(path)) {
    bool notListed = false;
    frmPanel *panel = OpenServerPanel(m_designer, path, &notListed);
    if (notListed)
      offerRemoval(path, QStringLiteral("The panel ") + ListedPanelName(path) +
                             QStringLiteral(" is no longer on the server ") +
                             ServerOfPanelPath(path) + u'.');
    return panel;
  }
  if (!FileExists(path)) {
    offerRemoval(path,
                 QStringLiteral("The panel file ") + path + QStringLiteral(" no longer exists."));
    return nullptr;
  }
  return m_designer.OpenLocalPanelFile(path);
}

void RecentPanels::offerRemoval(const QString &path, const QString &why) {
  if (m_designer.ui().message(why + QStringLiteral("\r\nRemove it from the recent panels?"),
                              Ui::Buttons::YesNo) == Ui::Answer::Yes)
    Remove(path);
}
