#include "ui/controllistdock.h"

#include <QAbstractTableModel>
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
#include <QTreeView>
#include <QVBoxLayout>
#include <functional>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "model/designcontrol.h"
#include "surface/paneleditor.h"
#include "ui/palettepainter.h"
#include "ui/plaintext.h"

namespace {
// The tool box's picture of a control's kind, small; a kept control of a
// kind this version does not know shows its placeholder.
QIcon kindIcon(const DesignControl &control) {
  std::optional<PaletteItem> item;  // none: an unknown kind
  switch (control.kind()) {
    case ControlKind::Button:
      item = PaletteItem::Button;
      break;
    case ControlKind::Label:
      item = PaletteItem::Label;
      break;
    case ControlKind::WebBrowser:
      item = PaletteItem::WebBrowser;
      break;
    case ControlKind::Meter:
      item = PaletteItem::Meter;
      break;
    case ControlKind::MeterFader:
      item = PaletteItem::MeterFader;
      break;
    case ControlKind::Clock:
      item = PaletteItem::Clock;
      break;
    case ControlKind::Kept:
      if (static_cast<const DesignKept &>(control).type == QLatin1String("CodecControl"))
        item = PaletteItem::CodecControl;
      break;
  }
  static QHash<int, QIcon> icons;
  const int key = item ? int(*item) : -1;
  if (const auto found = icons.constFind(key); found != icons.constEnd()) return *found;
  QIcon icon;
  for (const int side : {16, 32}) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (item)
      paintPaletteIcon(p, pixmap.rect(), *item);
    else
      paintUnknownKindIcon(p, pixmap.rect());
    p.end();
    icon.addPixmap(pixmap);
  }
  icons.insert(key, icon);
  return icon;
}

QString captionOf(const DesignControl &control) {
  if (const auto *button = controlCast<DesignButton>(&control)) return button->caption;
  if (const auto *label = controlCast<DesignLabel>(&control)) return label->text;
  return {};
}

// Why a control cannot be clicked on the canvas, or nothing.
QString unreachable(const DesignControl &c, const PanelModel &model) {
  if (!c.visible) return ControlListDock::tr("Hidden");
  if (c.width <= 0 || c.height <= 0) return ControlListDock::tr("No size");
  // The panel's area is its window's inside.
  if (qint64(c.left) + c.width <= 0 || qint64(c.top) + c.height <= 0 ||
      c.left >= model.width - PanelEditor::kWindowFrameWidth ||
      c.top >= model.height - PanelEditor::kWindowFrameHeight)
    return ControlListDock::tr("Outside the panel");
  return {};
}

}  // namespace

// The rows: the panel's controls front to back, those the filter keeps;
// what a row shows is read from its control when the view asks.
class ControlListModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  void reset(const PanelEditor *panel, const QString &filter) {
    beginResetModel();
    m_panel = panel;
    m_rows.clear();
    m_rowOf.clear();
    if (panel) {
      const auto &order = panel->model().zOrder();
      m_rows.reserve(order.size());
      for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (filter.isEmpty() || matches(**it, filter)) m_rows.push_back(*it);
    }
    endResetModel();
  }
  // Greyed rows and tooltips follow moves and sizes.
  void refreshLooks() {
    if (!m_rows.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, 1));
  }
  DesignControl *controlAt(int row) const {
    return row >= 0 && row < int(m_rows.size()) ? m_rows[size_t(row)] : nullptr;
  }
  int rowOf(const DesignControl *control) const {
    if (m_rowOf.empty() && !m_rows.empty())
      for (size_t i = 0; i < m_rows.size(); ++i) m_rowOf.emplace(m_rows[i], int(i));
    const auto found = m_rowOf.find(control);
    return found == m_rowOf.end() ? -1 : found->second;
  }

  int rowCount(const QModelIndex &parent = {}) const override {
    return parent.isValid() ? 0 : int(m_rows.size());
  }
  int columnCount(const QModelIndex &parent = {}) const override {
    return parent.isValid() ? 0 : 2;
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == 0 ? ControlListDock::tr("Name") : ControlListDock::tr("Caption");
  }
  Qt::ItemFlags flags(const QModelIndex &index) const override {
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled
                           : Qt::ItemIsDropEnabled;
  }
  Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
  QVariant data(const QModelIndex &index, int role) const override {
    const DesignControl *c = controlAt(index.row());
    if (!c || !m_panel) return {};
    switch (role) {
      case Qt::DisplayRole:
        // One line per row: a caption's line breaks show as spaces.
        return index.column() == 0 ? QString(c->tag) : captionOf(*c).left(200).simplified();
      case Qt::DecorationRole:
        return index.column() == 0 ? kindIcon(*c) : QVariant();
      case Qt::ToolTipRole: {
        const QString why = unreachable(*c, m_panel->model());
        return why.isEmpty() ? typeName(*c) : typeName(*c) + QStringLiteral(" — ") + why;
      }
      case Qt::ForegroundRole:
        if (!unreachable(*c, m_panel->model()).isEmpty())
          return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        return {};
    }
    return {};
  }

 private:
  static bool matches(const DesignControl &c, const QString &filter) {
    return c.tag.contains(filter, Qt::CaseInsensitive) ||
           captionOf(c).contains(filter, Qt::CaseInsensitive) ||
           typeName(c).contains(filter, Qt::CaseInsensitive);
  }
  const PanelEditor *m_panel = nullptr;
  std::vector<DesignControl *> m_rows;
  mutable std::unordered_map<const DesignControl *, int> m_rowOf;
};

