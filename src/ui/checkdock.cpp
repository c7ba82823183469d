#include "ui/checkdock.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

#include "app/panelchecker.h"
#include "model/textfile.h"
#include "ui/plaintext.h"
#include "ui/qtconvert.h"

// The checker's findings as rows (file, control, severity, message) in the
// order of the check, or sorted by a column. A panels folder can give tens
// of thousands; rows are only made when the view draws them.
class FindingsModel : public QAbstractTableModel {
 public:
  FindingsModel(const PanelChecker &checker, const QStyle *style, QObject *parent)
      : QAbstractTableModel(parent),
        m_checker(checker),
        m_error(style->standardIcon(QStyle::SP_MessageBoxCritical)),
        m_warning(style->standardIcon(QStyle::SP_MessageBoxWarning)) {}

  // The checker's findings changed: rows afresh, in the chosen order.
  void refill() {
    beginResetModel();
    m_order.resize(m_checker.findings().size());
    std::iota(m_order.begin(), m_order.end(), 0);
    sortRows();
    endResetModel();
  }
  // Sorts by a column (-1: the order of the check), ties in check order.
  void sortBy(int column, Qt::SortOrder order) {
    m_column = column;
    m_sortOrder = order;
    beginResetModel();
    std::sort(m_order.begin(), m_order.end());
    sortRows();
    endResetModel();
  }
  // The index of the finding of a row in the checker's findings.
  int findingAt(int row) const { return m_order.at(size_t(row)); }

