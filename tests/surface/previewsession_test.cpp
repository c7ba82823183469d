// Preview: buttons toggle and log their commands, flashing and test levels
// run, and nothing of it reaches the panel.
#include "surface/previewsession.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <set>

#include "components/datetimestamp.h"
#include "panelfile/panelwriter.h"
#include "surfacefixture.h"

namespace {

constexpr qint32 kYellow = 0x00FFFF, kGrey = 0xE0E0E0, kBlue = 0xFF0000;

class PreviewTest : public SurfaceTest {
 protected:
  // A button as the Insert menu makes it (off, yellow when on) with commands.
  DesignControl *button(const QString &click = "CLICK", const QString &down = "DOWN",
                        const QString &up = "UP") {
    DesignControl *c = add(0, 0, 1000, 500);
    clsControlDetails &r = record(c);
    r.Click = click;
    r.MouseDown = down;
    r.MouseUp = up;
    return c;
  }
  clsControlDetails &record(const DesignControl *c) { return *model().FindRecord(c); }

  void clickIn(PreviewSession &preview, const DesignControl *c) {
    preview.MouseDown(c);
    preview.MouseUp(true);
  }

  // What the preview (or, without one, the design) shows for a control, as a copy.
  std::unique_ptr<DesignControl> shown(const PreviewSession *preview, const DesignControl *c) {
    std::unique_ptr<DesignControl> found;
    PreviewSession::forEachShown(panel, preview,
                                 [&](const DesignControl &s, const DesignControl &) {
                                   if (s.Tag == c->Tag) found = s.clone();
                                 });
    return found;
  }
  DesignButton shownButton(const PreviewSession &preview, const DesignControl *c) {
    auto s = shown(&preview, c);
    return s ? *As<DesignButton>(s.get()) : DesignButton();
  }

  static QStringList lines(const PreviewSession &preview) {
    QStringList out;
    for (const PreviewCommand &command : preview.log()) out << command.text();
    return out;
  }
};

TEST_F(PreviewTest, AClickTogglesTheButtonAndLogsItsCommandsInOrder) {
  DesignControl *b = button();
  PreviewSession preview(panel);
  EXPECT_FALSE(preview.isOn(b));

  preview.MouseDown(b);
  EXPECT_EQ(preview.pressed(), b);
  EXPECT_EQ(lines(preview), QStringList{"Button1 MouseDown: DOWN"});
  preview.MouseUp(true);
  EXPECT_EQ(preview.pressed(), nullptr);
  EXPECT_TRUE(preview.isOn(b));
  EXPECT_EQ(shownButton(preview, b).BackColor, kYellow);
  EXPECT_EQ(lines(preview), (QStringList{"Button1 MouseDown: DOWN", "Button1 MouseUp: UP",
                                         "Button1 Click: CLICK"}));

  clickIn(preview, b);
  EXPECT_FALSE(preview.isOn(b));
  EXPECT_EQ(shownButton(preview, b).BackColor, kGrey);
  EXPECT_EQ(preview.log().size(), 6u);

  // The model keeps its stored state and colour throughout.
  EXPECT_EQ(record(b).State, "Off");
  EXPECT_EQ(As<DesignButton>(b)->BackColor, kGrey);
}

TEST_F(PreviewTest, OnlyAnEnabledButtonReleasedOverItselfIsClicked) {
  DesignControl *released = button(), *disabled = button(), *silent = button("", "", "");
  DesignControl *label = add(0, 0, 1000, 300, ControlKind::Label);
  record(disabled).Enabled = false;
  PreviewSession preview(panel);

  preview.MouseDown(released);
  preview.MouseUp(false);  // released elsewhere: no Click, no toggle
  EXPECT_FALSE(preview.isOn(released));
  EXPECT_EQ(lines(preview), (QStringList{"Button1 MouseDown: DOWN", "Button1 MouseUp: UP"}));

  preview.clearLog();
  for (const DesignControl *c : {disabled, label}) {
    const bool on = preview.isOn(c);
    clickIn(preview, c);
    EXPECT_EQ(preview.pressed(), nullptr);
    EXPECT_EQ(preview.isOn(c), on);
  }
  EXPECT_TRUE(preview.log().empty());
  // A disabled button shows a grey caption.
  EXPECT_EQ(shownButton(preview, disabled).ForeColor, 0x808080);

  // Empty command texts send nothing, but the button still toggles.
  clickIn(preview, silent);
  EXPECT_TRUE(preview.isOn(silent));
  EXPECT_TRUE(preview.log().empty());

  preview.MouseUp(true);  // a release without a press does nothing
  EXPECT_TRUE(preview.log().empty());
}

TEST_F(PreviewTest, TheToggledStateShowsThePicturesOfThatState) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  model().strDefaultPictureLoc = dir.path();
  for (const char *name : {"upon.png", "upoff.png", "downon.png", "downoff.png"}) {
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(image.save(dir.filePath(name)));
  }
  DesignControl *b = button();
  clsControlDetails &r = record(b);
  r.PictureUpOn = "upon.png";
  r.PictureUpOff = "upoff.png";
  r.PictureDownOn = "downon.png";
  r.PictureDownOff = "downoff.png";
  r.State = "ON";  // any case
  r.BackColorOn = "&HFF0000";
  panel.SetControlGraphics(r);
  panel.setNeedToSave(false);
  PreviewSession preview(panel);
  EXPECT_TRUE(preview.isOn(b));

