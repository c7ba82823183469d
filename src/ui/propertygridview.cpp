#include "ui/propertygridview.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "grid/propertygrid.h"
#include "model/colors.h"
#include "ui/paintsupport.h"
#include "ui/qtconvert.h"

namespace {

constexpr int kKeyBackspace = 8;
constexpr int kKeyDelete = 46;
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;

// Set on a line edit when Enter confirmed it: the value is applied even
// unchanged, so that it reaches every selected control.
constexpr const char *kConfirmed = "tessaryConfirmed";
// Set on a drop-down when an entry was chosen.
constexpr const char *kChosen = "tessaryChosen";
// The grid row an editor edits.
constexpr const char *kGridRow = "tessaryGridRow";

bool isClearKey(int key) { return key == Qt::Key_Delete || key == Qt::Key_Backspace; }

int shiftState(Qt::KeyboardModifiers modifiers) {
  int shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= 1;
  if (modifiers & Qt::ControlModifier) shift |= 2;
  if (modifiers & Qt::AltModifier) shift |= 4;
  return shift;
}

// A drop-down row's editor. Typing searches the list and the arrow keys step
// through it without applying anything; the choice is applied once, on
// Enter or when the editor closes. A pick from the open list applies at once.
class GridComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;
  bool keyed() const { return m_keyed; }

 protected:
  void keyPressEvent(QKeyEvent *event) override {
    m_keyed = true;
    QComboBox::keyPressEvent(event);
    m_keyed = false;
  }

 private:
  bool m_keyed = false;
};

QIcon dotsIcon(const QWidget *widget) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(widget->palette().color(QPalette::ButtonText));
  painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("..."));
  return QIcon(pixmap);
}

}  // namespace

// --- item model

PropertyGridItemModel::PropertyGridItemModel(PropertyGrid &grid, QObject *parent)
    : QAbstractTableModel(parent), m_grid(grid) {
  connect(&grid, &PropertyGrid::reset, this, &PropertyGridItemModel::onReset);
  connect(&grid, &PropertyGrid::cellChanged, this, &PropertyGridItemModel::onCellChanged);
}

int PropertyGridItemModel::rowCount(const QModelIndex &parent) const {
  // Nothing is shown until the grid has been filled for an object.
  if (parent.isValid() || m_grid.textMatrix(1, 1).isEmpty()) return 0;
  return std::max(0, m_grid.rowCount() - 1);
}

int PropertyGridItemModel::columnCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : 2;
}

QVariant PropertyGridItemModel::data(const QModelIndex &index, int role) const {
  if (!index.isValid()) return {};
  const int row = gridRow(index);
  const int col = index.column();
  const QString text = m_grid.textMatrix(row, col);
  const bool readOnly = col == 1 && m_grid.rowEditKind(row) == EditKind::ReadOnly;
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return text;
    case Qt::ToolTipRole:
      return text.isEmpty() ? QVariant() : QVariant(text);
    case Qt::DecorationRole:
      if (col == 1 && !text.isEmpty() && m_grid.isColourRow(row))
        return colorFromValue(colorValue(text));
      return {};
    case Qt::ForegroundRole:
      if (readOnly) return QApplication::palette().color(QPalette::Disabled, QPalette::Text);
      return {};
    case Qt::BackgroundRole:
      if (readOnly) return QApplication::palette().color(QPalette::Window);
      return {};
  }
  return {};
}

QVariant PropertyGridItemModel::headerData(int section, Qt::Orientation orientation,
                                           int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section > 1)
    return QAbstractTableModel::headerData(section, orientation, role);
  const QString text = m_grid.textMatrix(0, section);
  if (!text.isEmpty()) return text;
  return section == 0 ? tr("Property Name") : tr("Property Value");
}

Qt::ItemFlags PropertyGridItemModel::flags(const QModelIndex &index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == 1 && m_grid.rowEditKind(gridRow(index)) != EditKind::ReadOnly)
    f |= Qt::ItemIsEditable;
  return f;
}

