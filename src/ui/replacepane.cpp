#include "ui/replacepane.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTreeWidget>

#include "app/mainwindowlogic.h"
#include "app/panelfinder.h"
#include "app/panelsearch.h"
#include "grid/gridsupport.h"
#include "hwmap/hardwaremap.h"
#include "model/settings.h"
#include "ui/plaintext.h"
#include "ui/qtconvert.h"

namespace {

// Line breaks shown as the grid shows them.
QString changeText(const ReplaceChange &c) {
  return captionToCell(c.before) + QStringLiteral(" \u2192 ") + captionToCell(c.after);
}

// "Studio1 Mic12 Name: why" lines for what was not done.
QString notDoneLines(const std::vector<ReplaceChange> &refused,
                     const std::vector<SkippedFile> &files) {
  QStringList lines;
  for (const SkippedFile &f : files) lines << f.file + QStringLiteral(": ") + f.reason;
  for (const ReplaceChange &c : refused)
    lines << QStringList{c.panelName, c.control, c.field}.join(u' ').simplified() +
                 QStringLiteral(": ") + c.refused;
  return lines.join(u'\n');
}

}  // namespace

ReplacePane::ReplacePane(PanelFinder &finder, QLineEdit &findText, QWidget *parent)
    : QGroupBox(tr("Replace"), parent), m_finder(finder), m_findText(findText) {
  setObjectName(QStringLiteral("grpReplace"));
  auto *layout = new QGridLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);

  m_field = new QComboBox(this);
  m_field->setObjectName(QStringLiteral("cboReplaceField"));
  m_field->addItem(tr("Any field"), QString());
  for (const QString &label : replaceFieldLabels()) m_field->addItem(label, label);
  auto *fieldLabel = plainLabel(tr("Fiel&d:"), this);
  fieldLabel->setBuddy(m_field);
  layout->addWidget(fieldLabel, 0, 0);
  layout->addWidget(m_field, 0, 1);

  m_replacement = new QLineEdit(this);
  m_replacement->setObjectName(QStringLiteral("txtReplaceWith"));
  m_replacement->setPlaceholderText(tr("Replacement for the text to find"));
  auto *withLabel = plainLabel(tr("Replace &with:"), this);
  withLabel->setBuddy(m_replacement);
  layout->addWidget(withLabel, 1, 0);
  layout->addWidget(m_replacement, 1, 1);
  m_preview = new QPushButton(tr("&Preview"), this);
  m_preview->setObjectName(QStringLiteral("butPreviewReplace"));
  m_preview->setToolTip(tr("List every change the replacement would make"));
  layout->addWidget(m_preview, 1, 2);

  m_changes = new QTreeWidget(this);
  m_changes->setObjectName(QStringLiteral("lstChanges"));
  m_changes->setItemDelegate(new PlainTextDelegate(m_changes));
  m_changes->setHeaderLabels({tr("Panel"), tr("Control"), tr("Field"), tr("Change")});
  m_changes->setRootIsDecorated(false);
  m_changes->setUniformRowHeights(true);
  m_changes->header()->setStretchLastSection(true);
  layout->addWidget(m_changes, 2, 0, 1, 3);

  m_summary = plainLabel(QString(), this);
  m_summary->setObjectName(QStringLiteral("lblReplaceSummary"));
  m_summary->setWordWrap(true);
  m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(m_summary, 3, 0, 1, 2);
  m_replace = new QPushButton(tr("&Replace"), this);
  m_replace->setObjectName(QStringLiteral("butReplace"));
  m_replace->setToolTip(tr("Make the ticked changes"));
  m_replace->setEnabled(false);
  layout->addWidget(m_replace, 3, 2, Qt::AlignTop);
  layout->setColumnStretch(1, 1);
  layout->setRowStretch(2, 1);

  connect(m_preview, &QPushButton::clicked, this, &ReplacePane::preview);
  connect(m_replacement, &QLineEdit::returnPressed, this, &ReplacePane::preview);
  connect(m_replace, &QPushButton::clicked, this, &ReplacePane::replace);
  connect(m_changes, &QTreeWidget::itemChanged, this, [this] {
    updateReplaceButton();
    showPlanSummary();
  });
  connect(m_changes, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
    const size_t i = size_t(m_changes->indexOfTopLevelItem(item));
    if (i >= m_plan.changes.size()) return;
    const ReplaceChange &c = m_plan.changes[i];
    goToControl(m_finder.designer(), c.panel, c.file, c.control);
  });
  // A preview holds for the texts it was made for only.
  auto stale = [this] {
    if (!m_plan.changes.empty()) m_replace->setEnabled(false);
  };
  connect(m_replacement, &QLineEdit::textChanged, this, stale);
  connect(&m_findText, &QLineEdit::textChanged, this, stale);
  connect(m_field, &QComboBox::currentIndexChanged, this, stale);
}