namespace {
// The list itself: dragging rows reports where they were dropped instead of
// moving the rows, so the panel decides the order (as one undo step).
class StackList : public QTreeView {
 public:
  using QTreeView::QTreeView;
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
    const QModelIndex target = indexAt(event->position().toPoint());
    int row = model()->rowCount();
    if (target.isValid()) {
      row = target.row();
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
  m_model = new ControlListModel(this);
  m_list->setObjectName(QStringLiteral("lstControls"));
  m_list->setItemDelegate(new PlainTextDelegate(m_list));
  m_list->setModel(m_model);
  m_list->setRootIsDecorated(false);
  m_list->setUniformRowHeights(true);
  m_list->setAllColumnsShowFocus(true);
  m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_list->setDragDropMode(QAbstractItemView::InternalMove);
  m_list->setDropIndicatorShown(true);
  m_list->header()->setStretchLastSection(true);
  m_list->header()->resizeSection(0, 150);
  m_list->setToolTip(tr("Front to back. Drag rows to change the stacking order."));
  layout->addWidget(m_list, 1);
  setWidget(box);

  list->dropped = [this](int row) { moveSelectedTo(row); };
  connect(m_filter, &QLineEdit::textChanged, this, &ControlListDock::refill);
  connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &ControlListDock::takeSelection);
  // A plain click on the one selected row may change no row, yet selects
  // that control alone when the filter hides others that are selected.
  connect(m_list, &QAbstractItemView::pressed, this, &ControlListDock::takeSelection);
  m_geometryRefill.setSingleShot(true);
  m_geometryRefill.setInterval(200);
  connect(&m_geometryRefill, &QTimer::timeout, m_model, &ControlListModel::refreshLooks);
}

ControlListDock::~ControlListDock() = default;

void ControlListDock::setPanel(PanelEditor *panel) {
  if (panel == m_panel) return;
  if (m_panel) disconnect(m_panel, nullptr, this, nullptr);
  m_panel = panel;
  if (panel) {
    connect(panel, &PanelEditor::changed, this, [this](int flags) {
      if (flags & (PanelEditor::Structure | PanelEditor::Order | PanelEditor::Properties))
        refill();
      else if (flags & PanelEditor::Geometry)
        m_geometryRefill.start();
      if (flags & PanelEditor::Selection) showSelection();
    });
    connect(panel, &QObject::destroyed, this, [this] { refill(); });
  }
  refill();
}

int ControlListDock::rowCount() const { return m_model->rowCount(); }

DesignControl *ControlListDock::controlAt(int row) const { return m_model->controlAt(row); }

QModelIndex ControlListDock::indexOf(const DesignControl *control) const {
  const int row = m_model->rowOf(control);
  return row < 0 ? QModelIndex() : m_model->index(row, 0);
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
  m_model->reset(m_panel, m_filter->text().trimmed());
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
  for (const DesignControl *c : m_panel->selectedControls())
    if (const int row = m_model->rowOf(c); row >= 0) rows.push_back(row);
  std::sort(rows.begin(), rows.end());
  QItemSelection selection;
  for (size_t i = 0; i < rows.size();) {
    size_t j = i;
    while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1) ++j;
    selection.select(m_model->index(rows[i], 0), m_model->index(rows[j], 1));
    i = j + 1;
  }
  m_list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  const auto *current = dynamic_cast<const DesignControl *>(m_panel->currentControl());
  if (const QModelIndex index = indexOf(current); index.isValid()) {
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    m_list->scrollTo(index);
  }
  m_syncing = false;
}

void ControlListDock::takeSelection() {
  if (m_syncing || !m_panel) return;
  std::vector<DesignControl *> chosen;
  // With Ctrl or Shift, selected controls the filter hides stay selected.
  if (QGuiApplication::keyboardModifiers() & (Qt::ControlModifier | Qt::ShiftModifier))
    for (DesignControl *c : m_panel->selectedControls())
      if (m_model->rowOf(c) < 0) chosen.push_back(c);
  QModelIndexList rows = m_list->selectionModel()->selectedRows();
  std::sort(rows.begin(), rows.end());
  for (const QModelIndex &index : rows) chosen.push_back(m_model->controlAt(index.row()));
  m_syncing = true;
  m_panel->selectControls(chosen,
                          m_model->controlAt(m_list->selectionModel()->currentIndex().row()));
  m_syncing = false;
  if (!chosen.empty()) emit controlsPicked();
}

void ControlListDock::moveSelectedTo(int row) {
  if (!m_panel) return;
  std::vector<DesignControl *> moving;
  for (const QModelIndex &index : m_list->selectionModel()->selectedRows())
    moving.push_back(m_model->controlAt(index.row()));
  if (moving.empty()) return;
  // Rows run front to back. The block goes in front of the first control
  // at or below the row that does not move, or else behind the last one
  // above it that does not move.
  const std::unordered_set<const DesignControl *> movingSet(moving.begin(), moving.end());
  auto isMoving = [&](const DesignControl *c) { return movingSet.count(c) > 0; };
  std::vector<DesignControl *> others;
  for (DesignControl *c : m_panel->model().zOrder())
    if (!isMoving(c)) others.push_back(c);
  auto placeOf = [&](const DesignControl *c) {
    return size_t(std::find(others.begin(), others.end(), c) - others.begin());
  };
  const int count = m_model->rowCount();
  for (int r = std::max(row, 0); r < count; ++r)
    if (DesignControl *c = m_model->controlAt(r); !isMoving(c)) {
      m_panel->moveInStack(moving, placeOf(c) + 1);
      return;
    }
  for (int r = std::min(row, count) - 1; r >= 0; --r)
    if (DesignControl *c = m_model->controlAt(r); !isMoving(c)) {
      m_panel->moveInStack(moving, placeOf(c));
      return;
    }
}