bool PropertyGridItemModel::setData(const QModelIndex &index, const QVariant &value, int role) {
  if (!index.isValid() || index.column() != 1 || role != Qt::EditRole) return false;
  const int row = gridRow(index);
  m_grid.setTextMatrix(row, 1, value.toString());
  m_grid.afterEdit(row, 1);
  return true;
}

bool PropertyGridItemModel::hasCellButton(const QModelIndex &index) const {
  if (!index.isValid() || index.column() != 1) return false;
  const EditKind kind = m_grid.rowEditKind(gridRow(index));
  return kind == EditKind::CellButton || kind == EditKind::Colour;
}

bool PropertyGridItemModel::isCellButtonKey(const QKeyEvent &event) {
  return event.key() == Qt::Key_F4 ||
         (event.key() == Qt::Key_Down && event.modifiers().testFlag(Qt::AltModifier));
}

void PropertyGridItemModel::clickCellButton(int gridRow) {
  m_grid.setCurrentCell(gridRow, 1);
  m_grid.cellButtonClick(gridRow, 1);
}

bool PropertyGridItemModel::pressClearKey(int gridRow, const QKeyEvent &event) {
  if (!isClearKey(event.key()) || m_grid.rowEditKind(gridRow) != EditKind::CellButton) return false;
  m_grid.setCurrentCell(gridRow, 1);
  m_grid.keyDown(event.key() == Qt::Key_Delete ? kKeyDelete : kKeyBackspace,
                 shiftState(event.modifiers()));
  return true;
}

void PropertyGridItemModel::onCellChanged(int row, int col) {
  if (row == 0) {
    emit headerDataChanged(Qt::Horizontal, col, col);
    return;
  }
  const QModelIndex changed = index(row - 1, col);
  emit dataChanged(changed, changed);
}

void PropertyGridItemModel::onReset() {
  beginResetModel();
  endResetModel();
}

// --- delegate

PropertyGridDelegate::PropertyGridDelegate(PropertyGridItemModel &model, QObject *parent)
    : PlainTextDelegate(parent), m_model(model) {}

QWidget *PropertyGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                            const QModelIndex &index) const {
  if (index.column() != 1) return nullptr;
  PropertyGrid &grid = m_model.grid();
  const int row = PropertyGridItemModel::gridRow(index);
  const PropertyGrid::EditStart start = grid.startEdit(row, 1);
  if (!start.allowed) return nullptr;
  auto *self = const_cast<PropertyGridDelegate *>(this);

  if (!start.list.isEmpty() && start.list != u"...") {
    auto *combo = new GridComboBox(parent);
    combo->addItems(start.list.split(u'|'));
    combo->setFrame(false);
    connect(combo, &QComboBox::activated, self, [self, combo] {
      combo->setProperty(kChosen, true);
      if (combo->keyed()) return;
      emit self->commitData(combo);
      emit self->closeEditor(combo);
    });
    return combo;
  }

  auto *line = new QLineEdit(parent);
  line->setFrame(false);
  line->setProperty(kGridRow, row);
  const bool buttonOnly = start.list == u"...";
  // A line edit holds 32767 characters and cuts the rest: a longer value
  // (from a file) is shown, never written back cut.
  line->setReadOnly(buttonOnly || index.data(Qt::EditRole).toString().size() > line->maxLength());
  if (buttonOnly || grid.rowEditKind(row) == EditKind::Colour) {
    QAction *action = line->addAction(dotsIcon(line), QLineEdit::TrailingPosition);
    action->setToolTip(tr("Choose..."));
    connect(action, &QAction::triggered, self,
            [self, line, row] { self->runCellButton(line, row); });
  }
  return line;
}

