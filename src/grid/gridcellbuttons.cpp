// The "..." buttons of the grid: colours, fonts, pictures and folders.

#include <QImageReader>

#include "grid/gridsupport.h"
#include "grid/propertygrid.h"
#include "model/colors.h"
#include "model/numbers.h"
#include "model/settings.h"
#include "model/uiservice.h"
#include "surface/frmpanel.h"

namespace {

enum class Action { None, Colour, Font, Picture, Folder };

Action actionOf(GridKind kind, int row) {
  switch (kind) {
    case GridKind::Main:
      if (row == MainRow::Picture) return Action::Picture;
      if (row == MainRow::BackColor || row == MainRow::ForeColor) return Action::Colour;
      if (row == MainRow::GraphicsPath) return Action::Folder;
      break;
    case GridKind::Button:
    case GridKind::Label:
      if (row == ButtonRow::BackColorOff || row == ButtonRow::BackColorOn) return Action::Colour;
      if (row == ButtonRow::ForeColor && kind == GridKind::Label) return Action::Colour;
      if (row == ButtonRow::FontName) return Action::Font;
      if (kind == GridKind::Button && row >= ButtonRow::PictureUpOn &&
          row <= ButtonRow::PictureDownOff)
        return Action::Picture;
      break;
    case GridKind::Clock:
      switch (row) {
        case ClockRow::BackColor:
        case ClockRow::ForeColor:
        case ClockRow::LongHashColor:
        case ClockRow::ShortHashColor:
        case ClockRow::FaceBorderColor:
          return Action::Colour;
        case ClockRow::Picture:
          return Action::Picture;
        case ClockRow::FontName:
          return Action::Font;
      }
      break;
    case GridKind::Meter:
    case GridKind::MeterFader:
      if (row == MeterRow::LineColor) return Action::Colour;
      break;
    default:
      break;
  }
  return Action::None;
}

bool isLoadablePicture(const QString &path) {
  QImageReader reader(path);
  return reader.canRead() && !reader.read().isNull();
}

// The record fields of one button picture: the file name and where it came from.
std::pair<QString *, QString *> pictureFields(clsControlDetails &r, int row) {
  switch (row) {
    case ButtonRow::PictureUpOn:
      return {&r.PictureUpOn, &r.strPictureUpOnOrigPath};
    case ButtonRow::PictureUpOff:
      return {&r.PictureUpOff, &r.strPictureUpOffOrigPath};
    case ButtonRow::PictureDownOn:
      return {&r.PictureDownOn, &r.strPictureDownOnOrigPath};
    default:
      return {&r.PictureDownOff, &r.strPictureDownOffOrigPath};
  }
}

}  // namespace

void PropertyGrid::CellButtonClick(int row, int col) {
  frmPanel *panel = m_panel;
  if (!panel || col != 1) return;
  switch (actionOf(kind(), row)) {
    case Action::Colour:
      applyColour(*panel, row);
      break;
    case Action::Font:
      applyFont(*panel, row);
      break;
    case Action::Picture:
      applyPicture(*panel, row);
      break;
    case Action::Folder:
      applyFolder(*panel, row);
      break;
    case Action::None:
      break;
  }
}

void PropertyGrid::applyColour(frmPanel &panel, int row) {
  const auto colour = panel.ui().chooseColor(GetColorValue(TextMatrix(row, 1)));
  if (!colour) return;
  setTextMatrix(row, 1, ColorValueToText(*colour));
  AfterEdit(row, 1);
}

