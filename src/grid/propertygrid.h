#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <vector>

#include "grid/gridrows.h"
#include "surface/paneleditor.h"

class ControlRecord;
class DesignObject;
struct EditContext;

// The property grid of the main window: two columns of text (labels and
// values) showing one object of a panel window — the panel itself or a
// control — and the handling of every edit made in it. Row 0 is the header,
// row 1 the kind text; every edit is dispatched by the kind.
//
// The grid remembers the panel window it was last filled from and applies
// edits there; when that window is gone, edits do nothing. Every change an
// edit makes to that panel runs inside one call of afterEdit,
// cellButtonClick or keyDown (a right click reaches cellButtonClick; the
// numbering edits run inside afterEdit), as one step of the row's
// description over the whole selection. Filling only fills in a shown
// control's missing hardware type and internal name, and points a shown
// browser at its address.
class PropertyGrid : public QObject {
  Q_OBJECT
 public:
  explicit PropertyGrid(QObject *parent = nullptr);
  ~PropertyGrid() override;

  // --- the two-column grid
  int rowCount() const { return static_cast<int>(m_cells.size()); }
  void setRows(int rows);
  QString textMatrix(int row, int col) const;
  void setTextMatrix(int row, int col, const QString &text);
  // Empties every cell; the row count stays.
  void clear();
  int Row() const { return m_row; }
  int col() const { return m_col; }
  void setCurrentCell(int row, int col);
  // Column widths in twips (labels 1695, values 1200 at start).
  int colWidth(int col) const { return col == 0 ? m_colWidth[0] : m_colWidth[1]; }
  void setColWidth(int col, int twips);
  // Set by a mouse press on a colour row: the whole value column offers a
  // cell button. Rows whose editor is a cell button offer one regardless.
  bool columnCellButton() const { return m_columnCellButton; }

  // The object kind shown (as setHeaders set it; row 1 holds its text, or a
  // kept control's own type) and what a row offers.
  GridKind kind() const;
  EditKind rowEditKind(int row) const;
  bool isColourRow(int row) const;

  // The panel window the grid was filled from, while it exists.
  PanelEditor *panel() const { return m_panel; }
  // The value of the Name row when the last name edit started.
  const QString &currentName() const { return m_currentName; }

  // --- filling
  // Row count, kind text and labels of a kind ("Main", "Button", "Label",
  // "WebControl", "Meter", "MeterFader", "Clock"). Any other text writes the
  // labels of rows 0-5 only and keeps the row count.
  void setHeaders(const QString &kindName);
  // Shows the canvas or a control of the panel window.
  void setProperties(PanelEditor &panel, DesignObject *object);
  // Live geometry of the control being dragged (rows Width, Height, Top, Left).
  void showGeometryRows(qint32 width, qint32 height, qint32 top, qint32 left);
  // The panel window was resized while the grid shows that panel.
  void showPanelSizeRows(PanelEditor *panel, qint32 width, qint32 height);

  // --- editing
  struct EditStart {
    bool allowed = false;
    QString list;  // drop-down entries separated by "|"; "..." for a cell button; empty: free text
  };
  // Before the editor opens on a cell: refuses read-only cells, picks the
  // editor, remembers the name.
  EditStart startEdit(int row, int col);
  // The drop-down list of the last edit start.
  const QString &comboList() const { return m_comboList; }
  // After an edit: applies the cell text to the shown object and the selection.
  void afterEdit(int row, int col);
  // Key codes: Delete 46, Backspace 8. Acts on the current row.
  void keyDown(int keyCode, int shift);
  // Mouse buttons: left 1, right 2. A right click on a colour row opens the
  // colour dialog for it.
  void mouseDown(int button, int shift, int row);
  // The "..." button of a cell: colour, font, picture or folder.
  void cellButtonClick(int row, int col);

  // --- edits that can number a multiple selection
  void nameEdited(ControlRecord &record);
  void captionEdited(ControlRecord &record);
  void mapPinEdited(ControlRecord &record);

  // The folder browser; empty when cancelled.
  QString askFolder(const QString &title, const QString &startFolder);

  // Collects cell changes while a fill or a dialog writes several cells;
  // one `reset` at the end.
  // Asks a view's open editor to hand in its value now, as leaving it would,
  // before an action changes what the grid shows or saves the panel.
  void commitOpenEdit() { emit commitRequested(); }

  class UpdateBatch {
   public:
    explicit UpdateBatch(PropertyGrid &grid) : m_grid(grid) { ++m_grid.m_batchDepth; }
    ~UpdateBatch() {
      if (--m_grid.m_batchDepth == 0) emit m_grid.reset();
    }
    UpdateBatch(const UpdateBatch &) = delete;
    UpdateBatch &operator=(const UpdateBatch &) = delete;

   private:
    PropertyGrid &m_grid;
  };

 signals:
  // Rows, labels or many cells changed: views re-read everything.
  void reset();
  void cellChanged(int row, int col);
  void currentCellChanged(int row, int col);
  void commitRequested();

 private:
  // Where an edit lands: the object the grid was filled for and its record,
  // while the panel still holds them. A control that was deleted since the
  // fill takes no edits.
  DesignObject *shownObject() const;
  ControlRecord *shownRecord() const;

  // Runs one step of the shown row's description (write, cell button or
  // clear) with its context; a failure is reported as "Error changing the
  // property". Returns the change flags; 0 when the object is gone.
  int runStep(int row, int (*step)(EditContext &));
  // As runStep, then marks the panel changed when the step changed anything.
  void runMarkedStep(int row, int (*step)(EditContext &));

  std::vector<std::array<QString, 2>> m_cells;
  int m_row = 0;
  int m_col = 0;
  std::array<int, 2> m_colWidth{1695, 1200};
  bool m_columnCellButton = false;
  QString m_comboList;
  QString m_currentName;
  QPointer<PanelEditor> m_panel;
  DesignObject *m_shown = nullptr;  // checked against the panel before each use
  int m_batchDepth = 0;
  GridKind m_kind = GridKind::None;  // set by setHeaders, None once cleared
};