bool PropertyGridDelegate::eventFilter(QObject *object, QEvent *event) {
  if (event->type() == QEvent::KeyPress) {
    const auto &keyEvent = *static_cast<QKeyEvent *>(event);
    const int key = keyEvent.key();
    auto *line = qobject_cast<QLineEdit *>(object);
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (line && enter) line->setProperty(kConfirmed, true);
    // Enter applies the entry shown, as on a line edit, even if unchanged.
    if (enter && qobject_cast<QComboBox *>(object)) object->setProperty(kChosen, true);
    // F4 and Alt+Down open the row's dialog as they drop down a combo box.
    if (line && !line->actions().isEmpty() && PropertyGridItemModel::isCellButtonKey(keyEvent)) {
      runCellButton(line, line->property(kGridRow).toInt());
      return true;
    }
    // A row that only changes through its dialog has nothing to type into:
    // Delete and Backspace clear it as they do with no editor open.
    if (line && line->isReadOnly() && isClearKey(key)) {
      const int row = line->property(kGridRow).toInt();
      emit closeEditor(line, QAbstractItemDelegate::NoHint);
      m_model.pressClearKey(row, keyEvent);
      return true;
    }
  }
  return PlainTextDelegate::eventFilter(object, event);
}

void PropertyGridDelegate::runCellButton(QWidget *editor, int gridRow) const {
  auto *self = const_cast<PropertyGridDelegate *>(this);
  emit self->closeEditor(editor, QAbstractItemDelegate::NoHint);
  // The dialog runs once the editor is gone.
  QTimer::singleShot(0, &m_model, [model = &m_model, gridRow] { model->clickCellButton(gridRow); });
}

void PropertyGridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const {
  const QString text = index.data(Qt::EditRole).toString();
  if (auto *combo = qobject_cast<QComboBox *>(editor)) {
    combo->setCurrentIndex(combo->findText(text));
  } else if (auto *line = qobject_cast<QLineEdit *>(editor)) {
    line->setText(text);
    line->selectAll();
  }
}

void PropertyGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                        const QModelIndex &index) const {
  // Only a real edit is applied: passing over a cell must not copy its value
  // to every selected control.
  if (auto *combo = qobject_cast<QComboBox *>(editor)) {
    if (combo->property(kChosen).toBool() && combo->currentIndex() >= 0)
      model->setData(index, combo->currentText());
  } else if (auto *line = qobject_cast<QLineEdit *>(editor)) {
    if (!line->isReadOnly() && (line->isModified() || line->property(kConfirmed).toBool()))
      model->setData(index, line->text());
  }
}

void PropertyGridDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                                const QModelIndex &) const {
  editor->setGeometry(option.rect);
}

QRect PropertyGridDelegate::buttonRect(const QRect &cell) {
  const int width = std::min(22, cell.width() / 3);
  return QRect(cell.right() - width + 1, cell.top() + 1, width, cell.height() - 2);
}

void PropertyGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const {
  if (!m_model.hasCellButton(index)) {
    PlainTextDelegate::paint(painter, option, index);
    return;
  }
  const QRect button = buttonRect(option.rect);
  QStyleOptionViewItem textOption(option);
  textOption.rect.setRight(button.left() - 1);
  PlainTextDelegate::paint(painter, textOption, index);

  QStyleOptionButton dots;
  dots.rect = button;
  dots.text = QStringLiteral("...");
  dots.state = QStyle::State_Enabled | QStyle::State_Raised;
  const QWidget *widget = option.widget;
  QStyle *style = widget ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_PushButton, &dots, painter, widget);
}

