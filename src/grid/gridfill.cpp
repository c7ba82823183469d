// Filling the grid with the values of the panel or of one control.

#include "grid/gridsupport.h"
#include "grid/propertygrid.h"
#include "model/uiservice.h"
#include "surface/paneleditor.h"

namespace {

const char *headerName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Button:
      return "Button";
    case ControlKind::Label:
      return "Label";
    case ControlKind::WebBrowser:
      return "WebControl";
    case ControlKind::Meter:
      return "Meter";
    case ControlKind::MeterFader:
      return "MeterFader";
    case ControlKind::Clock:
      return "Clock";
    case ControlKind::Kept:
      return "Kept";
  }
  return "";
}

}  // namespace

void PropertyGrid::setProperties(PanelEditor &panel, DesignObject *object) {
  UpdateBatch batch(*this);
  clear();
  m_panel = &panel;
  m_shown = nullptr;
  if (!object) return;
  ControlRecord *record = nullptr;
  if (object->isCanvas()) {
    setHeaders(QStringLiteral("Main"));
  } else {
    record = panel.model().findRecord(object);
    if (!record) {
      panel.ui().message(QStringLiteral("Error finding object details"));
      return;
    }
    setHeaders(QLatin1String(headerName(static_cast<DesignControl *>(object)->kind())));
  }
  m_shown = object;

  RowSource source{panel, *object, record, kind()};
  const auto rows = gridRowTable(source.kind);
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    const GridRow &gridRow = rows[row];
    if (gridRow.readLabel) setTextMatrix(row, 0, gridRow.readLabel(source));
    if (gridRow.read) setTextMatrix(row, 1, gridRow.read(source));
  }
}
