// The "..." buttons of the grid (colours, fonts, pictures, folders) and the
// Delete key on the picture and folder rows.

#include <QFile>
#include <QImageReader>

#include "grid/gridsupport.h"
#include "grid/propertygrid.h"
#include "model/colors.h"
#include "model/numbers.h"
#include "model/settings.h"
#include "model/textfile.h"
#include "model/uiservice.h"

namespace {

bool isLoadablePicture(const QString &path) {
  QFile device(path);
  if (!openRegularFile(device, kPictureFileLimit)) return false;
  QImageReader reader(&device);
  return reader.canRead() && !reader.read().isNull();
}

// The record fields of one button picture: the file name and where it came
// from. Null for the flash picture, which the grid only shows.
std::pair<QString *, QString *> pictureFields(ControlRecord &r, int row) {
  switch (row) {
    case ButtonRow::PictureUpOn:
      return {&r.pictureUpOn, &r.pictureUpOnSourcePath};
    case ButtonRow::PictureUpOff:
      return {&r.pictureUpOff, &r.pictureUpOffSourcePath};
    case ButtonRow::PictureDownOn:
      return {&r.pictureDownOn, &r.pictureDownOnSourcePath};
    case ButtonRow::PictureDownOff:
      return {&r.pictureDownOff, &r.pictureDownOffSourcePath};
  }
  return {nullptr, nullptr};
}

// The font shown in the five font rows from `row` down.
FontSpec fontOfRows(const PropertyGrid &grid, int row) {
  FontSpec font;
  font.name = grid.textMatrix(row, 1);
  double size = 0;
  if (readCellNumber(grid.textMatrix(row + 1, 1), &size) && size > 0) font.size = size;
  auto flag = [&](int r) { return grid.textMatrix(r, 1).trimmed().toLower() == u"true"; };
  font.bold = flag(row + 2);
  font.underline = flag(row + 3);
  font.italic = flag(row + 4);
  return font;
}

// Runs the font dialog from the rows and writes its answer back to them.
// Cancelling keeps the font the dialog opened with, which still goes to
// every selected control.
FontSpec chooseFont(EditContext &ctx) {
  PropertyGrid &grid = ctx.grid;
  const int row = ctx.row;
  FontSpec font = fontOfRows(grid, row);
  font = ctx.panel.ui().chooseFont(font).value_or(font);
  PropertyGrid::UpdateBatch batch(grid);
  grid.setTextMatrix(row, 1, font.name);
  grid.setTextMatrix(row + 1, 1, sizeText(font.size));
  grid.setTextMatrix(row + 2, 1, trueFalseText(font.bold));
  grid.setTextMatrix(row + 3, 1, trueFalseText(font.underline));
  grid.setTextMatrix(row + 4, 1, trueFalseText(font.italic));
  return font;
}

// Asks for a picture file. Returns the full path, or empty when the dialog
// was cancelled or the file is refused; writes the file name into the cell
// and remembers its folder.
QString choosePicture(EditContext &ctx, bool testLoad) {
  const QString path = ctx.panel.selectGraphicFile();
  if (path.isEmpty()) return QString();
  if (testLoad && !isLoadablePicture(path)) {
    ctx.panel.ui().message(QStringLiteral(
        "The selected file is not a valid graphic file that is understood by this application."));
    return QString();
  }
  const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
  if (cut < 0) return QString();
  ctx.grid.setTextMatrix(ctx.row, 1, path.mid(cut + 1));
  ctx.panel.model().lastDirectory = path.left(cut + 1);
  return path;
}

}  // namespace

int chooseColour(EditContext &ctx) {
  const auto colour = ctx.panel.ui().chooseColor(colorValue(ctx.text));
  if (!colour) return 0;
  ctx.text = colorValueToText(*colour);
  ctx.grid.setTextMatrix(ctx.row, 1, ctx.text);
  // Applied as the same text typed into the row would be.
  const GridRow *gridRow = gridRowOf(ctx.kind, ctx.row);
  return (gridRow && gridRow->write ? gridRow->write(ctx) : 0) | PanelEditor::Properties;
}