QSize PropertyGridDelegate::sizeHint(const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const {
  QSize size = PlainTextDelegate::sizeHint(option, index);
  size.setHeight(std::max(size.height(), option.fontMetrics.height() + 8));
  return size;
}

// --- view

PropertyGridView::PropertyGridView(PropertyGrid &grid, QWidget *parent)
    : QTableView(parent), m_model(grid), m_delegate(m_model) {
  setObjectName(QStringLiteral("PropertyGrid"));
  connect(&grid, &PropertyGrid::commitRequested, this, &PropertyGridView::commitOpenEditor);
  setModel(&m_model);
  setItemDelegate(&m_delegate);
  setAlternatingRowColors(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  // Moving the current cell opens no editor, so the arrow keys only move
  // between rows; a click on a value, F2, Enter or typing opens one.
  setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  horizontalHeader()->setStretchLastSection(true);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setSectionsClickable(false);
  applyColumnWidths();
  connect(&grid, &PropertyGrid::currentCellChanged, this, &PropertyGridView::followGridCurrentCell);
}

void PropertyGridView::applyColumnWidths() {
  // At least the designed width, and wide enough for the longest label.
  const int longestLabel =
      fontMetrics().horizontalAdvance(QStringLiteral("HardwareMapInternalName"));
  setColumnWidth(0, qMax(qRound(twipsToPixels(grid().colWidth(0))), longestLabel + 12));
  horizontalHeader()->setMinimumSectionSize(qRound(twipsToPixels(grid().colWidth(1))) / 2);
}

void PropertyGridView::mousePressEvent(QMouseEvent *event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  const int shift = shiftState(event->modifiers());
  if (index.isValid()) {
    const int row = PropertyGridItemModel::gridRow(index);
    if (event->button() == Qt::RightButton) {
      setFocus(Qt::MouseFocusReason);  // an open editor applies its text first
      grid().mouseDown(kRightButton, shift, row);
      event->accept();
      return;
    }
    if (event->button() == Qt::LeftButton) {
      grid().mouseDown(kLeftButton, shift, row);
      if (m_model.hasCellButton(index) && PropertyGridDelegate::buttonRect(visualRect(index))
                                              .contains(event->position().toPoint())) {
        setFocus(Qt::MouseFocusReason);
        m_model.clickCellButton(row);
        event->accept();
        return;
      }
    }
  }
  QTableView::mousePressEvent(event);
  if (event->button() == Qt::LeftButton && index.isValid() && index.column() == 1 &&
      state() != QAbstractItemView::EditingState)
    edit(index);
}

void PropertyGridView::keyPressEvent(QKeyEvent *event) {
  const QModelIndex current = currentIndex();
  if (state() != QAbstractItemView::EditingState && current.isValid()) {
    if (m_model.pressClearKey(PropertyGridItemModel::gridRow(current), *event)) {
      event->accept();
      return;
    }
    // F4 and Alt+Down open the "..." dialog of the row as they drop down a
    // combo box; so does Enter on a row whose value only that dialog sets.
    const int key = event->key();
    const QModelIndex value = current.siblingAtColumn(1);
    const int row = PropertyGridItemModel::gridRow(current);
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (m_model.hasCellButton(value) &&
        (PropertyGridItemModel::isCellButtonKey(*event) ||
         (enter && grid().rowEditKind(row) == EditKind::CellButton))) {
      setCurrentIndex(value);
      m_model.clickCellButton(row);
      event->accept();
      return;
    }
    // Enter and F2 edit the value of the current row, from either column.
    if (enter || key == Qt::Key_F2) {
      if (value.flags() & Qt::ItemIsEditable) {
        setCurrentIndex(value);
        edit(value);
      }
      event->accept();
      return;
    }
  }
  QTableView::keyPressEvent(event);
}

void PropertyGridView::currentChanged(const QModelIndex &current, const QModelIndex &previous) {
  QTableView::currentChanged(current, previous);
  if (!m_syncingCurrent && current.isValid())
    grid().setCurrentCell(PropertyGridItemModel::gridRow(current), current.column());
}

void PropertyGridView::followGridCurrentCell(int row, int col) {
  const QModelIndex target = m_model.index(row - 1, col);
  if (!target.isValid() || target == currentIndex()) return;
  m_syncingCurrent = true;
  setCurrentIndex(target);
  m_syncingCurrent = false;
}

void PropertyGridView::commitOpenEditor() {
  if (state() != QAbstractItemView::EditingState) return;
  QWidget *editor = indexWidget(currentIndex());
  if (!editor) return;
  commitData(editor);
  closeEditor(editor, QAbstractItemDelegate::NoHint);
}
