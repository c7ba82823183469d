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
    ControlRecord &r = record(c);
    r.click = click;
    r.mouseDown = down;
    r.mouseUp = up;
    return c;
  }
  ControlRecord &record(const DesignControl *c) { return *model().findRecord(c); }

  void clickIn(PreviewSession &preview, const DesignControl *c) {
    preview.mouseDown(c);
    preview.mouseUp(true);
  }

  // What the preview (or, without one, the design) shows for a control, as a copy.
  std::unique_ptr<DesignControl> shown(const PreviewSession *preview, const DesignControl *c) {
    std::unique_ptr<DesignControl> found;
    PreviewSession::forEachShown(panel, preview,
                                 [&](const DesignControl &s, const DesignControl &) {
                                   if (s.tag == c->tag) found = s.clone();
                                 });
    return found;
  }
  DesignButton shownButton(const PreviewSession &preview, const DesignControl *c) {
    auto s = shown(&preview, c);
    return s ? *controlCast<DesignButton>(s.get()) : DesignButton();
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

  preview.mouseDown(b);
  EXPECT_EQ(preview.pressed(), b);
  EXPECT_EQ(lines(preview), QStringList{"Button1 MouseDown: DOWN"});
  preview.mouseUp(true);
  EXPECT_EQ(preview.pressed(), nullptr);
  EXPECT_TRUE(preview.isOn(b));
  EXPECT_EQ(shownButton(preview, b).backColor, kYellow);
  EXPECT_EQ(lines(preview), (QStringList{"Button1 MouseDown: DOWN", "Button1 MouseUp: UP",
                                         "Button1 Click: CLICK"}));

  clickIn(preview, b);
  EXPECT_FALSE(preview.isOn(b));
  EXPECT_EQ(shownButton(preview, b).backColor, kGrey);
  EXPECT_EQ(preview.log().size(), 6u);

  // The model keeps its stored state and colour throughout.
  EXPECT_EQ(record(b).state, "Off");
  EXPECT_EQ(controlCast<DesignButton>(b)->backColor, kGrey);
}

TEST_F(PreviewTest, OnlyAnEnabledButtonReleasedOverItselfIsClicked) {
  DesignControl *released = button(), *disabled = button(), *silent = button("", "", "");
  DesignControl *label = add(0, 0, 1000, 300, ControlKind::Label);
  record(disabled).enabled = false;
  PreviewSession preview(panel);

  preview.mouseDown(released);
  preview.mouseUp(false);  // released elsewhere: no Click, no toggle
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
  EXPECT_EQ(shownButton(preview, disabled).foreColor, 0x808080);

  // Empty command texts send nothing, but the button still toggles.
  clickIn(preview, silent);
  EXPECT_TRUE(preview.isOn(silent));
  EXPECT_TRUE(preview.log().empty());

  preview.mouseUp(true);  // a release without a press does nothing
  EXPECT_TRUE(preview.log().empty());
}

TEST_F(PreviewTest, TheToggledStateShowsThePicturesOfThatState) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  model().defaultPictureFolder = dir.path();
  for (const char *name : {"upon.png", "upoff.png", "downon.png", "downoff.png"}) {
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(image.save(dir.filePath(name)));
  }
  DesignControl *b = button();
  ControlRecord &r = record(b);
  r.pictureUpOn = "upon.png";
  r.pictureUpOff = "upoff.png";
  r.pictureDownOn = "downon.png";
  r.pictureDownOff = "downoff.png";
  r.state = "ON";  // any case
  r.backColorOn = "&HFF0000";
  panel.setControlGraphics(r);
  panel.setNeedToSave(false);
  PreviewSession preview(panel);
  EXPECT_TRUE(preview.isOn(b));

  preview.mouseDown(b);  // held down: the pressed picture of the state shown
  EXPECT_EQ(shownButton(preview, b).picture, dir.filePath("downon.png"));
  preview.mouseUp(true);
  DesignButton off = shownButton(preview, b);
  EXPECT_EQ(off.picture, dir.filePath("upoff.png"));
  EXPECT_EQ(off.downPicture, dir.filePath("downoff.png"));
  EXPECT_EQ(off.backColor, kGrey);

  // A picture changed while previewing shows at once.
  ASSERT_TRUE(QFile::copy(dir.filePath("upon.png"), dir.filePath("other.png")));
  r.pictureUpOff = "other.png";
  panel.notify(PanelEditor::Properties);
  EXPECT_EQ(shownButton(preview, b).picture, dir.filePath("other.png"));

  clickIn(preview, b);
  const DesignButton on = shownButton(preview, b);
  EXPECT_EQ(on.picture, dir.filePath("upon.png"));
  EXPECT_EQ(on.backColor, kBlue);
  EXPECT_EQ(controlCast<DesignButton>(b)->picture, dir.filePath("upon.png"));
}

