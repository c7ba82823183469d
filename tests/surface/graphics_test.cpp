// Picture references, button and canvas pictures, and flashing.
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "hwmap/hardwaremap.h"
#include "model/settings.h"
#include "panelfile/panelreader.h"
#include "surface/panelreadhooks.h"
#include "surfacefixture.h"

namespace {

class GraphicsTest : public SurfaceTest {
 protected:
  QTemporaryDir pictures, graphics;  // the panel's picture folder, the program's graphics folder
  QString savedGraphicsFolder = Settings().strDefaultGraphicsFolder;

  void SetUp() override {
    ASSERT_TRUE(pictures.isValid() && graphics.isValid());
    model().strDefaultPictureLoc = pictures.path();  // no trailing separator
    Settings().strDefaultGraphicsFolder = graphics.path() + "/";
  }
  void TearDown() override { Settings().strDefaultGraphicsFolder = savedGraphicsFolder; }

  static QString image(const QTemporaryDir &dir, const QString &name) {
    const QString path = dir.filePath(name);
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    EXPECT_TRUE(picture.save(path, "PNG"));
    return path;
  }
  static QString junk(const QTemporaryDir &dir, const QString &name) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is not a picture");
    return path;
  }

  clsControlDetails &button() {
    DesignControl *c = add(0, 0, 1000, 500);
    return *model().FindRecord(c);
  }
  static DesignButton &buttonOf(clsControlDetails &record) {
    return *As<DesignButton>(record.cntrlObject);
  }
};

TEST_F(GraphicsTest, FindPicturePathTriesThePanelFolderThenTheGraphicsFolder) {
  const QString both = image(pictures, "both.png");
  image(graphics, "both.png");
  const QString shared = image(graphics, "shared.png");
  struct Case {
    QString reference, expected;
  } cases[] = {
      {"a", ""},
      {"ab", ""},
      {"C:\\Pics\\a.bmp", "C:\\Pics\\a.bmp"},  // not tested for existence
      {"\\\\srv\\share\\a.bmp", "\\\\srv\\share\\a.bmp"},
      {"/nowhere/a.bmp", "/nowhere/a.bmp"},
      {"both.png", both},
      {"shared.png", shared},
      {"missing.png", ""},
  };
  for (const Case &c : cases)
    EXPECT_EQ(panel.FindPicturePath(c.reference), c.expected) << c.reference.toStdString();
}

