#include "ui/openpanelviavexdialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "server/openpaneldialoglogic.h"
#include "ui/plaintext.h"

OpenPanelViaVexDialog::OpenPanelViaVexDialog(OpenPanelDialogLogic &logic, QWidget *parent)
    : ServerDialogView(QStringLiteral("frmOpenPanelViaVex"), OpenPanelDialogLogic::caption,
                       {[&logic] { logic.openSelected(); }, [&logic] { logic.cancel(); },
                        [&logic] { logic.showHelp(); }},
                       parent),
      m_logic(logic) {
  m_list = new QTreeWidget(this);
  m_list->setObjectName(QStringLiteral("lstPanels"));
  m_list->setItemDelegate(new PlainTextDelegate(m_list));
  m_list->setColumnCount(2);
  m_list->setHeaderLabels({tr("Panel"), tr("Caption")});
  m_list->setRootIsDecorated(false);
  m_list->setSelectionMode(QAbstractItemView::SingleSelection);
  m_list->header()->setStretchLastSection(true);
  connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] {
    const QList<QTreeWidgetItem *> selected = m_list->selectedItems();
    m_logic.setListIndex(selected.isEmpty() ? -1 : m_list->indexOfTopLevelItem(selected.first()));
  });
  connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
    m_logic.setListIndex(m_list->indexOfTopLevelItem(item));
    m_logic.panelDoubleClicked();
  });

  auto *openButton = new QPushButton(tr("&Open"), this);
  openButton->setObjectName(QStringLiteral("butOpen"));
  openButton->setDefault(true);
  auto *cancelButton = new QPushButton(tr("&Cancel"), this);
  cancelButton->setObjectName(QStringLiteral("butCancel"));
  connect(openButton, &QPushButton::clicked, this, [this] { m_logic.openSelected(); });
  connect(cancelButton, &QPushButton::clicked, this, [this] { m_logic.cancel(); });

  auto *buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(openButton);
  buttons->addWidget(cancelButton);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(m_list, 1);
  layout->addLayout(buttons);
  resize(420, 320);

  connect(&logic, &OpenPanelDialogLogic::listChanged, this, &OpenPanelViaVexDialog::loadList);
  connect(&logic, &OpenPanelDialogLogic::visibleChanged, this,
          [this](bool visible) { follow(visible, m_list); });
  loadList();
  if (logic.visible()) follow(true, m_list);
}

void OpenPanelViaVexDialog::loadList() {
  const QSignalBlocker block(m_list);
  m_list->clear();
  for (const QString &line : m_logic.panelList()) {
    const qsizetype tab = line.indexOf(u'\t');
    auto *item = new QTreeWidgetItem(m_list);
    item->setText(0, tab < 0 ? line : line.left(tab));
    item->setText(1, tab < 0 ? QString() : line.mid(tab + 1));
  }
  // The chosen line is also the current one, so Down goes on from it.
  if (m_logic.listIndex() >= 0) m_list->setCurrentItem(m_list->topLevelItem(m_logic.listIndex()));
  m_list->resizeColumnToContents(0);
  m_list->setColumnWidth(0, qMax(120, m_list->columnWidth(0) + 16));
}