void PropertyGrid::applyFont(frmPanel &panel, int row) {
  FontSpec font;
  font.name = TextMatrix(row, 1);
  double size = 0;
  if (ReadCellNumber(TextMatrix(row + 1, 1), &size) && size > 0) font.size = size;
  auto flag = [&](int r) { return TextMatrix(r, 1).trimmed().toLower() == u"true"; };
  font.bold = flag(row + 2);
  font.underline = flag(row + 3);
  font.italic = flag(row + 4);

  // Cancelling keeps the font the dialog opened with, which still goes to
  // every selected control.
  font = panel.ui().chooseFont(font).value_or(font);
  {
    UpdateBatch batch(*this);
    setTextMatrix(row, 1, font.name);
    setTextMatrix(row + 1, 1, SizeText(font.size));
    setTextMatrix(row + 2, 1, BoolText(font.bold));
    setTextMatrix(row + 3, 1, BoolText(font.underline));
    setTextMatrix(row + 4, 1, BoolText(font.italic));
  }

  if (kind() == GridKind::Clock) {
    ForEachSelected(panel, {ControlKind::Clock}, [&](DesignControl &c, clsControlDetails &) {
      auto &clock = *As<DesignClock>(&c);
      clock.FontName = font.name;
      clock.FontSize = font.size;
      clock.FontBold = font.bold;
      clock.FontUnderline = font.underline;
      clock.FontItalic = font.italic;
    });
  } else {
    ForEachSelected(panel, {ControlKind::Button, ControlKind::Label},
                    [&](DesignControl &c, clsControlDetails &) {
                      if (auto *button = As<DesignButton>(&c)) button->Font = font;
                      if (auto *label = As<DesignLabel>(&c)) label->Font = font;
                    });
  }
  panel.setNeedToSave(true);
  panel.notify(frmPanel::Properties);
}

void PropertyGrid::applyPicture(frmPanel &panel, int row) {
  const GridKind k = kind();
  const QString path = panel.SelectGraphicFile();
  if (path.isEmpty()) return;
  const bool clock = k == GridKind::Clock;
  if (!clock && !isLoadablePicture(path)) {
    panel.ui().message(QStringLiteral(
        "The selected file is not a valid graphic file that is understood by this application."));
    return;
  }
  const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
  if (cut < 0) return;
  const QString fileName = path.mid(cut + 1);
  const QString folder = path.left(cut + 1);
  setTextMatrix(row, 1, fileName);

  PanelModel &model = panel.model();
  if (k == GridKind::Main) {
    model.PanelDetails.strPicture = fileName;
    model.PanelDetails.strPictureOrigPath = path;
    panel.SetPanelGraphics();
  } else if (clock) {
    ForEachSelected(panel, {ControlKind::Clock}, [&](DesignControl &c, clsControlDetails &r) {
      r.PictureUpOff = fileName;
      As<DesignClock>(&c)->BackGroundPicture = path;
    });
  } else {
    ForEachSelected(panel, {ControlKind::Button}, [&](DesignControl &, clsControlDetails &r) {
      auto [name, origin] = pictureFields(r, row);
      *name = fileName;
      *origin = path;
      panel.SetControlGraphics(r);
    });
  }
  model.strLastDirectory = folder;
  panel.setNeedToSave(true);
  panel.notify(frmPanel::Properties);
}

void PropertyGrid::applyFolder(frmPanel &panel, int row) {
  PanelModel &model = panel.model();
  QString start = model.strLastDirectory;
  if (start.isEmpty()) start = model.strDefaultPictureLoc;
  if (start.isEmpty()) start = Settings().strDefaultGraphicsFolder;
  const QString folder = GetFolder(QStringLiteral("Select Directory"), start);
  if (folder.isEmpty()) return;
  setTextMatrix(row, 1, folder);
  model.strLastDirectory = folder;
  model.strDefaultPictureLoc = folder;
  panel.setNeedToSave(true);
  panel.notify(frmPanel::Properties);
}

QString PropertyGrid::GetFolder(const QString &title, const QString &startFolder) {
  if (!m_panel) return QString();
  QString folder = m_panel->ui().chooseFolder(title, startFolder).value_or(QString());
  if (const qsizetype nul = folder.indexOf(QChar(0)); nul >= 0) folder.truncate(nul);
  return folder;
}
