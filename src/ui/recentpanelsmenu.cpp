#include "ui/recentpanelsmenu.h"

#include "app/recentpanels.h"
#include "ui/plaintext.h"

RecentPanelsMenu::RecentPanelsMenu(RecentPanels &recent, QWidget *parent)
    : QMenu(tr("Recent &Panels"), parent), m_recent(recent) {
  setObjectName(QStringLiteral("mnuRecentPanels"));
  connect(this, &QMenu::aboutToShow, this, &RecentPanelsMenu::refill);
  refill();
}

void RecentPanelsMenu::refill() {
  clear();
  const QStringList entries = m_recent.entries();
  if (entries.isEmpty()) {
    addAction(tr("(none)"))->setEnabled(false);
    return;
  }
  int number = 0;
  for (const QString &path : entries) {
    ++number;
    // Entries 1-9 get their number as access key.
    const QString caption =
        (number < 10 ? QStringLiteral("&%1  ").arg(number) : QStringLiteral("%1  ").arg(number)) +
        plainMenuText(path);
    QAction *entry = addAction(caption);
    connect(entry, &QAction::triggered, this, [this, path] { m_recent.openRecentPanel(path); });
  }
}
