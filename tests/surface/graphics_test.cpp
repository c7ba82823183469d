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
  QString savedGraphicsFolder = programSettings().defaultGraphicsFolder;

  void SetUp() override {
    ASSERT_TRUE(pictures.isValid() && graphics.isValid());
    model().defaultPictureFolder = pictures.path();  // no trailing separator
    programSettings().defaultGraphicsFolder = graphics.path() + "/";
  }
  void TearDown() override { programSettings().defaultGraphicsFolder = savedGraphicsFolder; }

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

  ControlRecord &button() {
    DesignControl *c = add(0, 0, 1000, 500);
    return *model().findRecord(c);
  }
  static DesignButton &buttonOf(ControlRecord &record) {
    return *controlCast<DesignButton>(record.control);
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
    EXPECT_EQ(panel.findPicturePath(c.reference), c.expected) << c.reference.toStdString();
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
    ControlRecord &record = button();
    record.state = "Off";
    record.pictureUpOff = c.name;
    record.pictureUpOffSourcePath = c.origPath;
    panel.setControlGraphics(record);
    EXPECT_EQ(buttonOf(record).picture, c.expected);

    model().panelRecord.picture = c.name;
    model().panelRecord.pictureSourcePath = c.origPath;
    panel.setPanelGraphics();
    EXPECT_EQ(model().canvas.picture, c.expected);
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
    ControlRecord &record = button();
    record.state = c.state;
    record.backColorOn = "Yellow";
    record.backColorOff = "&HE0E0E0";
    record.pictureUpOn = "upon.png";
    record.pictureDownOn = "downon.png";
    record.pictureUpOff = "upoff.png";
    record.pictureDownOff = "downoff.png";
    buttonOf(record).backColor = 0;
    panel.setControlGraphics(record);
    EXPECT_EQ(buttonOf(record).picture, c.picture);
    EXPECT_EQ(buttonOf(record).downPicture, c.downPicture);
    EXPECT_EQ(buttonOf(record).backColor, c.color);
  }
}

TEST_F(GraphicsTest, AFileThatIsNoPictureStopsSilentlyKeepingWhatWasSet) {
  const QString upOn = image(graphics, "upon.png");
  junk(graphics, "broken.png");
  ControlRecord &record = button();
  record.state = "On";
  record.backColorOn = "Red";
  record.pictureUpOn = "upon.png";
  record.pictureDownOn = "broken.png";
  DesignButton &b = buttonOf(record);
  b.downPicture = "earlier.png";
  panel.setControlGraphics(record);
  EXPECT_EQ(b.picture, upOn);
  EXPECT_EQ(b.downPicture, "earlier.png");
  EXPECT_EQ(b.backColor, 0xE0E0E0);  // not reached
  EXPECT_TRUE(ui.messages.empty());

  model().canvas.picture = upOn;
  model().panelRecord.picture = "broken.png";
  panel.setPanelGraphics();
  EXPECT_EQ(model().canvas.picture, upOn);
}

TEST_F(GraphicsTest, OtherKindsKeepTheirLook) {
  DesignControl *label = add(0, 0, 100, 100, ControlKind::Label);
  ControlRecord &record = *model().findRecord(label);
  record.state = "On";
  record.backColorOn = "Red";
  panel.setControlGraphics(record);
  EXPECT_EQ(controlCast<DesignLabel>(label)->backColor, 0xFFFFFF);
}

TEST_F(GraphicsTest, SelectGraphicFileAsksForAnExistingFile) {
  ui.fileAnswers = {QString("/pics/a.png"), std::nullopt};
  EXPECT_EQ(panel.selectGraphicFile(), "/pics/a.png");
  EXPECT_EQ(panel.selectGraphicFile(), "");
  ASSERT_EQ(ui.fileDialogs.size(), 2u);
  EXPECT_EQ(ui.fileDialogs[0].title, "Open");
  EXPECT_EQ(ui.fileDialogs[0].filter, "*.*");
  EXPECT_TRUE(ui.fileDialogs[0].mustExist);
  EXPECT_TRUE(ui.fileDialogs[0].initialFolder.isEmpty());
}

// Flashing is what the views show: the model keeps each control's colour,
// so a tick never changes a saved panel or makes an undo step.
TEST_F(SurfaceTest, FlashingControlsShareOnePhase) {
  EXPECT_TRUE(panel.flashTimer.isActive());
  EXPECT_EQ(panel.flashTimer.interval(), 500);
  DesignControl *first = add(0, 0, 100, 100), *second = add(0, 0, 100, 100);
  DesignControl *label = add(0, 0, 100, 100, ControlKind::Label);
  DesignControl *steady = add(0, 0, 100, 100);
  for (DesignControl *c : {first, second, label}) {
    ControlRecord *record = model().findRecord(c);
    record->flash = true;
    record->backColorOn = "Red";
    record->backColorOff = "Blue";
  }
  model().findRecord(second)->state = "On";  // the state plays no part
  controlCast<DesignButton>(steady)->backColor = 0x123456;
  auto colors = [&] {
    std::vector<qint32> shown;
    for (DesignControl *c : {first, second, label})
      shown.push_back(panel.flashColor(*model().findRecord(c)).value_or(-1));
    return shown;
  };
  const qint32 firstColor = controlCast<DesignButton>(first)->backColor;
  const int steps = panel.undoStack().count();
  int notices = 0;
  QObject::connect(&panel, &PanelEditor::changed, [&](int) { ++notices; });
  struct Tick {
    bool phase;
    qint32 color;
  } ticks[] = {{true, 0x0000FF}, {false, 0xFF0000}, {true, 0x0000FF}};
  for (const Tick &t : ticks) {
    panel.flashTick();
    EXPECT_EQ(panel.flashPhase(), t.phase);
    EXPECT_EQ(colors(), std::vector<qint32>(3, t.color));
    EXPECT_FALSE(panel.flashColor(*model().findRecord(steady)));
  }
  EXPECT_EQ(notices, 3);  // the views repaint
  EXPECT_EQ(controlCast<DesignButton>(first)->backColor, firstColor);
  EXPECT_FALSE(panel.needToSave());
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
  QObject::connect(&panel, &PanelEditor::changed, [&notices](int) { ++notices; });
  const HardwareMap noMap;
  {
    PanelReadHooks hooks(panel);
    analyzeXML(text, model(), hooks, noMap);
    EXPECT_EQ(notices, 0);
  }
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(model().controlCount(), 6);
  for (DesignControl *c : model().Controls(ControlKind::Button))
    EXPECT_EQ(static_cast<DesignButton *>(c)->backColor, 0x0000FF);
}
