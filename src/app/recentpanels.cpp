#include "app/recentpanels.h"

#include <QSettings>
#include <algorithm>
#include <memory>

#include "app/mainwindowlogic.h"
#include "app/serverpanelpath.h"
#include "model/textfile.h"
#include "model/uiservice.h"
#include "server/vexprotocol.h"
#include "surface/paneleditor.h"

namespace {

const QString kKey = QStringLiteral("RecentPanels");

bool samePanel(const QString &a, const QString &b) {
  const bool server = isServerPanelPath(a) && isServerPanelPath(b);
  return a.compare(b, server ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

void removeFrom(QStringList &list, const QString &path) {
  list.erase(std::remove_if(list.begin(), list.end(),
                            [&](const QString &entry) { return samePanel(entry, path); }),
             list.end());
}

}  // namespace

RecentPanels::RecentPanels(MainWindowLogic &designer, QObject *parent)
    : QObject(parent), m_designer(designer) {
  connect(&designer, &MainWindowLogic::panelAdded, this, [this](PanelEditor *panel) {
    if (!m_designer.isOpeningToLook()) {
      add(panel->model().documentPath);
      return;
    }
    // A file opened only to look at (by Find) joins the list once edited.
    auto edited = std::make_shared<QMetaObject::Connection>();
    *edited = connect(panel, &PanelEditor::needToSaveChanged, this, [this, panel, edited](bool on) {
      if (!on) return;
      disconnect(*edited);
      add(panel->model().documentPath);
    });
  });
  connect(&designer, &MainWindowLogic::panelSaved, this,
          [this](PanelEditor *, const QString &path) { add(path); });
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

void RecentPanels::add(const QString &path) {
  if (path.trimmed().isEmpty()) return;
  QStringList list = entries();
  removeFrom(list, path);
  list.prepend(path);
  store(list.mid(0, kMaxEntries));
}

void RecentPanels::remove(const QString &path) {
  QStringList list = entries();
  const qsizetype before = list.size();
  removeFrom(list, path);
  if (list.size() != before) store(list);
}

PanelEditor *RecentPanels::openRecentPanel(const QString &path) {
  // An entry that is already open comes forward instead of a message.
  for (PanelEditor *panel : m_designer.openPanels()) {
    if (panel->model().documentPath.compare(path, Qt::CaseInsensitive) == 0) {
      m_designer.raisePanel(panel);
      return panel;
    }
  }
  if (isServerPanelPath(path)) {
    bool notListed = false;
    PanelEditor *panel = openServerPanel(m_designer, path, &notListed);
    if (notListed)
      offerRemoval(path, QStringLiteral("The panel ") + listedPanelName(path) +
                             QStringLiteral(" is no longer on the server ") +
                             serverOfPanelPath(path) + u'.');
    return panel;
  }
  if (!fileExists(path)) {
    offerRemoval(path,
                 QStringLiteral("The panel file ") + path + QStringLiteral(" no longer exists."));
    return nullptr;
  }
  return m_designer.openLocalPanelFile(path);
}

void RecentPanels::offerRemoval(const QString &path, const QString &why) {
  if (m_designer.ui().message(why + QStringLiteral("\r\nRemove it from the recent panels?"),
                              Ui::Buttons::YesNo) == Ui::Answer::Yes)
    remove(path);
}
