// The "..." buttons of the grid (colours, fonts, pictures, folders) and the
// Delete key on the picture and folder rows.

#include <QImageReader>

#include "grid/gridsupport.h"
#include "grid/propertygrid.h"
#include "model/colors.h"
#include "model/numbers.h"
#include "model/settings.h"
#include "model/uiservice.h"

namespace {

bool isLoadablePicture(const QString &path) {
  QImageReader reader(path);
  return reader.canRead() && !reader.read().isNull();
}

// The record fields of one button picture: the file name and where it came
// from. Null for the flash picture, which the grid only shows.
std::pair<QString *, QString *> pictureFields(clsControlDetails &r, int row) {
  switch (row) {
    case ButtonRow::PictureUpOn:
      return {&r.PictureUpOn, &r.strPictureUpOnOrigPath};
    case ButtonRow::PictureUpOff:
      return {&r.PictureUpOff, &r.strPictureUpOffOrigPath};
    case ButtonRow::PictureDownOn:
      return {&r.PictureDownOn, &r.strPictureDownOnOrigPath};
    case ButtonRow::PictureDownOff:
      return {&r.PictureDownOff, &r.strPictureDownOffOrigPath};
  }
  return {nullptr, nullptr};
}

// The font shown in the five font rows from `row` down.
FontSpec fontOfRows(const PropertyGrid &grid, int row) {
  FontSpec font;
  font.name = grid.TextMatrix(row, 1);
  double size = 0;
  if (ReadCellNumber(grid.TextMatrix(row + 1, 1), &size) && size > 0) font.size = size;
  auto flag = [&](int r) { return grid.TextMatrix(r, 1).trimmed().toLower() == u"true"; };
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
  grid.setTextMatrix(row + 1, 1, SizeText(font.size));
  grid.setTextMatrix(row + 2, 1, BoolText(font.bold));
  grid.setTextMatrix(row + 3, 1, BoolText(font.underline));
  grid.setTextMatrix(row + 4, 1, BoolText(font.italic));
  return font;
}

// Asks for a picture file. Returns the full path, or empty when the dialog
// was cancelled or the file is refused; writes the file name into the cell
// and remembers its folder.
QString choosePicture(EditContext &ctx, bool testLoad) {
  const QString path = ctx.panel.SelectGraphicFile();
  if (path.isEmpty()) return QString();
  if (testLoad && !isLoadablePicture(path)) {
    ctx.panel.ui().message(QStringLiteral(
        "The selected file is not a valid graphic file that is understood by this application."));
    return QString();
  }
  const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
  if (cut < 0) return QString();
  ctx.grid.setTextMatrix(ctx.row, 1, path.mid(cut + 1));
  ctx.panel.model().strLastDirectory = path.left(cut + 1);
  return path;
}

QString fileNameOf(const QString &path) {
  return path.mid(std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/')) + 1);
}

}  // namespace

int ChooseColour(EditContext &ctx) {
  const auto colour = ctx.panel.ui().chooseColor(GetColorValue(ctx.text));
  if (!colour) return 0;
  ctx.text = ColorValueToText(*colour);
  ctx.grid.setTextMatrix(ctx.row, 1, ctx.text);
  // Applied as the same text typed into the row would be.
  const GridRow *gridRow = GridRowOf(ctx.kind, ctx.row);
  return (gridRow && gridRow->write ? gridRow->write(ctx) : 0) | frmPanel::Properties;
}

int ChooseButtonFont(EditContext &ctx) {
  const FontSpec font = chooseFont(ctx);
  ForEachSelected(ctx.panel, kButtonsAndLabels, [&](DesignControl &c, clsControlDetails &) {
    if (auto *button = As<DesignButton>(&c)) button->Font = font;
    if (auto *label = As<DesignLabel>(&c)) label->Font = font;
  });
  return frmPanel::Properties;
}

int ChooseClockFont(EditContext &ctx) {
  const FontSpec font = chooseFont(ctx);
  ForEachSelected(ctx.panel, {ControlKind::Clock}, [&](DesignControl &c, clsControlDetails &) {
    auto &clock = *As<DesignClock>(&c);
    clock.FontName = font.name;
    clock.FontSize = font.size;
    clock.FontBold = font.bold;
    clock.FontUnderline = font.underline;
    clock.FontItalic = font.italic;
  });
  return frmPanel::Properties;
}

int ChoosePanelPicture(EditContext &ctx) {
  const QString path = choosePicture(ctx, true);
  if (path.isEmpty()) return 0;
  clsPanelDetails &details = ctx.panel.model().PanelDetails;
  details.strPicture = fileNameOf(path);
  details.strPictureOrigPath = path;
  ctx.panel.SetPanelGraphics();
  return frmPanel::Properties;
}

int ChooseButtonPicture(EditContext &ctx) {
  const QString path = choosePicture(ctx, true);
  if (path.isEmpty()) return 0;
  ForEachSelected(ctx.panel, {ControlKind::Button}, [&](DesignControl &, clsControlDetails &r) {
    auto [name, origin] = pictureFields(r, ctx.row);
    if (!name) return;
    *name = fileNameOf(path);
    *origin = path;
    ctx.panel.SetControlGraphics(r);
  });
  return frmPanel::Properties;
}

// The clock loads its picture itself; its record keeps the file name in the
// field a button uses for its up/off picture.
int ChooseClockPicture(EditContext &ctx) {
  const QString path = choosePicture(ctx, false);
  if (path.isEmpty()) return 0;
  ForEachSelected(ctx.panel, {ControlKind::Clock}, [&](DesignControl &c, clsControlDetails &r) {
    r.PictureUpOff = fileNameOf(path);
    As<DesignClock>(&c)->BackGroundPicture = path;
  });
  return frmPanel::Properties;
}

int ChooseFolder(EditContext &ctx) {
  PanelModel &model = ctx.panel.model();
  QString start = model.strLastDirectory;
  if (start.isEmpty()) start = model.strDefaultPictureLoc;
  if (start.isEmpty()) start = Settings().strDefaultGraphicsFolder;
  const QString folder = ctx.grid.GetFolder(QStringLiteral("Select Directory"), start);
  if (folder.isEmpty()) return 0;
  ctx.grid.setTextMatrix(ctx.row, 1, folder);
  model.strLastDirectory = folder;
  model.strDefaultPictureLoc = folder;
  return frmPanel::Properties;
}

int ClearPanelPicture(EditContext &ctx) {
  ctx.grid.setTextMatrix(ctx.row, 1, QString());
  clsPanelDetails &details = ctx.panel.model().PanelDetails;
  details.strPicture.clear();
  details.strPictureOrigPath.clear();
  ctx.panel.SetPanelGraphics();
  return frmPanel::Properties;
}

int ClearButtonPicture(EditContext &ctx) {
  ctx.grid.setTextMatrix(ctx.row, 1, QString());
  if (ctx.row == ButtonRow::FlashPicture) return 0;  // shown only; nothing to clear
  ForEachSelected(ctx.panel, {ControlKind::Button}, [&](DesignControl &, clsControlDetails &r) {
    auto [name, origin] = pictureFields(r, ctx.row);
    if (!name) return;
    name->clear();
    origin->clear();
    ctx.panel.SetControlGraphics(r);
  });
  return frmPanel::Properties;
}

int ClearFolder(EditContext &ctx) {
  ctx.grid.setTextMatrix(ctx.row, 1, QString());
  ctx.panel.model().strDefaultPictureLoc.clear();
  return frmPanel::Properties;
}

QString PropertyGrid::GetFolder(const QString &title, const QString &startFolder) {
  if (!m_panel) return QString();
  QString folder = m_panel->ui().chooseFolder(title, startFolder).value_or(QString());
  if (const qsizetype nul = folder.indexOf(QChar(0)); nul >= 0) folder.truncate(nul);
  return folder;
}
