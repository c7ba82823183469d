// Cell buttons (colour, font, picture, folder), right clicks and Delete.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "gridfixture.h"
#include "model/colors.h"

namespace {
constexpr int kRightButton = 2, kLeftButton = 1, kDelete = 46, kBackspace = 8;
}

class CellButtonTest : public GridTest {
 public:
  CellButtonTest() {
    b1 = add<DesignButton>("B1");
    b2 = add<DesignButton>("B2");
    lbl = add<DesignLabel>("L1");
    folder = dir.path() + "/Art/";
    QDir().mkpath(folder);
    picture = folder + "on.png";
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    EXPECT_TRUE(image.save(picture));
  }
  QTemporaryDir dir;
  QString folder, picture;
  DesignButton *b1, *b2;
  DesignLabel *lbl;
};

TEST_F(CellButtonTest, PictureGoesToEverySelectedButton) {
  select({b1, b2, lbl});
  ui.fileAnswers = {picture};
  grid.cellButtonClick(ButtonRow::PictureUpOn, 1);
  EXPECT_EQ(value(ButtonRow::PictureUpOn), "on.png");
  for (auto *b : {b1, b2}) {
    EXPECT_EQ(record(b).pictureUpOn, "on.png");
    EXPECT_EQ(record(b).pictureUpOnSourcePath, picture);
  }
  EXPECT_EQ(panel.model().lastDirectory, folder);
  EXPECT_TRUE(panel.needToSave());

  grid.setCurrentCell(ButtonRow::PictureUpOn, 1);
  grid.keyDown(kDelete, 0);
  EXPECT_EQ(value(ButtonRow::PictureUpOn), "");
  EXPECT_EQ(record(b2).pictureUpOn, "");
  EXPECT_EQ(record(b2).pictureUpOnSourcePath, "");
}

TEST_F(CellButtonTest, FileThatIsNoPictureIsRefused) {
  const QString text = folder + "notes.txt";
  QFile file(text);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a picture");
  file.close();
  select({b1});
  ui.fileAnswers = {text};
  grid.cellButtonClick(ButtonRow::PictureDownOff, 1);
  EXPECT_EQ(ui.messageTexts(),
            QStringList{"The selected file is not a valid graphic file that is understood by "
                        "this application."});
  EXPECT_EQ(value(ButtonRow::PictureDownOff), "");
  EXPECT_EQ(record(b1).pictureDownOff, "");
  EXPECT_EQ(panel.model().lastDirectory, "");

  ui.fileAnswers = {std::nullopt};  // cancelled
  grid.cellButtonClick(ButtonRow::PictureDownOff, 1);
  EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(CellButtonTest, PanelAndClockPictures) {
  show(&panel.model().canvas);
  ui.fileAnswers = {picture};
  grid.cellButtonClick(MainRow::Picture, 1);
  EXPECT_EQ(panel.model().panelRecord.picture, "on.png");
  EXPECT_EQ(panel.model().panelRecord.pictureSourcePath, picture);
  grid.setCurrentCell(MainRow::Picture, 1);
  grid.keyDown(kBackspace, 0);
  EXPECT_EQ(panel.model().panelRecord.picture, "");
  EXPECT_EQ(panel.model().panelRecord.pictureSourcePath, "");

  auto *clock = add<DesignClock>("C1");
  select({clock});
  ui.fileAnswers = {folder + "face.bmp"};  // the clock loads its own picture
  grid.cellButtonClick(ClockRow::Picture, 1);
  EXPECT_EQ(clock->backGroundPicture, folder + "face.bmp");
  EXPECT_EQ(record(clock).pictureUpOff, "face.bmp");
}

TEST_F(CellButtonTest, ColourDialogOpensAtTheCellsColourAndAppliesTheChoice) {
  select({b1, lbl});
  ui.colorAnswers = {0x0000FF};
  grid.cellButtonClick(ButtonRow::BackColorOff, 1);
  EXPECT_EQ(ui.colourDialogs, std::vector<qint32>{0xE0E0E0});
  EXPECT_EQ(value(ButtonRow::BackColorOff), "&H0000FF");
  EXPECT_EQ(record(lbl).backColorOff, "&H0000FF");
  EXPECT_EQ(b1->backColor, 0x0000FF);

  ui.colorAnswers = {std::nullopt};
  grid.cellButtonClick(ButtonRow::BackColorOn, 1);
  EXPECT_EQ(record(b1).backColorOn, "Yellow");
}

TEST_F(CellButtonTest, RightClickOnAColourRowOpensTheDialogAtOnce) {
  select({b1});
  grid.mouseDown(kLeftButton, 0, ButtonRow::BackColorOn);
  EXPECT_TRUE(grid.columnCellButton());
  EXPECT_TRUE(ui.colourDialogs.empty());

  grid.mouseDown(kRightButton, 0, ButtonRow::BackColorOn);
  EXPECT_EQ(ui.colourDialogs, std::vector<qint32>{0x00FFFF});
  EXPECT_EQ(grid.Row(), ButtonRow::BackColorOn);

  grid.mouseDown(kRightButton, 0, ButtonRow::ForeColor);  // shown, but not changed by the grid
  grid.mouseDown(kRightButton, 0, ButtonRow::State);
  EXPECT_EQ(ui.colourDialogs.size(), 1u);
  EXPECT_FALSE(grid.columnCellButton());
}

TEST_F(CellButtonTest, FontDialogSetsTheRowsAndEverySelectedControl) {
  lbl->font.name = "Courier";
  select({b1, lbl});
  FontSpec chosen{"Verdana", 12, false, true, true};
  ui.fontAnswers = {chosen};
  grid.cellButtonClick(ButtonRow::FontName, 1);
  EXPECT_EQ(ui.fontDialogs.at(0), (FontSpec{"Arial", 8.25, true, false, false}));  // the rows
  EXPECT_EQ(value(ButtonRow::FontName), "Verdana");
  EXPECT_EQ(value(ButtonRow::FontSize), "12");
  EXPECT_EQ(value(ButtonRow::FontUnderline), "True");
  EXPECT_EQ(b1->font, chosen);
  EXPECT_EQ(lbl->font, chosen);

  // Cancelling still gives every selected control the font the rows show.
  lbl->font.name = "Courier";
  ui.fontAnswers = {std::nullopt};
  grid.cellButtonClick(ButtonRow::FontName, 1);
  EXPECT_EQ(lbl->font, chosen);
}

TEST_F(CellButtonTest, FolderBrowserStartsAtTheLastFolder) {
  show(&panel.model().canvas);
  programSettings().defaultGraphicsFolder = "/start/PanelGraphics/";
  ui.folderAnswers = {std::nullopt, QString("/gfx/one")};
  grid.cellButtonClick(MainRow::GraphicsPath, 1);  // cancelled
  EXPECT_EQ(panel.model().defaultPictureFolder, "");
  grid.cellButtonClick(MainRow::GraphicsPath, 1);
  EXPECT_EQ(value(MainRow::GraphicsPath), "/gfx/one");
  EXPECT_EQ(panel.model().defaultPictureFolder, "/gfx/one");

  panel.model().lastDirectory = "/last/";
  ui.folderAnswers = {std::nullopt};
  grid.cellButtonClick(MainRow::GraphicsPath, 1);
  EXPECT_EQ(ui.folderDialogs,
            QStringList({"Select Directory|/start/PanelGraphics/",
                         "Select Directory|/start/PanelGraphics/", "Select Directory|/last/"}));
}
