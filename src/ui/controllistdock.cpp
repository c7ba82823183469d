#include "ui/controllistdock.h"

#include <QDrag>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelection>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <functional>
#include <unordered_set>

#include "model/designcontrol.h"
#include "surface/frmpanel.h"
#include "ui/palettepainter.h"

namespace {
// The tool box's picture of each kind, small.
QIcon kindIcon(ControlKind kind) {
  static QHash<int, QIcon> icons;
  if (const auto found = icons.constFind(int(kind)); found != icons.constEnd()) return *found;
  static const QHash<int, PaletteItem> items = {
      {int(ControlKind::Button), PaletteItem::Button},
      {int(ControlKind::Label), PaletteItem::Label},
      {int(ControlKind::WebBrowser), PaletteItem::WebBrowser},
      {int(ControlKind::Meter), PaletteItem::Meter},
      {int(ControlKind::MeterFader), PaletteItem::MeterFader},
      {int(ControlKind::Clock), PaletteItem::Clock}};
  QIcon icon;
  for (const int side : {16, 32}) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    PaintPaletteIcon(p, pixmap.rect(), items.value(int(kind), PaletteItem::CodecControl));
    p.end();
    icon.addPixmap(pixmap);
  }
  icons.insert(int(kind), icon);
  return icon;
}

QString captionOf(const DesignControl &control) {
  if (const auto *button = As<DesignButton>(&control)) return button->Caption;
  if (const auto *label = As<DesignLabel>(&control)) return label->Text;
  return {};
}

// Why a control cannot be clicked on the canvas, or nothing.
QString unreachable(const DesignControl &c, const PanelModel &model) {
  if (!c.Visible) return ControlListDock::tr("Hidden");
  if (c.Width <= 0 || c.Height <= 0) return ControlListDock::tr("No size");
  // The panel's area is its window's inside.
  if (qint64(c.Left) + c.Width <= 0 || qint64(c.Top) + c.Height <= 0 ||
      c.Left >= model.Width - frmPanel::kWindowFrameWidth ||
      c.Top >= model.Height - frmPanel::kWindowFrameHeight)
    return ControlListDock::tr("Outside the panel");
  return {};
}

// The list itself: dragging rows reports where they were dropped instead of
// moving the rows, so the panel decides the order (as one undo step).
class StackList : public QTreeWidget {
 public:
  using QTreeWidget::QTreeWidget;
  std::function<void(int row)> dropped;

 protected:
  void startDrag(Qt::DropActions) override {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty()) return;
    auto *drag = new QDrag(this);
    drag->setMimeData(model()->mimeData(rows));
    drag->exec(Qt::MoveAction);
  }
  void dropEvent(QDropEvent *event) override {
    if (event->source() != this) {
      event->ignore();
      return;
    }
    QTreeWidgetItem *target = itemAt(event->position().toPoint());
    int row = topLevelItemCount();
    if (target) {
      row = indexOfTopLevelItem(target);
      if (dropIndicatorPosition() == BelowItem) ++row;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
    // After the drag has ended: the rows are rebuilt.
    QMetaObject::invokeMethod(
        this, [this, row] { dropped(row); }, Qt::QueuedConnection);
  }
};
}  // namespace

ControlListDock::ControlListDock(QWidget *parent) : QDockWidget(tr("Control List"), parent) {
  setObjectName(QStringLiteral("controlListDock"));
  auto *box = new QWidget(this);
  auto *layout = new QVBoxLayout(box);
  layout->setContentsMargins(4, 4, 4, 4);
  m_filter = new QLineEdit(box);
  m_filter->setObjectName(QStringLiteral("txtControlFilter"));
  m_filter->setPlaceholderText(tr("Filter by name, caption or kind"));
  m_filter->setClearButtonEnabled(true);
  layout->addWidget(m_filter);

  auto *list = new StackList(box);
  m_list = list;
  m_list->setObjectName(QStringLiteral("lstControls"));
  m_list->setHeaderLabels({tr("Name"), tr("Caption")});
  m_list->setRootIsDecorated(false);
  m_list->setUniformRowHeights(true);
  m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_list->setDragDropMode(QAbstractItemView::InternalMove);
  m_list->setDropIndicatorShown(true);
  m_list->header()->setStretchLastSection(true);
  m_list->setToolTip(tr("Front to back. Drag rows to change the stacking order."));
  layout->addWidget(m_list, 1);
  setWidget(box);

  list->dropped = [this](int row) { moveSelectedTo(row); };
  connect(m_filter, &QLineEdit::textChanged, this, &ControlListDock::refill);
  connect(m_list, &QTreeWidget::itemSelectionChanged, this, &ControlListDock::takeSelection);
  // A plain click on the one selected row may change no row, yet selects
  // that control alone when the filter hides others that are selected.
  connect(m_list, &QTreeWidget::itemPressed, this, &ControlListDock::takeSelection);
  m_geometryRefill.setSingleShot(true);
  m_geometryRefill.setInterval(200);
  connect(&m_geometryRefill, &QTimer::timeout, this, &ControlListDock::refill);
}

void ControlListDock::setPanel(frmPanel *panel) {
  if (panel == m_panel) return;
  if (m_panel) disconnect(m_panel, nullptr, this, nullptr);
  m_panel = panel;
  if (panel) {
    connect(panel, &frmPanel::changed, this, [this](int flags) {
      if (flags & (frmPanel::Structure | frmPanel::Order | frmPanel::Properties))
        refill();
      else if (flags & frmPanel::Geometry)
        m_geometryRefill.start();
      if (flags & frmPanel::Selection) showSelection();
    });
    connect(panel, &QObject::destroyed, this, [this] { refill(); });
  }
  refill();
}

