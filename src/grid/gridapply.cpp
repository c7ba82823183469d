// Applying an edited cell: the dispatch by kind and row, the geometry rows
// of controls and the panel's own rows.

#include "grid/gridsupport.h"
#include "grid/propertygrid.h"
#include "model/colors.h"
#include "model/names.h"
#include "model/uiservice.h"
#include "surface/frmpanel.h"

void PropertyGrid::AfterEdit(int row, int col) {
  QPointer<frmPanel> panel = m_panel;
  if (!panel || col != 1 || row <= CommonRow::Type || row >= Rows()) return;
  panel->setNeedToSave(true);

  const GridKind k = kind();
  DesignObject *shown = shownObject();
  clsControlDetails *record = shownRecord();
  if (k == GridKind::None || !shown) return;
  if (k != GridKind::Main && !record) return;

  EditContext ctx{*this, *panel, k, row, TextMatrix(row, 1), shown, record};
  int changes = 0;
  try {
    const bool geometryRow = row >= CommonRow::Width && row <= CommonRow::Left;
    if (k != GridKind::Main && geometryRow) {
      changes = ApplyGeometryRow(ctx);
    } else {
      switch (k) {
        case GridKind::Main:
          changes = ApplyPanelRow(ctx);
          break;
        case GridKind::Button:
        case GridKind::Label:
          changes = ApplyButtonLabelRow(ctx);
          break;
        case GridKind::Meter:
        case GridKind::MeterFader:
          changes = ApplyMeterRow(ctx);
          break;
        case GridKind::Clock:
          changes = ApplyClockRow(ctx);
          break;
        case GridKind::WebBrowser:
          changes = ApplyWebRow(ctx);
          break;
        case GridKind::None:
          break;
      }
    }
  } catch (const std::exception &) {
    changes = frmPanel::Geometry | frmPanel::Properties;  // part of it may have been applied
    if (panel) panel->ui().message(QStringLiteral("Error changing the property"));
  }
  if (panel && changes) panel->notify(changes);
}

int ApplyGeometryRow(EditContext &ctx) {
  qint32 value = 0;
  if (!ReadCellInt32(ctx.text, &value)) return 0;  // not a number: nothing changes
  const int row = ctx.row;
  if ((row == CommonRow::Width || row == CommonRow::Height) && value < 0)
    throw GridEditError("negative size");
  ForEachSelected(ctx.panel, KindSet::All(), [&](DesignControl &control, clsControlDetails &) {
    switch (row) {
      case CommonRow::Width:
        control.Width = value;
        break;
      case CommonRow::Height:
        control.Height = value;
        break;
      case CommonRow::Top:
        control.Top = value;
        break;
      case CommonRow::Left:
        control.Left = value;
        break;
    }
    PlaceFrame(ctx.panel, control);
  });
  return frmPanel::Geometry;
}

namespace {

// A caption the program made up ("Panel12"), which follows the panel's name.
bool isDefaultCaption(const QString &caption) {
  double number = 0;
  return caption.size() >= 6 && caption.left(5).compare(u"panel", Qt::CaseInsensitive) == 0 &&
         ReadCellNumber(caption.mid(5), &number);
}

int renamePanel(EditContext &ctx) {
  PanelModel &model = ctx.panel.model();
  const QString name = CleanName(ctx.text);
  ctx.grid.setTextMatrix(CommonRow::Name, 1, name);
  model.pictMain.Tag = name;
  for (auto &record : model.PanelDetails.CollControls)
    if (record->cntrlObject) record->setHWMapInternalName(name + u'.' + record->cntrlObject->Tag);

  const QString caption = ctx.grid.TextMatrix(CommonRow::Caption, 1);
  if (isDefaultCaption(caption) ||
      caption.compare(ctx.grid.CurrentName(), Qt::CaseInsensitive) == 0)
    ctx.grid.setTextMatrix(CommonRow::Caption, 1, name);
  ctx.panel.setCaption(ctx.grid.TextMatrix(CommonRow::Caption, 1));
  return frmPanel::Properties | frmPanel::Caption;
}

}  // namespace

int ApplyPanelRow(EditContext &ctx) {
  PanelModel &model = ctx.panel.model();
  switch (ctx.row) {
    case CommonRow::Name:
      return renamePanel(ctx);
    case CommonRow::Caption:
      ctx.panel.setCaption(ctx.text);
      return frmPanel::Caption;
    case MainRow::Width:
    case MainRow::Height: {
      // The rows show the window's outer size, which is what a save keeps;
      // the canvas follows the window.
      qint32 value = 0;
      if (!ReadCellInt32(ctx.text, &value)) return 0;
      if (value < 0) throw GridEditError("negative size");
      if (ctx.row == MainRow::Width) {
        model.Width = value;
        model.pictMain.Width = std::max(0, value - frmPanel::kWindowFrameWidth);
      } else {
        model.Height = value;
        model.pictMain.Height = std::max(0, value - frmPanel::kWindowFrameHeight);
      }
      return frmPanel::Geometry;
    }
    case MainRow::BackColor:
      model.pictMain.BackColor = GetColorValue(ctx.text);
      break;
    case MainRow::ForeColor:
      model.pictMain.ForeColor = GetColorValue(ctx.text);
      break;
    case MainRow::OnLoad:
      model.PanelDetails.strOnload = ctx.text;
      break;
    case MainRow::GraphicsPath:
      model.strDefaultPictureLoc = ctx.text;
      break;
    default:
      return 0;
  }
  return frmPanel::Properties;
}
