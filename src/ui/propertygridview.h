#pragma once

#include <QAbstractTableModel>
#include <QTableView>

#include "ui/plaintext.h"

class PropertyGrid;
class QKeyEvent;

// The property grid's rows as a Qt item model: table row r is grid row r + 1;
// grid row 0 gives the header texts. Committing a value writes the cell and
// runs the grid's after-edit step.
class PropertyGridItemModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit PropertyGridItemModel(PropertyGrid &grid, QObject *parent = nullptr);

  PropertyGrid &grid() const { return m_grid; }
  static int gridRow(const QModelIndex &index) { return index.row() + 1; }

  int rowCount(const QModelIndex &parent = QModelIndex()) const override;
  int columnCount(const QModelIndex &parent = QModelIndex()) const override;
  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex &index) const override;
  bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

  // The row offers a "..." button (colours, fonts, pictures, folders).
  bool hasCellButton(const QModelIndex &index) const;
  // Delete or Backspace on a row that only changes through its dialog: the
  // grid clears it (pictures, the default graphics folder). False for other
  // keys and rows, which the key does not concern.
  bool pressClearKey(int gridRow, const QKeyEvent &event);
  // F4 or Alt+Down: the keys that open a row's "..." dialog.
  static bool isCellButtonKey(const QKeyEvent &event);
  // Runs the "..." dialog of the row (colour, picture, font, folder).
  void clickCellButton(int gridRow);

 private:
  void onCellChanged(int row, int col);
  void onReset();

  PropertyGrid &m_grid;
};

// Editors of the value column: a line edit for typing (with a "..." action
// where the row has a dialog), a drop-down for lists, a read-only line with
// "..." for rows that only change through their dialog.
class PropertyGridDelegate : public PlainTextDelegate {
  Q_OBJECT
 public:
  explicit PropertyGridDelegate(PropertyGridItemModel &model, QObject *parent = nullptr);

  QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                        const QModelIndex &index) const override;
  void setEditorData(QWidget *editor, const QModelIndex &index) const override;
  void setModelData(QWidget *editor, QAbstractItemModel *model,
                    const QModelIndex &index) const override;
  void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const override;
  void paint(QPainter *painter, const QStyleOptionViewItem &option,
             const QModelIndex &index) const override;
  QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

  // Where the "..." button of a cell is drawn.
  static QRect buttonRect(const QRect &cell);

 protected:
  bool eventFilter(QObject *object, QEvent *event) override;

 private:
  void runCellButton(QWidget *editor, int gridRow) const;

  PropertyGridItemModel &m_model;
};

// The grid as the main window shows it: "Property Name" and "Property Value"
// columns, alternating rows, read-only rows greyed, a colour swatch beside
// colour texts. The arrow keys move between rows without opening editors; a
// click on a value, F2, Enter or typing opens its editor, and Enter or
// leaving the cell applies it. A right click on a colour row opens the
// colour dialog; Delete clears picture and folder rows.
class PropertyGridView : public QTableView {
  Q_OBJECT
 public:
  explicit PropertyGridView(PropertyGrid &grid, QWidget *parent = nullptr);

  PropertyGrid &grid() const { return m_model.grid(); }
  // Applies the value of an open editor, as leaving it does, and closes it.
  void commitOpenEditor();

 protected:
  void mousePressEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

 private:
  void followGridCurrentCell(int row, int col);
  void applyColumnWidths();

  PropertyGridItemModel m_model;
  PropertyGridDelegate m_delegate;
  bool m_syncingCurrent = false;
};
