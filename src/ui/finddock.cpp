#include "ui/finddock.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/panelfinder.h"
#include "ui/plaintext.h"
#include "ui/qtconvert.h"
#include "ui/replacepane.h"

FindDock::FindDock(PanelFinder &finder, QWidget *parent)
    : QDockWidget(tr("Find"), parent), m_finder(finder) {
  setObjectName(QStringLiteral("findDock"));
  auto *box = new QWidget(this);
  auto *layout = new QVBoxLayout(box);
  layout->setContentsMargins(4, 4, 4, 4);

  auto *row = new QHBoxLayout;
  m_text = new QLineEdit(box);
  m_text->setObjectName(QStringLiteral("txtFind"));
  m_text->setPlaceholderText(tr("Name, caption, command, route, mapping code, address..."));
  m_text->setClearButtonEnabled(true);
  row->addWidget(m_text, 1);
  auto *button = new QPushButton(tr("Find"), box);
  button->setObjectName(QStringLiteral("butFind"));
  row->addWidget(button);
  m_check = new QPushButton(tr("Check Panels"), box);
  m_check->setObjectName(QStringLiteral("butCheckPanels"));
  m_check->setToolTip(tr("List the faults of the open panels or of the panels folder"));
  row->addWidget(m_check);
  layout->addLayout(row);

  m_closedFiles = new QCheckBox(tr("Also search closed panel files in the panels folder"), box);
  m_closedFiles->setObjectName(QStringLiteral("chkClosedFiles"));
  m_closedFiles->setChecked(finder.includeClosedFiles());
  layout->addWidget(m_closedFiles);

  m_hits = new QTreeWidget(box);
  m_hits->setObjectName(QStringLiteral("lstHits"));
  m_hits->setItemDelegate(new PlainTextDelegate(m_hits));
  m_hits->setHeaderLabels({tr("Panel"), tr("Control"), tr("Kind"), tr("Field"), tr("Value")});
  m_hits->setRootIsDecorated(false);
  m_hits->setUniformRowHeights(true);
  m_hits->setAlternatingRowColors(true);
  m_hits->header()->setStretchLastSection(true);
  layout->addWidget(m_hits, 1);

  m_summary = plainLabel(QString(), box);
  m_summary->setObjectName(QStringLiteral("lblFindSummary"));
  layout->addWidget(m_summary);

  m_replace = new ReplacePane(finder, *m_text, box);
  m_replace->hide();
  layout->addWidget(m_replace, 1);
  setWidget(box);
  // Tab goes from the text to find to its replacement, as in any replace
  // dialog; while the Replace part is hidden Tab skips it.
  setTabOrder(m_text, m_replace->replacementBox());
  setTabOrder(m_replace->replacementBox(), m_replace->fieldBox());

  connect(m_text, &QLineEdit::returnPressed, this, &FindDock::search);
  connect(button, &QPushButton::clicked, this, &FindDock::search);
  connect(m_closedFiles, &QCheckBox::toggled, this,
          [this](bool on) { m_finder.setIncludeClosedFiles(on); });
  connect(m_hits, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
    m_finder.activateHit(m_hits->indexOfTopLevelItem(item));
  });
  connect(&finder, &PanelFinder::hitsChanged, this, &FindDock::fillHits);
  connect(&finder, &PanelFinder::currentChanged, this, &FindDock::showCurrent);
}

void FindDock::showForTyping() {
  m_replace->hide();
  show();
  raise();
  m_text->setFocus(Qt::ShortcutFocusReason);
  m_text->selectAll();
}

void FindDock::showReplace() {
  m_replace->show();
  show();
  raise();
  QLineEdit *typing = m_text->text().trimmed().isEmpty() ? m_text : m_replace->replacementBox();
  typing->setFocus(Qt::ShortcutFocusReason);
  typing->selectAll();
}

void FindDock::findNext() {
  show();
  // Text typed since the last search is searched first.
  if (m_text->text() != m_finder.lastText()) m_finder.Find(m_text->text());
  m_finder.findNext();
}

void FindDock::search() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool found = !m_finder.Find(m_text->text()).empty();
  QApplication::restoreOverrideCursor();
  // Goes to the first hit when its panel is open; a closed file opens only
  // when the user picks its line.
  if (found) m_finder.activateHit(0, PanelFinder::Opening::OpenPanelsOnly);
}

void FindDock::fillHits() {
  m_hits->clear();
  QList<QTreeWidgetItem *> items;
  QSet<QString> panels;
  for (const FindHit &hit : m_finder.hits()) {
    auto *item = new QTreeWidgetItem(
        QStringList{hit.panelName, hit.controlName, hit.kind, hit.field, hit.value});
    const QString where = hit.panelPath.isEmpty() ? tr("not saved yet") : hit.panelPath;
    item->setToolTip(0, hit.panel ? where : where + tr(" (not open)"));
    items << item;
    panels.insert(hit.panelPath.isEmpty() ? hit.panelName : hit.panelPath);
  }
  m_hits->addTopLevelItems(items);
  for (int column = 0; column < 4; ++column) m_hits->resizeColumnToContents(column);
  if (m_finder.lastText().trimmed().isEmpty())
    m_summary->clear();
  else if (items.isEmpty())
    m_summary->setText(tr("Nothing found."));
  else
    m_summary->setText(counted(items.size(), "hit") + QStringLiteral(" in ") +
                       counted(panels.size(), "panel") + u'.');
}

void FindDock::showCurrent(int index) {
  if (QTreeWidgetItem *item = m_hits->topLevelItem(index)) {
    const QSignalBlocker quiet(m_hits);
    m_hits->setCurrentItem(item);
    m_hits->scrollToItem(item);
  }
}
