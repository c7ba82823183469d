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
         readCellNumber(caption.mid(5), &number);
}

int renamePanel(EditContext &ctx) {
  PanelModel &model = ctx.panel.model();
  const QString name = cleanName(ctx.text);
  if (name.isEmpty() || !nameFitsFiles(ctx.panel, name)) {  // a panel always keeps a name
    ctx.grid.setTextMatrix(CommonRow::Name, 1, ctx.grid.currentName());
    return 0;
  }
  ctx.grid.setTextMatrix(CommonRow::Name, 1, name);
  model.canvas.tag = name;
  for (auto &record : model.panelRecord.records)
    if (record->control) record->setHWMapInternalName(name + u'.' + record->control->tag);

  const QString caption = ctx.grid.textMatrix(CommonRow::Caption, 1);
  if (isDefaultCaption(caption) ||
      caption.compare(ctx.grid.currentName(), Qt::CaseInsensitive) == 0)
    ctx.grid.setTextMatrix(CommonRow::Caption, 1, name);
  ctx.panel.setCaption(ctx.grid.textMatrix(CommonRow::Caption, 1));
  return PanelEditor::Properties | PanelEditor::Caption;
}

int writeCaption(EditContext &ctx) {
  ctx.panel.setCaption(ctx.text);
  return PanelEditor::Caption;
}

// The rows show the window's outer size, which is what a save keeps; the
// canvas follows the window.
int writeSize(EditContext &ctx) {
  qint32 value = 0;
  if (!readCellInt32(ctx.text, &value)) return 0;
  if (value < 0) throw GridEditError("negative size");
  PanelModel &model = ctx.panel.model();
  if (ctx.row == MainRow::Width) {
    model.width = value;
    model.canvas.width = std::max(0, value - PanelEditor::kWindowFrameWidth);
  } else {
    model.height = value;
    model.canvas.height = std::max(0, value - PanelEditor::kWindowFrameHeight);
  }
  return PanelEditor::Geometry;
}

using E = EditKind;

template <qint32 PanelCanvas::*Field>
constexpr GridRow canvasColour(const char *label) {
  return {.label = label,
          .edit = E::Colour,
          .read = [](RowSource &s) { return colorValueToText(modelOf(s).canvas.*Field); },
          .write =
              [](EditContext &ctx) {
                ctx.panel.model().canvas.*Field = colorValue(ctx.text);
                return int(PanelEditor::Properties);
              },
          .cellButton = chooseColour,
          .colour = true};
}

constexpr std::array kMainRows{
    SharedRow::Header,
    SharedRow::Type,
    GridRow{.label = "Name",
            .edit = E::Text,
            .read = [](RowSource &s) -> QString { return modelOf(s).canvas.tag; },
            .write = renamePanel},
    GridRow{.label = "Caption",
            .edit = E::Text,
            .read = [](RowSource &s) { return s.panel.caption(); },
            .write = writeCaption},
    GridRow{.label = "Width",
            .edit = E::Text,
            .read = [](RowSource &s) { return QString::number(modelOf(s).width); },
            .write = writeSize},
    GridRow{.label = "Height",
            .edit = E::Text,
            .read = [](RowSource &s) { return QString::number(modelOf(s).height); },
            .write = writeSize},
    GridRow{.label = "Background Picture",
            .edit = E::CellButton,
            .read = [](RowSource &s) { return modelOf(s).panelRecord.picture; },
            .cellButton = choosePanelPicture,
            .clear = clearPanelPicture},
    canvasColour<&PanelCanvas::backColor>("BackColor"),
    canvasColour<&PanelCanvas::foreColor>("ForeColor"),
    GridRow{.label = "OnLoad",
            .edit = E::Text,
            .read = [](RowSource &s) { return modelOf(s).panelRecord.onLoad; },
            .write =
                [](EditContext &ctx) {
                  ctx.panel.model().panelRecord.onLoad = ctx.text;
                  return int(PanelEditor::Properties);
                }},
    GridRow{.label = "Default Graphics Path",
            .edit = E::CellButton,
            .read = [](RowSource &s) { return modelOf(s).defaultPictureFolder; },
            .write =
                [](EditContext &ctx) {
                  ctx.panel.model().defaultPictureFolder = ctx.text;
                  return int(PanelEditor::Properties);
                },
            .cellButton = chooseFolder,
            .clear = clearFolder},
};

}  // namespace

std::span<const GridRow> mainRowTable() { return kMainRows; }
