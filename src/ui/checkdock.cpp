#include "ui/checkdock.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/panelchecker.h"
#include "ui/plaintext.h"
#include "ui/qtconvert.h"

CheckDock::CheckDock(PanelChecker &checker, QWidget *parent)
    : QDockWidget(tr("Check Panels"), parent), m_checker(checker) {
  setObjectName(QStringLiteral("checkDock"));
  auto *box = new QWidget(this);
  auto *layout = new QVBoxLayout(box);
  layout->setContentsMargins(4, 4, 4, 4);

  auto *row = new QHBoxLayout;
  m_scope = new QComboBox(box);
  m_scope->setObjectName(QStringLiteral("cboCheckScope"));
  m_scope->addItem(tr("Open panels"), int(PanelChecker::Scope::OpenPanels));
  m_scope->addItem(tr("Every panel of the panels folder"), int(PanelChecker::Scope::PanelsFolder));
  m_scope->setCurrentIndex(m_scope->findData(int(checker.scope())));
  row->addWidget(m_scope);
  auto *button = new QPushButton(tr("Check"), box);
  button->setObjectName(QStringLiteral("butCheck"));
  row->addWidget(button);
  row->addStretch(1);
  layout->addLayout(row);

  m_findings = new QTreeWidget(box);
  m_findings->setObjectName(QStringLiteral("lstFindings"));
  m_findings->setItemDelegate(new PlainTextDelegate(m_findings));
  m_findings->setHeaderLabels({tr("File"), tr("Control"), tr("Severity"), tr("Message")});
  m_findings->setRootIsDecorated(false);
  m_findings->setUniformRowHeights(true);
  m_findings->setAlternatingRowColors(true);
  m_findings->header()->setStretchLastSection(true);
  // A click on a heading sorts by it; until then the findings stay in the
  // order of the check (panel by panel).
  m_findings->header()->setSectionsClickable(true);
  connect(m_findings->header(), &QHeaderView::sectionClicked, this, [this](int column) {
    const QHeaderView *header = m_findings->header();
    const bool again = header->isSortIndicatorShown() && header->sortIndicatorSection() == column;
    const Qt::SortOrder order = again && header->sortIndicatorOrder() == Qt::AscendingOrder
                                    ? Qt::DescendingOrder
                                    : Qt::AscendingOrder;
    m_findings->header()->setSortIndicatorShown(true);
    m_findings->sortItems(column, order);
  });
  layout->addWidget(m_findings, 1);

  m_summary = plainLabel(QString(), box);
  m_summary->setObjectName(QStringLiteral("lblCheckSummary"));
  m_summary->setWordWrap(true);
  layout->addWidget(m_summary);
  setWidget(box);

  connect(m_scope, &QComboBox::currentIndexChanged, this,
          [this] { m_checker.setScope(PanelChecker::Scope(m_scope->currentData().toInt())); });
  connect(button, &QPushButton::clicked, this, &CheckDock::checkNow);
  connect(m_findings, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
    const QString failed = m_checker.goTo(item->data(0, Qt::UserRole).toInt());
    if (!failed.isEmpty()) m_summary->setText(failed);
  });
  connect(&checker, &PanelChecker::findingsChanged, this, &CheckDock::fillFindings);
}

void CheckDock::checkNow() {
  show();
  raise();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  m_checker.Check();
  QApplication::restoreOverrideCursor();
  m_findings->setFocus(Qt::OtherFocusReason);
}

void CheckDock::fillFindings() {
  m_findings->clear();
  const QIcon error = style()->standardIcon(QStyle::SP_MessageBoxCritical);
  const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
  QList<QTreeWidgetItem *> items;
  qsizetype errors = 0;
  for (const CheckFinding &f : m_checker.findings()) {
    const bool isError = f.severity == CheckFinding::Severity::Error;
    errors += isError;
    auto *item = new QTreeWidgetItem(QStringList{QFileInfo(f.file).fileName(), f.control,
                                                 isError ? tr("Error") : tr("Warning"), f.message});
    item->setData(0, Qt::UserRole, int(items.size()));
    item->setToolTip(0, f.file);
    item->setIcon(2, isError ? error : warning);
    item->setToolTip(2, f.code);
    item->setToolTip(3, f.message);
    items << item;
  }
  m_findings->addTopLevelItems(items);
  if (const QHeaderView *header = m_findings->header(); header->isSortIndicatorShown())
    m_findings->sortItems(header->sortIndicatorSection(), header->sortIndicatorOrder());
  for (int column = 0; column < 3; ++column) m_findings->resizeColumnToContents(column);
  const QString panels = counted(m_checker.panelsChecked(), "panel");
  if (m_checker.panelsChecked() == 0)
    m_summary->setText(m_checker.scope() == PanelChecker::Scope::OpenPanels
                           ? tr("No panel is open.")
                           : tr("The panels folder holds no panel."));
  else if (items.isEmpty())
    m_summary->setText(tr("Nothing found in %1.").arg(panels));
  else {
    QStringList counts;
    if (errors > 0) counts << counted(errors, "error");
    if (items.size() > errors) counts << counted(items.size() - errors, "warning");
    m_summary->setText(counts.join(QStringLiteral(" and ")) + QStringLiteral(" in ") + panels +
                       u'.');
  }
}
