// The rows of the panel itself ("Main").

#include <array>

#include "grid/gridsupport.h"
#include "grid/gridtables.h"
#include "grid/propertygrid.h"
#include "model/colors.h"
#include "model/names.h"

namespace {

PanelModel &modelOf(RowSource &source) { return source.panel.model(); }

// A caption the program made up ("Panel12"), which follows the panel's name.
bool isDefaultCaption(const QString &caption) {
  double number = 0;
  return caption.size() >= 6 && caption.left(5).compare(u"panel", Qt::CaseInsensitive) == 0 &&
         ReadCellNumber(caption.mid(5), &number);
}

int renamePanel(EditContext &ctx) {
  PanelModel &model = ctx.panel.model();
  const QString name = CleanName(ctx.text);
  if (name.isEmpty() || !NameFitsFiles(ctx.panel, name)) {  // a panel always keeps a name
    ctx.grid.setTextMatrix(CommonRow::Name, 1, ctx.grid.CurrentName());
    return 0;
  }
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

int writeCaption(EditContext &ctx) {
  ctx.panel.setCaption(ctx.text);
  return frmPanel::Caption;
}

// The rows show the window's outer size, which is what a save keeps; the
// canvas follows the window.
int writeSize(EditContext &ctx) {
  qint32 value = 0;
  if (!ReadCellInt32(ctx.text, &value)) return 0;
  if (value < 0) throw GridEditError("negative size");
  PanelModel &model = ctx.panel.model();
  if (ctx.row == MainRow::Width) {
    model.Width = value;
    model.pictMain.Width = std::max(0, value - frmPanel::kWindowFrameWidth);
  } else {
    model.Height = value;
    model.pictMain.Height = std::max(0, value - frmPanel::kWindowFrameHeight);
  }
  return frmPanel::Geometry;
}

using E = EditKind;

template <qint32 PanelCanvas::*Field>
constexpr GridRow canvasColour(const char *label) {
  return {.label = label,
          .edit = E::Colour,
          .read = [](RowSource &s) { return ColorValueToText(modelOf(s).pictMain.*Field); },
          .write =
              [](EditContext &ctx) {
                ctx.panel.model().pictMain.*Field = GetColorValue(ctx.text);
                return int(frmPanel::Properties);
              },
          .cellButton = ChooseColour,
          .colour = true};
}

constexpr std::array kMainRows{
    SharedRow::Header,
    SharedRow::Type,
    GridRow{.label = "Name",
            .edit = E::Text,
            .read = [](RowSource &s) -> QString { return modelOf(s).pictMain.Tag; },
            .write = renamePanel},
    GridRow{.label = "Caption",
            .edit = E::Text,
            .read = [](RowSource &s) { return s.panel.caption(); },
            .write = writeCaption},
    GridRow{.label = "Width",
            .edit = E::Text,
            .read = [](RowSource &s) { return QString::number(modelOf(s).Width); },
            .write = writeSize},
    GridRow{.label = "Height",
            .edit = E::Text,
            .read = [](RowSource &s) { return QString::number(modelOf(s).Height); },
            .write = writeSize},
    GridRow{.label = "Background Picture",
            .edit = E::CellButton,
            .read = [](RowSource &s) { return modelOf(s).PanelDetails.strPicture; },
            .cellButton = ChoosePanelPicture,
            .clear = ClearPanelPicture},
    canvasColour<&PanelCanvas::BackColor>("BackColor"),
    canvasColour<&PanelCanvas::ForeColor>("ForeColor"),
    GridRow{.label = "OnLoad",
            .edit = E::Text,
            .read = [](RowSource &s) { return modelOf(s).PanelDetails.strOnload; },
            .write =
                [](EditContext &ctx) {
                  ctx.panel.model().PanelDetails.strOnload = ctx.text;
                  return int(frmPanel::Properties);
                }},
    GridRow{.label = "Default Graphics Path",
            .edit = E::CellButton,
            .read = [](RowSource &s) { return modelOf(s).strDefaultPictureLoc; },
            .write =
                [](EditContext &ctx) {
                  ctx.panel.model().strDefaultPictureLoc = ctx.text;
                  return int(frmPanel::Properties);
                },
            .cellButton = ChooseFolder,
            .clear = ClearFolder},
};

}  // namespace

std::span<const GridRow> MainRowTable() { return kMainRows; }
