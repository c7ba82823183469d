// The grid's edit entry points: edit start, after edit, cell buttons, keys
// and mouse. Each change to the panel runs through one of them, as one step
// of the row's description applied over the selection.

#include "grid/gridsupport.h"
#include "grid/propertygrid.h"
#include "model/uiservice.h"
#include "surface/paneleditor.h"

namespace {

constexpr int kKeyBackspace = 8;
constexpr int kKeyDelete = 46;
constexpr int kRightButton = 2;

}  // namespace

PropertyGrid::EditStart PropertyGrid::startEdit(int row, int col) {
  const GridRow *gridRow = gridRowOf(kind(), row);
  if (col != 1 || row >= rowCount() || !gridRow || gridRow->edit == EditKind::ReadOnly) {
    m_comboList.clear();
    return {false, QString()};
  }
  if (row == CommonRow::Name) m_currentName = textMatrix(row, 1);

  switch (gridRow->edit) {
    case EditKind::List:
      m_comboList = *gridRow->list;
      break;
    case EditKind::CellButton:
      m_comboList = QStringLiteral("...");
      break;
    case EditKind::Dynamic:
      m_comboList = gridRow->buildList(*this);
      break;
    default:
      m_comboList.clear();
      break;
  }
  return {true, m_comboList};
}

int PropertyGrid::runStep(int row, int (*step)(EditContext &)) {
  QPointer<PanelEditor> panel = m_panel;
  const GridKind k = kind();
  DesignObject *shown = shownObject();
  ControlRecord *record = shownRecord();
  if (!panel || !step || k == GridKind::None || !shown) return 0;
  if (k != GridKind::Main && !record) return 0;

  // One edit is one undo step, named for its row, over all it changes: the
  // shown object and the selection, and every control's internal name when
  // the panel is renamed.
  QString label = textMatrix(row, 0);
  if (label.isEmpty()) label = gridRowLabel(k, row);
  PanelEditor::EditStep undoStep(*panel, QStringLiteral("Change ") + label);
  if (k != GridKind::Main)
    undoStep.touch(static_cast<DesignControl *>(shown));
  else if (row == CommonRow::Name)
    undoStep.touchAll();
  EditContext ctx{*this, *panel, k, row, textMatrix(row, 1), shown, record};
  try {
    return step(ctx);
  } catch (const std::exception &) {
    if (panel) panel->ui().message(QStringLiteral("Error changing the property"));
    return PanelEditor::Geometry | PanelEditor::Properties;  // part of it may have been applied
  }
}

// A dialog's choice or a cleared picture or folder is a change of the
// panel like any typed edit; a cancelled dialog is none. Its undo step marks
// the panel changed.
void PropertyGrid::runMarkedStep(int row, int (*step)(EditContext &)) {
  const int changes = runStep(row, step);
  if (m_panel && changes) m_panel->notify(changes);
}

void PropertyGrid::afterEdit(int row, int col) {
  QPointer<PanelEditor> panel = m_panel;
  if (!panel || col != 1 || row <= CommonRow::Type || row >= rowCount()) return;
  const GridRow *gridRow = gridRowOf(kind(), row);
  const int changes = gridRow ? runStep(row, gridRow->write) : 0;
  if (panel && changes) panel->notify(changes);
}

void PropertyGrid::cellButtonClick(int row, int col) {
  const GridRow *gridRow = gridRowOf(kind(), row);
  if (!m_panel || col != 1 || !gridRow || !gridRow->cellButton) return;
  runMarkedStep(row, gridRow->cellButton);
}

void PropertyGrid::keyDown(int keyCode, int /*shift*/) {
  if (keyCode != kKeyDelete && keyCode != kKeyBackspace) return;
  const int row = Row();
  const GridRow *gridRow = gridRowOf(kind(), row);
  if (!m_panel || !gridRow || !gridRow->clear) return;
  runMarkedStep(row, gridRow->clear);
}

void PropertyGrid::mouseDown(int button, int /*shift*/, int row) {
  m_columnCellButton = isColourRow(row);
  if (!m_columnCellButton || button != kRightButton) return;
  setCurrentCell(row, 1);
  cellButtonClick(row, 1);
}
