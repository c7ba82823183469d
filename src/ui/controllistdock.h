#pragma once

#include <QDockWidget>
#include <QPointer>
#include <QTimer>
#include <vector>

#include "surface/paneleditor.h"

class ControlListModel;
class DesignControl;
class QLineEdit;
class QModelIndex;
class QTreeView;

// View > Control List: the controls of the active panel in stacking order,
// the one drawn in front of all others at the top, each with its kind's
// icon, name and caption. Selecting rows selects the controls on the canvas
// and the other way round; a filter keeps the rows whose name, caption or
// kind holds its text; dragging rows changes the stacking order (one undo
// step). Hidden, zero-sized and off-canvas controls show greyed, and are
// selected here like any other. Rows are drawn from the panel on demand, so
// a panel of thousands of controls lists at once.
class ControlListDock : public QDockWidget {
  Q_OBJECT
 public:
  explicit ControlListDock(QWidget *parent = nullptr);
  ~ControlListDock() override;

  // The panel whose controls are listed (the active one); null for none.
  void setPanel(PanelEditor *panel);
  PanelEditor *panel() const { return m_panel; }

  QLineEdit *filterBox() const { return m_filter; }
  QTreeView *list() const { return m_list; }
  int rowCount() const;
  // The control a row shows, and the row (column 0) of a control: invalid
  // when it is filtered out or not listed.
  DesignControl *controlAt(int row) const;
  QModelIndex indexOf(const DesignControl *control) const;
  // Moves the selected rows' controls to stand above the row `row` shows
  // (a row count puts them below the last row), as a drag there does.
  void moveSelectedTo(int row);

 signals:
  // The user selected controls here: the canvas should bring the current one into view.
  void controlsPicked();

 protected:
  void showEvent(QShowEvent *event) override;

 private:
  void refill();
  void showSelection();
  void takeSelection();

  QPointer<PanelEditor> m_panel;
  QLineEdit *m_filter = nullptr;
  QTreeView *m_list = nullptr;
  ControlListModel *m_model = nullptr;
  QTimer m_geometryRefill;  // a drag changes geometry often: greyed rows follow once it rests
  bool m_syncing = false;   // the list follows the panel: its changes are not the user's
  bool m_stale = true;      // refill when next shown
};