int chooseButtonFont(EditContext &ctx) {
  const FontSpec font = chooseFont(ctx);
  forEachSelected(ctx.panel, kButtonsAndLabels, [&](DesignControl &c, ControlRecord &) {
    if (auto *button = controlCast<DesignButton>(&c)) button->font = font;
    if (auto *label = controlCast<DesignLabel>(&c)) label->font = font;
  });
  return PanelEditor::Properties;
}

int chooseClockFont(EditContext &ctx) {
  const FontSpec font = chooseFont(ctx);
  forEachSelected(ctx.panel, {ControlKind::Clock}, [&](DesignControl &c, ControlRecord &) {
    auto &clock = *controlCast<DesignClock>(&c);
    clock.fontName = font.name;
    clock.fontSize = font.size;
    clock.fontBold = font.bold;
    clock.fontUnderline = font.underline;
    clock.fontItalic = font.italic;
  });
  return PanelEditor::Properties;
}

int choosePanelPicture(EditContext &ctx) {
  const QString path = choosePicture(ctx, true);
  if (path.isEmpty()) return 0;
  PanelRecord &details = ctx.panel.model().panelRecord;
  details.picture = fileNameOf(path);
  details.pictureSourcePath = path;
  ctx.panel.setPanelGraphics();
  return PanelEditor::Properties;
}

int chooseButtonPicture(EditContext &ctx) {
  const QString path = choosePicture(ctx, true);
  if (path.isEmpty()) return 0;
  forEachSelected(ctx.panel, {ControlKind::Button}, [&](DesignControl &, ControlRecord &r) {
    auto [name, origin] = pictureFields(r, ctx.row);
    if (!name) return;
    *name = fileNameOf(path);
    *origin = path;
    ctx.panel.setControlGraphics(r);
  });
  return PanelEditor::Properties;
}

// The clock loads its picture itself; its record keeps the file name in the
// field a button uses for its up/off picture.
int chooseClockPicture(EditContext &ctx) {
  const QString path = choosePicture(ctx, false);
  if (path.isEmpty()) return 0;
  forEachSelected(ctx.panel, {ControlKind::Clock}, [&](DesignControl &c, ControlRecord &r) {
    r.pictureUpOff = fileNameOf(path);
    controlCast<DesignClock>(&c)->backGroundPicture = path;
  });
  return PanelEditor::Properties;
}

int chooseFolder(EditContext &ctx) {
  PanelModel &model = ctx.panel.model();
  QString start = model.lastDirectory;
  if (start.isEmpty()) start = model.defaultPictureFolder;
  if (start.isEmpty()) start = programSettings().defaultGraphicsFolder;
  const QString folder = ctx.grid.askFolder(QStringLiteral("Select Directory"), start);
  if (folder.isEmpty()) return 0;
  ctx.grid.setTextMatrix(ctx.row, 1, folder);
  model.lastDirectory = folder;
  model.defaultPictureFolder = folder;
  return PanelEditor::Properties;
}

int clearPanelPicture(EditContext &ctx) {
  ctx.grid.setTextMatrix(ctx.row, 1, QString());
  PanelRecord &details = ctx.panel.model().panelRecord;
  details.picture.clear();
  details.pictureSourcePath.clear();
  ctx.panel.setPanelGraphics();
  return PanelEditor::Properties;
}

int clearButtonPicture(EditContext &ctx) {
  ctx.grid.setTextMatrix(ctx.row, 1, QString());
  if (ctx.row == ButtonRow::FlashPicture) return 0;  // shown only; nothing to clear
  forEachSelected(ctx.panel, {ControlKind::Button}, [&](DesignControl &, ControlRecord &r) {
    auto [name, origin] = pictureFields(r, ctx.row);
    if (!name) return;
    name->clear();
    origin->clear();
    ctx.panel.setControlGraphics(r);
  });
  return PanelEditor::Properties;
}

int clearFolder(EditContext &ctx) {
  ctx.grid.setTextMatrix(ctx.row, 1, QString());
  ctx.panel.model().defaultPictureFolder.clear();
  return PanelEditor::Properties;
}

QString PropertyGrid::askFolder(const QString &title, const QString &startFolder) {
  if (!m_panel) return QString();
  QString folder = m_panel->ui().chooseFolder(title, startFolder).value_or(QString());
  if (const qsizetype nul = folder.indexOf(QChar(0)); nul >= 0) folder.truncate(nul);
  return folder;
}
