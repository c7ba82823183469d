#include "grid/propertygrid.h"

#include "model/panelmodel.h"
#include "surface/paneleditor.h"

PropertyGrid::PropertyGrid(QObject *parent) : QObject(parent) { m_cells.resize(2); }

PropertyGrid::~PropertyGrid() = default;

void PropertyGrid::setRows(int rows) {
  rows = std::max(rows, 1);
  if (rows == rowCount()) return;
  UpdateBatch batch(*this);
  m_cells.resize(rows);
  if (m_row >= rows) m_row = rows - 1;
}

QString PropertyGrid::textMatrix(int row, int col) const {
  if (row < 0 || row >= rowCount() || col < 0 || col > 1) return QString();
  return m_cells[row][col];
}

void PropertyGrid::setTextMatrix(int row, int col, const QString &text) {
  if (row < 0 || row >= rowCount() || col < 0 || col > 1) return;
  if (m_cells[row][col] == text) return;
  m_cells[row][col] = text;
  if (m_batchDepth == 0) emit cellChanged(row, col);
}

void PropertyGrid::clear() {
  UpdateBatch batch(*this);
  for (auto &cells : m_cells) cells = {};
  m_kind = GridKind::None;
}

void PropertyGrid::setCurrentCell(int row, int col) {
  if (row == m_row && col == m_col) return;
  m_row = row;
  m_col = col;
  emit currentCellChanged(row, col);
}

void PropertyGrid::setColWidth(int col, int twips) {
  if (col == 0 || col == 1) m_colWidth[col] = twips;
}

GridKind PropertyGrid::kind() const { return m_kind; }

EditKind PropertyGrid::rowEditKind(int row) const { return gridRowEditKind(kind(), row); }

bool PropertyGrid::isColourRow(int row) const { return ::isColourRow(kind(), row); }

void PropertyGrid::setHeaders(const QString &kindName) {
  UpdateBatch batch(*this);
  const GridKind k = gridKindFromHeaderName(kindName);
  if (k == GridKind::None) {
    for (int row = CommonRow::Header; row <= CommonRow::Height; ++row)
      setTextMatrix(row, 0, gridRowLabel(GridKind::Main, row));
    setTextMatrix(CommonRow::Header, 1, QStringLiteral("Property Value"));
    return;
  }
  m_kind = k;
  setRows(gridRowCount(k));
  for (int row = 0; row < rowCount(); ++row) setTextMatrix(row, 0, gridRowLabel(k, row));
  setTextMatrix(CommonRow::Header, 1, QStringLiteral("Property Value"));
  setTextMatrix(CommonRow::Type, 1, gridKindText(k));
  if (const HardwareRows hw = hardwareRowsOf(k); hw.valid())
    setTextMatrix(hw.module, 1, QStringLiteral("0"));
  if (k == GridKind::Meter) setTextMatrix(MeterRow::SourceDest, 1, QStringLiteral("Source"));
}

void PropertyGrid::showGeometryRows(qint32 width, qint32 height, qint32 top, qint32 left) {
  const GridKind k = kind();
  // The panel's own rows 6 and 7 are not geometry.
  if (k == GridKind::None || k == GridKind::Main) return;
  setTextMatrix(CommonRow::Width, 1, QString::number(width));
  setTextMatrix(CommonRow::Height, 1, QString::number(height));
  setTextMatrix(CommonRow::Top, 1, QString::number(top));
  setTextMatrix(CommonRow::Left, 1, QString::number(left));
}

void PropertyGrid::showPanelSizeRows(PanelEditor *panel, qint32 width, qint32 height) {
  if (!panel || panel != m_panel || kind() != GridKind::Main) return;
  if (textMatrix(CommonRow::Name, 1) != panel->model().canvas.tag) return;
  setTextMatrix(MainRow::Width, 1, QString::number(width));
  setTextMatrix(MainRow::Height, 1, QString::number(height));
}

DesignObject *PropertyGrid::shownObject() const {
  if (!m_panel || !m_shown) return nullptr;
  // The pointer is only compared until the panel confirms it still holds it.
  return m_panel->model().contains(m_shown) ? m_shown : nullptr;
}

ControlRecord *PropertyGrid::shownRecord() const {
  DesignObject *shown = shownObject();
  return shown && !shown->isCanvas() ? m_panel->model().findRecord(shown) : nullptr;
}