TEST_F(GraphicsTest, PictureIsResolvedByNameThenByItsStoredPath) {
  const QString named = image(graphics, "named.png");
  const QString stored = image(pictures, "elsewhere.png");
  struct Case {
    const char *what;
    QString name, origPath, expected;
  } cases[] = {
      {"name found", "named.png", stored, named},
      {"name not found: stored path", "gone.png", stored, stored},
      {"no name: no picture", "", stored, ""},
      {"neither exists", "gone.png", "/gone/gone.png", ""},
      {"blank stored path", "gone.png", "  ", ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    clsControlDetails &record = button();
    record.State = "Off";
    record.PictureUpOff = c.name;
    record.strPictureUpOffOrigPath = c.origPath;
    panel.SetControlGraphics(record);
    EXPECT_EQ(buttonOf(record).Picture, c.expected);

    model().PanelDetails.strPicture = c.name;
    model().PanelDetails.strPictureOrigPath = c.origPath;
    panel.SetPanelGraphics();
    EXPECT_EQ(model().pictMain.Picture, c.expected);
  }
}

TEST_F(GraphicsTest, ButtonShowsThePicturesAndColourOfItsState) {
  const QString upOn = image(graphics, "upon.png"), downOn = image(graphics, "downon.png");
  const QString upOff = image(graphics, "upoff.png"), downOff = image(graphics, "downoff.png");
  struct Case {
    const char *state;
    QString picture, downPicture;
    qint32 color;
  } cases[] = {
      {"ON", upOn, downOn, 0x00FFFF},
      {"on", upOn, downOn, 0x00FFFF},
      {"Off", upOff, downOff, 0xE0E0E0},
      {"", upOff, downOff, 0xE0E0E0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.state);
    clsControlDetails &record = button();
    record.State = c.state;
    record.BackColorOn = "Yellow";
    record.BackColorOff = "&HE0E0E0";
    record.PictureUpOn = "upon.png";
    record.PictureDownOn = "downon.png";
    record.PictureUpOff = "upoff.png";
    record.PictureDownOff = "downoff.png";
    buttonOf(record).BackColor = 0;
    panel.SetControlGraphics(record);
    EXPECT_EQ(buttonOf(record).Picture, c.picture);
    EXPECT_EQ(buttonOf(record).DownPicture, c.downPicture);
    EXPECT_EQ(buttonOf(record).BackColor, c.color);
  }
}

TEST_F(GraphicsTest, AFileThatIsNoPictureStopsSilentlyKeepingWhatWasSet) {
  const QString upOn = image(graphics, "upon.png");
  junk(graphics, "broken.png");
  clsControlDetails &record = button();
  record.State = "On";
  record.BackColorOn = "Red";
  record.PictureUpOn = "upon.png";
  record.PictureDownOn = "broken.png";
  DesignButton &b = buttonOf(record);
  b.DownPicture = "earlier.png";
  panel.SetControlGraphics(record);
  EXPECT_EQ(b.Picture, upOn);
  EXPECT_EQ(b.DownPicture, "earlier.png");
  EXPECT_EQ(b.BackColor, 0xE0E0E0);  // not reached
  EXPECT_TRUE(ui.messages.empty());

  model().pictMain.Picture = upOn;
  model().PanelDetails.strPicture = "broken.png";
  panel.SetPanelGraphics();
  EXPECT_EQ(model().pictMain.Picture, upOn);
}

TEST_F(GraphicsTest, OtherKindsKeepTheirLook) {
  DesignControl *label = add(0, 0, 100, 100, ControlKind::Label);
  clsControlDetails &record = *model().FindRecord(label);
  record.State = "On";
  record.BackColorOn = "Red";
  panel.SetControlGraphics(record);
  EXPECT_EQ(As<DesignLabel>(label)->BackColor, 0xFFFFFF);
}

TEST_F(GraphicsTest, SelectGraphicFileAsksForAnExistingFile) {
  ui.fileAnswers = {QString("/pics/a.png"), std::nullopt};
  EXPECT_EQ(panel.SelectGraphicFile(), "/pics/a.png");
  EXPECT_EQ(panel.SelectGraphicFile(), "");
  ASSERT_EQ(ui.fileDialogs.size(), 2u);
  EXPECT_EQ(ui.fileDialogs[0].title, "Open");
  EXPECT_EQ(ui.fileDialogs[0].filter, "*.*");
  EXPECT_TRUE(ui.fileDialogs[0].mustExist);
  EXPECT_TRUE(ui.fileDialogs[0].initialFolder.isEmpty());
}

// Flashing is what the views show: the model keeps each control's colour,
// so a tick never changes a saved panel or makes an undo step.
TEST_F(SurfaceTest, FlashingControlsShareOnePhase) {
  EXPECT_TRUE(panel.timFlash.isActive());
  EXPECT_EQ(panel.timFlash.interval(), 500);
  DesignControl *first = add(0, 0, 100, 100), *second = add(0, 0, 100, 100);
  DesignControl *label = add(0, 0, 100, 100, ControlKind::Label);
  DesignControl *steady = add(0, 0, 100, 100);
  for (DesignControl *c : {first, second, label}) {
    clsControlDetails *record = model().FindRecord(c);
    record->Flash = true;
    record->BackColorOn = "Red";
    record->BackColorOff = "Blue";
  }
  model().FindRecord(second)->State = "On";  // the state plays no part
  As<DesignButton>(steady)->BackColor = 0x123456;
  auto colors = [&] {
    std::vector<qint32> shown;
    for (DesignControl *c : {first, second, label})
      shown.push_back(panel.FlashColor(*model().FindRecord(c)).value_or(-1));
    return shown;
  };
  const qint32 firstColor = As<DesignButton>(first)->BackColor;
  const int steps = panel.undoStack().count();
  int notices = 0;
  QObject::connect(&panel, &frmPanel::changed, [&](int) { ++notices; });
  struct Tick {
    bool phase;
    qint32 color;
  } ticks[] = {{true, 0x0000FF}, {false, 0xFF0000}, {true, 0x0000FF}};
  for (const Tick &t : ticks) {
    panel.timFlashTick();
    EXPECT_EQ(panel.flashPhase(), t.phase);
    EXPECT_EQ(colors(), std::vector<qint32>(3, t.color));
    EXPECT_FALSE(panel.FlashColor(*model().FindRecord(steady)));
  }
  EXPECT_EQ(notices, 3);  // the views repaint
  EXPECT_EQ(As<DesignButton>(first)->BackColor, firstColor);
  EXPECT_FALSE(panel.NeedToSave());
  EXPECT_EQ(panel.undoStack().count(), steps);
}

}  // namespace

// Reading a panel shows each control's graphics, but the views hear of it
// once, when the read is over, not once per control.
TEST_F(SurfaceTest, ReadingAPanelNotifiesTheViewsOnce) {
  QString controls;
  for (int i = 1; i <= 5; ++i)
    controls += QStringLiteral(
                    "<Control><Type>Button</Type><Name>Button%1</Name>"
                    "<BackColorOff>&amp;H0000FF</BackColorOff></Control>")
                    .arg(i);
  const QString text = "<Panel><Name>P</Name><ControlList>" + controls +
                       "<Control><Type>Label</Type><Name>Label1</Name></Control>"
                       "</ControlList></Panel>";
  int notices = 0;
  QObject::connect(&panel, &frmPanel::changed, [&notices](int) { ++notices; });
  const HardwareMap noMap;
  {
    PanelReadHooks hooks(panel);
    AnalyzeXML(text, model(), hooks, noMap);
    EXPECT_EQ(notices, 0);
  }
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(model().ControlCount(), 6);
  for (DesignControl *c : model().Controls(ControlKind::Button))
    EXPECT_EQ(static_cast<DesignButton *>(c)->BackColor, 0x0000FF);
}