  preview.MouseDown(b);  // held down: the pressed picture of the state shown
  EXPECT_EQ(shownButton(preview, b).Picture, dir.filePath("downon.png"));
  preview.MouseUp(true);
  DesignButton off = shownButton(preview, b);
  EXPECT_EQ(off.Picture, dir.filePath("upoff.png"));
  EXPECT_EQ(off.DownPicture, dir.filePath("downoff.png"));
  EXPECT_EQ(off.BackColor, kGrey);

  // A picture changed while previewing shows at once.
  ASSERT_TRUE(QFile::copy(dir.filePath("upon.png"), dir.filePath("other.png")));
  r.PictureUpOff = "other.png";
  panel.notify(frmPanel::Properties);
  EXPECT_EQ(shownButton(preview, b).Picture, dir.filePath("other.png"));

  clickIn(preview, b);
  const DesignButton on = shownButton(preview, b);
  EXPECT_EQ(on.Picture, dir.filePath("upon.png"));
  EXPECT_EQ(on.BackColor, kBlue);
  EXPECT_EQ(As<DesignButton>(b)->Picture, dir.filePath("upon.png"));
}

TEST_F(PreviewTest, FlashingControlsAlternateTogetherWhateverTheirState) {
  DesignControl *plain = button(), *toggled = button(), *steady = button();
  DesignControl *label = add(0, 0, 1000, 300, ControlKind::Label);
  for (DesignControl *c : {plain, toggled, label}) {
    record(c).Flash = true;
    record(c).BackColorOn = "&HFF0000";
    record(c).BackColorOff = "&H00FF00";
  }
  PreviewSession preview(panel);
  clickIn(preview, toggled);
  for (int tick = 0; tick < 4; ++tick) {
    panel.timFlashTick();
    const qint32 expected = panel.flashPhase() ? kBlue : 0x00FF00;
    EXPECT_EQ(shownButton(preview, plain).BackColor, expected) << tick;
    EXPECT_EQ(shownButton(preview, toggled).BackColor, expected) << tick;
    EXPECT_EQ(As<DesignLabel>(shown(&preview, label).get())->BackColor, expected) << tick;
    // Design shows the same flash, and the model's own colour otherwise.
    EXPECT_EQ(As<DesignButton>(shown(nullptr, toggled).get())->BackColor, expected) << tick;
    EXPECT_EQ(As<DesignButton>(shown(nullptr, steady).get())->BackColor, kGrey) << tick;
  }
}

TEST_F(PreviewTest, MetersShowAMovingTestLevelWithinTheScale) {
  DesignControl *meter = add(0, 0, 400, 1500, ControlKind::Meter);
  DesignControl *other = add(500, 0, 400, 1500, ControlKind::Meter);
  PreviewSession preview(panel);
  EXPECT_EQ(preview.meterLevel(meter, 0), kMeterSilence);

  std::set<qint32> levels;
  bool meterDiffers = false;
  for (int tick = 0; tick < 200; ++tick) {
    preview.timMeterTick();
    for (int channel : {0, 1}) {
      const qint32 level = preview.meterLevel(meter, channel);
      EXPECT_GT(level, -450);
      EXPECT_LE(level, 0);
      levels.insert(level);
    }
    meterDiffers |= preview.meterLevel(meter, 0) != preview.meterLevel(other, 0);
  }
  EXPECT_GT(levels.size(), 50u);
  EXPECT_TRUE(meterDiffers);
  EXPECT_EQ(As<DesignMeter>(shown(&preview, meter).get())->Meter.LevelLeft,
            preview.meterLevel(meter, 0));
  EXPECT_EQ(As<DesignMeter>(meter)->Meter.LevelLeft, kMeterSilence);  // the model's stays
}

TEST_F(PreviewTest, TheLogKeepsTheNewestCommandsAndShowsLineBreaks) {
  DesignControl *b = button("A\r\nB", "", "");
  PreviewSession preview(panel);
  for (int i = 0; i < PreviewSession::kLogLimit + 5; ++i) clickIn(preview, b);
  EXPECT_EQ(preview.log().size(), size_t(PreviewSession::kLogLimit));
  EXPECT_EQ(preview.log().front().text(), "Button1 Click: A \u21b5 B");
}

TEST_F(PreviewTest, AControlRemovedWhilePreviewingIsForgotten) {
  DesignControl *b = button();
  add(0, 0, 400, 1500, ControlKind::Meter);
  PreviewSession preview(panel);
  preview.MouseDown(b);
  preview.timMeterTick();
  click(b);  // selected the design way
  ui.answers.push_back(Ui::Answer::Yes);
  panel.DeleteSelected();
  ASSERT_TRUE(model().Controls(ControlKind::Button).empty());
  EXPECT_EQ(preview.pressed(), nullptr);
  preview.MouseUp(true);
  EXPECT_EQ(preview.log().size(), 1u);
}

TEST_F(PreviewTest, LeavingPreviewLeavesThePanelAsItWas) {
  DateTimeStamp::SetClock([] { return QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)); });
  DesignControl *b = button(), *flashing = button();
  record(flashing).Flash = true;
  add(0, 0, 400, 1500, ControlKind::Meter);
  panel.DropFromPalette("MasterMeterFader", 3000, 0, 0, 0);
  panel.setNeedToSave(false);
  const QString before = BuildPanelDocument(model(), false);
  {
    PreviewSession preview(panel);
    clickIn(preview, b);
    clickIn(preview, flashing);
    preview.MouseDown(b);
    for (int tick = 0; tick < 5; ++tick) {
      preview.timMeterTick();
      panel.timFlashTick();
    }
  }
  EXPECT_EQ(BuildPanelDocument(model(), false), before);
  EXPECT_FALSE(panel.NeedToSave());
  DateTimeStamp::SetClock({});
}

}  // namespace
