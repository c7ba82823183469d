#include "grid/propertygrid.h"

#include "model/panelmodel.h"
#include "surface/frmpanel.h"

PropertyGrid::PropertyGrid(QObject *parent) : QObject(parent) { m_cells.resize(2); }

PropertyGrid::~PropertyGrid() = default;

void PropertyGrid::setRows(int rows) {
  rows = std::max(rows, 1);
  if (rows == Rows()) return;
  UpdateBatch batch(*this);
  m_cells.resize(rows);
  if (m_row >= rows) m_row = rows - 1;
}

QString PropertyGrid::TextMatrix(int row, int col) const {
  if (row < 0 || row >= Rows() || col < 0 || col > 1) return QString();
  return m_cells[row][col];
}

void PropertyGrid::setTextMatrix(int row, int col, const QString &text) {
  if (row < 0 || row >= Rows() || col < 0 || col > 1) return;
  if (m_cells[row][col] == text) return;
  m_cells[row][col] = text;
  if (m_batchDepth == 0) emit cellChanged(row, col);
}

void PropertyGrid::Clear() {
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

EditKind PropertyGrid::rowEditKind(int row) const { return GridRowEditKind(kind(), row); }

bool PropertyGrid::isColourRow(int row) const { return IsColourRow(kind(), row); }

void PropertyGrid::SetHeaders(const QString &kindName) {
  UpdateBatch batch(*this);
  const GridKind k = GridKindFromHeaderName(kindName);
  if (k == GridKind::None) {
    for (int row = CommonRow::Header; row <= CommonRow::Height; ++row)
      setTextMatrix(row, 0, GridRowLabel(GridKind::Main, row));
    setTextMatrix(CommonRow::Header, 1, QStringLiteral("Property Value"));
    return;
  }
  m_kind = k;
  setRows(GridRowCount(k));
  for (int row = 0; row < Rows(); ++row) setTextMatrix(row, 0, GridRowLabel(k, row));
  setTextMatrix(CommonRow::Header, 1, QStringLiteral("Property Value"));
  setTextMatrix(CommonRow::Type, 1, GridKindText(k));
  if (const HardwareRows hw = HardwareRowsOf(k); hw.valid())
    setTextMatrix(hw.module, 1, QStringLiteral("0"));
  if (k == GridKind::Meter) setTextMatrix(MeterRow::SourceDest, 1, QStringLiteral("Source"));
}

void PropertyGrid::ShowGeometryRows(qint32 width, qint32 height, qint32 top, qint32 left) {
  const GridKind k = kind();
  // The panel's own rows 6 and 7 are not geometry.
  if (k == GridKind::None || k == GridKind::Main) return;
  setTextMatrix(CommonRow::Width, 1, QString::number(width));
  setTextMatrix(CommonRow::Height, 1, QString::number(height));
  setTextMatrix(CommonRow::Top, 1, QString::number(top));
  setTextMatrix(CommonRow::Left, 1, QString::number(left));
}

void PropertyGrid::ShowPanelSizeRows(frmPanel *panel, qint32 width, qint32 height) {
  if (!panel || panel != m_panel || kind() != GridKind::Main) return;
  if (TextMatrix(CommonRow::Name, 1) != panel->model().pictMain.Tag) return;
  setTextMatrix(MainRow::Width, 1, QString::number(width));
  setTextMatrix(MainRow::Height, 1, QString::number(height));
}

DesignObject *PropertyGrid::shownObject() const {
  if (!m_panel || !m_shown) return nullptr;
  // The pointer is only compared until the panel confirms it still holds it.
  return m_panel->model().Contains(m_shown) ? m_shown : nullptr;
}

clsControlDetails *PropertyGrid::shownRecord() const {
  DesignObject *shown = shownObject();
  return shown && !shown->isCanvas() ? m_panel->model().FindRecord(shown) : nullptr;
}