ReplaceRequest ReplacePane::request() const {
  return {m_field->currentData().toString(), m_findText.text(), m_replacement->text()};
}

void ReplacePane::preview() {
  m_planned = request();
  if (FindQuery(m_planned.find).isEmpty()) {
    m_plan = {};
    fillChanges();
    m_summary->setText(tr("Type the text to find above."));
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  MainWindowLogic &designer = m_finder.designer();
  const QStringList files =
      m_finder.includeClosedFiles() ? panelFilesOf(programSettings().panelsFolder) : QStringList();
  m_plan = planReplace(m_planned, designer.openPanels(), files,
                       HardwareMap::fromFile(programSettings().hardwareMapFile));
  QApplication::restoreOverrideCursor();
  fillChanges();
  showPlanSummary();
}

void ReplacePane::showPlanSummary() {
  // The panels of every listed change, and of the ticked ones.
  QSet<QString> panels, tickedPanels;
  int refused = 0, ticked = 0;
  for (size_t i = 0; i < m_plan.changes.size(); ++i) {
    const ReplaceChange &c = m_plan.changes[i];
    const QString panel = c.file.isEmpty() ? c.panelName : c.file;
    panels << panel;
    if (!c.refused.isEmpty()) {
      ++refused;
    } else if (m_changes->topLevelItem(int(i))->checkState(0) == Qt::Checked) {
      ++ticked;
      tickedPanels << panel;
    }
  }
  const qsizetype listed = qsizetype(m_plan.changes.size());
  QString text;
  if (listed == 0)
    text = tr("Nothing to replace.");
  else if (ticked + refused == listed)  // every change that can be made is ticked
    text = counted(listed, "change") + tr(" in ") + counted(panels.size(), "panel") + u'.';
  else
    text = QString::number(ticked) + tr(" of ") + counted(listed, "change") + tr(" ticked") +
           (ticked > 0 ? tr(", in ") + counted(tickedPanels.size(), "panel") : QString()) + u'.';
  if (refused > 0)
    text += u' ' + counted(refused, "change") + tr(" cannot be made (see its line).");
  if (!m_plan.skipped.empty())
    text += u'\n' + tr("Not searched:") + u'\n' + notDoneLines({}, m_plan.skipped);
  m_summary->setText(text);
}

void ReplacePane::fillChanges() {
  const QSignalBlocker quiet(m_changes);
  m_changes->clear();
  QList<QTreeWidgetItem *> items;
  for (const ReplaceChange &c : m_plan.changes) {
    auto *item = new QTreeWidgetItem(QStringList{c.panelName, c.control, c.field, changeText(c)});
    const QString where = c.file.isEmpty() ? tr("not saved yet") : c.file;
    item->setToolTip(0, c.panel ? where : where + tr(" (not open)"));
    if (c.refused.isEmpty()) {
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(0, Qt::Checked);
      item->setToolTip(3, changeText(c));  // long values are cut in the column
    } else {
      // Shown, but it cannot be ticked: the reason says why.
      item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
      item->setCheckState(0, Qt::Unchecked);
      item->setText(3, changeText(c) + QStringLiteral("  (") + c.refused + u')');
      item->setToolTip(3, c.refused);
    }
    items << item;
  }
  m_changes->addTopLevelItems(items);
  for (int column = 0; column < 3; ++column) m_changes->resizeColumnToContents(column);
  updateReplaceButton();
}

void ReplacePane::updateReplaceButton() {
  bool any = false;
  for (int i = 0; i < m_changes->topLevelItemCount() && !any; ++i)
    any = m_changes->topLevelItem(i)->checkState(0) == Qt::Checked;
  m_replace->setEnabled(any && request().find == m_planned.find &&
                        request().field == m_planned.field &&
                        request().replacement == m_planned.replacement);
}

void ReplacePane::replace() {
  std::vector<ReplaceChange> chosen;
  for (size_t i = 0; i < m_plan.changes.size(); ++i)
    if (m_changes->topLevelItem(int(i))->checkState(0) == Qt::Checked)
      chosen.push_back(m_plan.changes[i]);
  if (chosen.empty()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  MainWindowLogic &designer = m_finder.designer();
  const ReplaceOutcome outcome =
      applyReplace(m_planned, chosen, designer.openPanels(), designer.ui());
  QApplication::restoreOverrideCursor();
  m_plan = {};
  fillChanges();
  QString text = tr("Changed ") + counted(outcome.controlCount(), "control") + tr(" in ") +
                 counted(outcome.panelCount(), "file") + u'.';
  if (!outcome.complete())
    text += u'\n' + tr("Not changed:") + u'\n' + notDoneLines(outcome.refused, outcome.failed);
  m_summary->setText(text);
}