DesignControl *ControlListDock::controlOf(const QTreeWidgetItem *item) const {
  return item ? static_cast<DesignControl *>(item->data(0, Qt::UserRole).value<void *>()) : nullptr;
}

QTreeWidgetItem *ControlListDock::itemOf(const DesignControl *control) const {
  return m_items.value(control);
}

void ControlListDock::showEvent(QShowEvent *event) {
  QDockWidget::showEvent(event);
  if (m_stale) refill();
}

void ControlListDock::refill() {
  m_geometryRefill.stop();
  if (!isVisible()) {
    m_stale = true;
    return;
  }
  m_stale = false;
  const int scrolled = m_list->verticalScrollBar()->value();
  m_syncing = true;
  m_list->clear();
  m_items.clear();
  if (m_panel) {
    const PanelModel &model = m_panel->model();
    const QString filter = m_filter->text().trimmed();
    const auto &order = model.ZOrder();
    QList<QTreeWidgetItem *> items;
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
      DesignControl *c = *it;
      const QString caption = captionOf(*c);
      const QString kind = TypeName(*c);
      if (!filter.isEmpty() && !c->Tag.contains(filter, Qt::CaseInsensitive) &&
          !caption.contains(filter, Qt::CaseInsensitive) &&
          !kind.contains(filter, Qt::CaseInsensitive))
        continue;
      // One line per row: a caption's line breaks show as spaces.
      auto *item = new QTreeWidgetItem(QStringList{c->Tag, caption.left(200).simplified()});
      item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled);
      item->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void *>(c)));
      item->setIcon(0, kindIcon(c->kind()));
      const QString why = unreachable(*c, model);
      item->setToolTip(0, why.isEmpty() ? kind : kind + QStringLiteral(" — ") + why);
      if (!why.isEmpty())
        for (int column = 0; column < 2; ++column)
          item->setForeground(column, palette().brush(QPalette::Disabled, QPalette::Text));
      m_items.insert(c, item);
      items << item;
    }
    m_list->addTopLevelItems(items);
  }
  m_list->resizeColumnToContents(0);
  m_list->verticalScrollBar()->setValue(scrolled);
  m_syncing = false;
  showSelection();
}

void ControlListDock::showSelection() {
  // While the list hands its own selection over, the rows already show it.
  if (m_stale || !m_panel || m_syncing) return;
  m_syncing = true;
  // One selection of row ranges: Select All on thousands of controls stays quick.
  std::vector<int> rows;
  for (const DesignControl *c : m_panel->collSelectedControls)
    if (QTreeWidgetItem *item = m_items.value(c)) rows.push_back(m_list->indexOfTopLevelItem(item));
  std::sort(rows.begin(), rows.end());
  QItemSelection selection;
  QAbstractItemModel *model = m_list->model();
  for (size_t i = 0; i < rows.size();) {
    size_t j = i;
    while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1) ++j;
    selection.select(model->index(rows[i], 0), model->index(rows[j], 1));
    i = j + 1;
  }
  m_list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  const auto *current = dynamic_cast<const DesignControl *>(m_panel->objCurrentControl);
  if (QTreeWidgetItem *item = m_items.value(current)) {
    m_list->selectionModel()->setCurrentIndex(m_list->indexFromItem(item),
                                              QItemSelectionModel::NoUpdate);
    m_list->scrollToItem(item);
  }
  m_syncing = false;
}

void ControlListDock::takeSelection() {
  if (m_syncing || !m_panel) return;
  std::vector<DesignControl *> chosen;
  // With Ctrl or Shift, selected controls the filter hides stay selected.
  if (QGuiApplication::keyboardModifiers() & (Qt::ControlModifier | Qt::ShiftModifier))
    for (DesignControl *c : m_panel->collSelectedControls)
      if (!m_items.contains(c)) chosen.push_back(c);
  for (int row = 0; row < m_list->topLevelItemCount(); ++row)
    if (QTreeWidgetItem *item = m_list->topLevelItem(row); item->isSelected())
      chosen.push_back(controlOf(item));
  m_syncing = true;
  m_panel->SelectControls(chosen, controlOf(m_list->currentItem()));
  m_syncing = false;
  if (!chosen.empty()) emit controlsPicked();
}

void ControlListDock::moveSelectedTo(int row) {
  if (!m_panel) return;
  std::vector<DesignControl *> moving;
  for (QTreeWidgetItem *item : m_list->selectedItems()) moving.push_back(controlOf(item));
  if (moving.empty()) return;
  // Rows run front to back. The block goes in front of the first control
  // at or below the row that does not move, or else behind the last one
  // above it that does not move.
  const std::unordered_set<const DesignControl *> movingSet(moving.begin(), moving.end());
  auto isMoving = [&](const DesignControl *c) { return movingSet.count(c) > 0; };
  std::vector<DesignControl *> others;
  for (DesignControl *c : m_panel->model().ZOrder())
    if (!isMoving(c)) others.push_back(c);
  auto placeOf = [&](const DesignControl *c) {
    return size_t(std::find(others.begin(), others.end(), c) - others.begin());
  };
  const int count = m_list->topLevelItemCount();
  for (int r = std::max(row, 0); r < count; ++r)
    if (DesignControl *c = controlOf(m_list->topLevelItem(r)); !isMoving(c)) {
      m_panel->MoveInStack(moving, placeOf(c) + 1);
      return;
    }
  for (int r = std::min(row, count) - 1; r >= 0; --r)
    if (DesignControl *c = controlOf(m_list->topLevelItem(r)); !isMoving(c)) {
      m_panel->MoveInStack(moving, placeOf(c));
      return;
    }
}