  int rowCount(const QModelIndex &parent = {}) const override {
    return parent.isValid() ? 0 : int(m_order.size());
  }
  int columnCount(const QModelIndex &parent = {}) const override {
    return parent.isValid() ? 0 : 4;
  }
  QVariant data(const QModelIndex &index, int role) const override {
    if (!index.isValid() || size_t(index.row()) >= m_order.size()) return {};
    const CheckFinding &f = finding(index.row());
    const int column = index.column();
    switch (role) {
      case Qt::DisplayRole:
        return text(f, column);
      case Qt::ToolTipRole:
        return column == 0 ? f.file : column == 2 ? f.code : column == 3 ? f.message : QVariant();
      case Qt::DecorationRole:
        if (column == 2) return isError(f) ? m_error : m_warning;
        return {};
    }
    return {};
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    static const char *const kTitles[] = {"File", "Control", "Severity", "Message"};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 4)
      return CheckDock::tr(kTitles[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
  }

 private:
  static bool isError(const CheckFinding &f) { return f.severity == CheckFinding::Severity::Error; }
  static QString text(const CheckFinding &f, int column) {
    switch (column) {
      case 0:
        return fileNameOf(f.file);
      case 1:
        return f.control;
      case 2:
        return isError(f) ? CheckDock::tr("Error") : CheckDock::tr("Warning");
      case 3:
        return f.message;
    }
    return {};
  }
  const CheckFinding &finding(int row) const {
    return m_checker.findings()[size_t(m_order[size_t(row)])];
  }
  void sortRows() {
    if (m_column < 0) return;
    std::vector<QString> keys(m_order.size());
    for (size_t i = 0; i < m_order.size(); ++i)
      keys[size_t(m_order[i])] = text(m_checker.findings()[size_t(m_order[i])], m_column);
    const bool descending = m_sortOrder == Qt::DescendingOrder;
    std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
      const int c = keys[size_t(a)].compare(keys[size_t(b)], Qt::CaseInsensitive);
      return descending ? c > 0 : c < 0;
    });
  }

  const PanelChecker &m_checker;
  QIcon m_error, m_warning;
  std::vector<int> m_order;  // finding indices, top row first
  int m_column = -1;
  Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

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
  m_progress = new QProgressBar(box);
  m_progress->setObjectName(QStringLiteral("prgCheck"));
  m_progress->setFormat(tr("%v of %m panel files read"));
  // It takes the room the row has; its text never widens the pane.
  m_progress->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  m_progress->hide();
  row->addWidget(m_progress, 1);
  row->addStretch(1);
  layout->addLayout(row);

  m_model = new FindingsModel(checker, style(), this);
  m_findings = new QTreeView(box);
  m_findings->setObjectName(QStringLiteral("lstFindings"));
  m_findings->setItemDelegate(new PlainTextDelegate(m_findings));
  m_findings->setModel(m_model);
  m_findings->setRootIsDecorated(false);
  m_findings->setUniformRowHeights(true);
  m_findings->setAlternatingRowColors(true);
  m_findings->header()->setStretchLastSection(true);
  // A click on a heading sorts by it; until then the findings stay in the
  // order of the check (panel by panel).
  m_findings->header()->setSectionsClickable(true);
  connect(m_findings->header(), &QHeaderView::sectionClicked, this, [this](int column) {
    QHeaderView *header = m_findings->header();
    const bool again = header->isSortIndicatorShown() && header->sortIndicatorSection() == column;
    const Qt::SortOrder order = again && header->sortIndicatorOrder() == Qt::AscendingOrder
                                    ? Qt::DescendingOrder
                                    : Qt::AscendingOrder;
    header->setSortIndicatorShown(true);
    header->setSortIndicator(column, order);
    m_model->sortBy(column, order);
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
  connect(m_findings, &QTreeView::activated, this, [this](const QModelIndex &index) {
    const QString failed = m_checker.goTo(m_model->findingAt(index.row()));
    if (!failed.isEmpty()) m_summary->setText(failed);
  });
  connect(&checker, &PanelChecker::findingsChanged, this, &CheckDock::fillFindings);
  connect(&checker, &PanelChecker::progressChanged, this, &CheckDock::showProgress);
}

void CheckDock::checkNow() {
  m_checker.start();
  show();
  raise();
  m_findings->setFocus(Qt::OtherFocusReason);
}

void CheckDock::showEvent(QShowEvent *event) {
  QDockWidget::showEvent(event);
  m_checker.setWatching(true);  // a pane shown empty or out of date checks by itself
}

void CheckDock::hideEvent(QHideEvent *event) {
  QDockWidget::hideEvent(event);
  m_checker.setWatching(false);
}

void CheckDock::showProgress() {
  m_progress->setVisible(m_checker.isChecking());
  if (!m_checker.isChecking()) return;
  m_progress->setRange(0, std::max(1, m_checker.filesToRead()));
  m_progress->setValue(m_checker.filesRead());
  showSummary();
}

void CheckDock::fillFindings() {
  m_model->refill();
  for (int column = 0; column < 3; ++column) m_findings->resizeColumnToContents(column);
  showSummary();
}

void CheckDock::showSummary() {
  if (m_checker.isChecking()) {
    m_summary->setText(tr("Checking the panels of the panels folder\u2026"));
    return;
  }
  const int checked = m_checker.panelsChecked();
  const bool open = m_checker.scope() == PanelChecker::Scope::OpenPanels;
  if (checked < 0) {
    m_summary->clear();
    return;
  }
  if (checked == 0) {
    m_summary->setText(open ? tr("No panel is open.") : tr("The panels folder holds no panel."));
    return;
  }
  const std::vector<CheckFinding> &findings = m_checker.findings();
  const qsizetype errors = std::count_if(findings.begin(), findings.end(), [](const auto &f) {
    return f.severity == CheckFinding::Severity::Error;
  });
  const qsizetype warnings = qsizetype(findings.size()) - errors;
  const QString panels = counted(checked, "panel");
  if (findings.empty()) {
    m_summary->setText(tr("Nothing found in %1.").arg(panels));
    return;
  }
  QStringList counts;
  if (errors > 0) counts << counted(errors, "error");
  if (warnings > 0) counts << counted(warnings, "warning");
  m_summary->setText(counts.join(QStringLiteral(" and ")) + QStringLiteral(" in ") + panels + u'.');
}