TEST_F(PreviewTest, FlashingControlsAlternateTogetherWhateverTheirState) {
  DesignControl *plain = button(), *toggled = button(), *steady = button();
  DesignControl *label = add(0, 0, 1000, 300, ControlKind::Label);
  for (DesignControl *c : {plain, toggled, label}) {
    record(c).flash = true;
    record(c).backColorOn = "&HFF0000";
    record(c).backColorOff = "&H00FF00";
  }
  PreviewSession preview(panel);
  clickIn(preview, toggled);
  for (int tick = 0; tick < 4; ++tick) {
    panel.flashTick();
    const qint32 expected = panel.flashPhase() ? kBlue : 0x00FF00;
    EXPECT_EQ(shownButton(preview, plain).backColor, expected) << tick;
    EXPECT_EQ(shownButton(preview, toggled).backColor, expected) << tick;
    EXPECT_EQ(controlCast<DesignLabel>(shown(&preview, label).get())->backColor, expected) << tick;
    // Design shows the same flash, and the model's own colour otherwise.
    EXPECT_EQ(controlCast<DesignButton>(shown(nullptr, toggled).get())->backColor, expected)
        << tick;
    EXPECT_EQ(controlCast<DesignButton>(shown(nullptr, steady).get())->backColor, kGrey) << tick;
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
    preview.meterTick();
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
  EXPECT_EQ(controlCast<DesignMeter>(shown(&preview, meter).get())->meter.levelLeft,
            preview.meterLevel(meter, 0));
  EXPECT_EQ(controlCast<DesignMeter>(meter)->meter.levelLeft, kMeterSilence);  // the model's stays
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
  preview.mouseDown(b);
  preview.meterTick();
  click(b);  // selected the design way
  ui.answers.push_back(Ui::Answer::Yes);
  panel.deleteSelected();
  ASSERT_TRUE(model().Controls(ControlKind::Button).empty());
  EXPECT_EQ(preview.pressed(), nullptr);
  preview.mouseUp(true);
  EXPECT_EQ(preview.log().size(), 1u);
}

TEST_F(PreviewTest, LeavingPreviewLeavesThePanelAsItWas) {
  DateTimeStamp::setClock([] { return QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)); });
  DesignControl *b = button(), *flashing = button();
  record(flashing).flash = true;
  add(0, 0, 400, 1500, ControlKind::Meter);
  panel.dropFromPalette("MasterMeterFader", 3000, 0, 0, 0);
  panel.setNeedToSave(false);
  const QString before = buildPanelDocument(model(), false);
  {
    PreviewSession preview(panel);
    clickIn(preview, b);
    clickIn(preview, flashing);
    preview.mouseDown(b);
    for (int tick = 0; tick < 5; ++tick) {
      preview.meterTick();
      panel.flashTick();
    }
  }
  EXPECT_EQ(buildPanelDocument(model(), false), before);
  EXPECT_FALSE(panel.needToSave());
  DateTimeStamp::setClock({});
}

}  // namespace
