// Applying typed values to the shown control and to the selection.
#include "gridfixture.h"
#include "hwmap/mappingcode.h"
#include "model/colors.h"

class GridApplyTest : public GridTest {
 protected:
  GridApplyTest() {
    b1 = add<DesignButton>("B1", 0, 0);
    b2 = add<DesignButton>("B2", 2000, 0);
    b3 = add<DesignButton>("B3", 4000, 0);
    lbl = add<DesignLabel>("L1", 0, 1000);
    for (auto *c : std::initializer_list<DesignControl *>{b1, b2, b3, lbl}) {
      c->width = 1000;
      c->height = 500;
    }
  }
  ResizeFrame &frameOf(DesignControl *c) { return *panel.model().frame(record(c).frameIndex); }

  DesignButton *b1, *b2, *b3;
  DesignLabel *lbl;
};

TEST_F(GridApplyTest, GeometryGoesToEverySelectedControlAndItsFrame) {
  select({b1, b2, b3});
  edit(CommonRow::Width, "2000");
  edit(CommonRow::Top, "150");
  for (auto *b : {b1, b2, b3}) {
    EXPECT_EQ(b->width, 2000);
    EXPECT_EQ(frameOf(b).width, 2150);
    EXPECT_EQ(b->top, 150);
    EXPECT_EQ(frameOf(b).top, 75);
  }
  EXPECT_EQ(lbl->width, 1000);  // not selected
}

// An edit that changes nothing is no undo step and leaves the panel unmarked.
TEST_F(GridApplyTest, TextInANumberRowChangesNothing) {
  select({b1, b2});
  panel.setNeedToSave(false);
  const int steps = panel.undoStack().count();
  edit(CommonRow::Top, "abc");
  EXPECT_EQ(b1->top, 0);
  EXPECT_EQ(b2->top, 0);
  EXPECT_FALSE(panel.needToSave());
  EXPECT_EQ(panel.undoStack().count(), steps);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(GridApplyTest, StateIsStoredCapitalisedAndShowsEachControlsColour) {
  record(b2).backColorOn = "Red";
  select({b1, b2, lbl});
  edit(ButtonRow::State, "on");
  EXPECT_EQ(value(ButtonRow::State), "On");
  EXPECT_EQ(record(b1).state, "On");
  EXPECT_EQ(record(lbl).state, "On");
  EXPECT_EQ(b1->backColor, colorValue("Yellow"));
  EXPECT_EQ(b2->backColor, colorValue("Red"));  // its own on colour
  EXPECT_EQ(record(b3).state, "Off");           // not selected
}

TEST_F(GridApplyTest, ColourRowsStoreTextAndShowTheColourOfTheState) {
  record(b2).state = "On";
  select({b1, b2});
  edit(ButtonRow::BackColorOff, "&H0000FF");
  EXPECT_EQ(record(b1).backColorOff, "&H0000FF");
  EXPECT_EQ(record(b2).backColorOff, "&H0000FF");
  EXPECT_EQ(b1->backColor, 0x0000FF);              // off: shows the new colour
  EXPECT_EQ(b2->backColor, colorValue("Yellow"));  // on: keeps its on colour

  show(lbl);
  panel.selectControls({lbl}, lbl);
  edit(ButtonRow::ForeColor, "Blue");
  EXPECT_EQ(record(lbl).foreColor, "Blue");
  EXPECT_EQ(lbl->foreColor, 0xFF0000);
}

TEST_F(GridApplyTest, DecimalColoursAreKeptInAFormTheFileReadsBackAlike) {
  // The panel file takes prefix-less digits as hex; a typed decimal number
  // must not come back from a save as another colour.
  select({b1});
  edit(ButtonRow::BackColorOff, "255");
  EXPECT_EQ(record(b1).backColorOff, "&H0000FF");
  EXPECT_EQ(b1->backColor, 255);
  edit(ButtonRow::BackColorOff, "FF00FF");  // bare hex stays as typed
  EXPECT_EQ(record(b1).backColorOff, "FF00FF");
  EXPECT_EQ(b1->backColor, 0xFF00FF);
}

TEST_F(GridApplyTest, FlashOffRestoresTheStateColour) {
  record(b1).flash = true;
  b1->backColor = colorValue("Yellow");  // caught mid-flash
  select({b1});
  edit(ButtonRow::Flash, "OFF");
  EXPECT_EQ(value(ButtonRow::Flash), "Off");
  EXPECT_FALSE(record(b1).flash);
  EXPECT_EQ(b1->backColor, colorValue(record(b1).backColorOff));
}

TEST_F(GridApplyTest, RowsApplyOnlyToTheClassesTheySuit) {
  auto *meter = add<DesignMeter>("M1");
  select({b1, lbl, meter});
  edit(ButtonRow::OnClick, "GO");    // any class
  edit(ButtonRow::MapRouter, "R1");  // buttons only
  edit(ButtonRow::FontSize, "12");   // buttons and labels
  edit(ButtonRow::Enabled, "false");
  EXPECT_EQ(record(meter).click, "GO");
  EXPECT_EQ(record(lbl).click, "GO");
  EXPECT_EQ(record(b1).mapRouter, "R1");
  EXPECT_EQ(record(lbl).mapRouter, "");
  EXPECT_EQ(b1->font.size, 12);
  EXPECT_EQ(lbl->font.size, 12);
  EXPECT_FALSE(record(meter).enabled);
}

TEST_F(GridApplyTest, UnreadableValueReportsTheErrorAndKeepsWhatWasApplied) {
  select({b1, b2});
  edit(ButtonRow::FontBold, "maybe");
  edit(CommonRow::Width, "-5");
  EXPECT_EQ(ui.messageTexts(),
            QStringList({"Error changing the property", "Error changing the property"}));
  EXPECT_TRUE(b1->font.bold);
  EXPECT_EQ(b1->width, 1000);
  EXPECT_TRUE(panel.needToSave());
}

TEST_F(GridApplyTest, HardwareTypeSetsThePortAndClearsTheCode) {
  record(b1).hwMapAoipSysName = "MOD_USER#1.BUT#2";
  record(lbl).hwMapAoipSysName = "MOD_USER#1.DISP";
  select({b1, lbl});
  edit(ButtonRow::MapType, "GPIOButton");
  for (auto *c : std::initializer_list<DesignControl *>{b1, lbl}) {
    EXPECT_EQ(record(c).hwMapType, "GPIOButton");
    EXPECT_EQ(record(c).hwMapHostPort, "93");
    EXPECT_EQ(record(c).hwMapAoipSysName, "");
  }
  EXPECT_EQ(value(ButtonRow::HostPort), "93");
  EXPECT_EQ(label(ButtonRow::Module), "GPIO Port");
  EXPECT_EQ(label(ButtonRow::Pin), "GPIO Circuit");

  edit(ButtonRow::MapType, "Button");
  EXPECT_EQ(record(b1).hwMapHostPort, "4010");
  EXPECT_EQ(label(ButtonRow::Module), "User Panel Module");
}

TEST_F(GridApplyTest, LabelHardwareTypeStoresTheTypeBehindTheShownWord) {
  select({lbl});
  edit(LabelRow::MapType, "GPIO");
  EXPECT_EQ(record(lbl).hwMapType, "GPIOButton");
  EXPECT_EQ(record(lbl).hwMapHostPort, "93");
  EXPECT_EQ(grid.startEdit(LabelRow::Module, 1).list, "1|2|3|4|5|6|7|8");
  show(lbl);
  EXPECT_EQ(value(LabelRow::MapType), "GPIO");
}

TEST_F(GridApplyTest, ModuleAndButtonRowsBuildMappingCodesTheDecodersReadBack) {
  struct CodeCase {
    const char *type, *module, *button, *code, *shownModule, *shownButton;
  };
  const CodeCase cases[] = {
      {"Button", "USER#3", "DISP", "MOD_USER#3.DISP", "USER#3", "DISP"},
      {"Button", "USER#3", "12", "MOD_USER#3.BUT#12", "USER#3", "12"},
      {"Label", " ACCESS#5 ", "007", "MOD_ACCESS#5.BUT#7", "ACCESS#5", "7"},
      {"GPIOButton", "2", "5", "Port2_Circuit5", "2", "5"},
      {"GPIOButton", "2", "", "Port2_Circuit0", "2", "0"},
  };
  select({b1});
  for (const CodeCase &c : cases) {
    SCOPED_TRACE(c.code);
    record(b1).hwMapType = c.type;
    show(b1);
    grid.setTextMatrix(ButtonRow::Pin, 1, c.button);
    edit(ButtonRow::Module, c.module);
    EXPECT_EQ(record(b1).hwMapAoipSysName, c.code);
    EXPECT_EQ(value(ButtonRow::MappingCode), c.code);
    show(b1);
    EXPECT_EQ(value(ButtonRow::Module), c.shownModule);
    EXPECT_EQ(value(ButtonRow::Pin), c.shownButton);
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(GridApplyTest, NewModuleKeepsEachSelectedControlsOwnButton) {
  record(b1).hwMapAoipSysName = "MOD_USER#1.BUT#4";
  record(b2).hwMapAoipSysName = "MOD_USER#1.DISP";
  record(b3).hwMapType = "GPIOButton";  // follows the shown control's type
  select({b1, b2, b3});
  edit(ButtonRow::Module, "ACCESS#9");
  EXPECT_EQ(record(b1).hwMapAoipSysName, "MOD_ACCESS#9.BUT#4");
  EXPECT_EQ(record(b2).hwMapAoipSysName, "MOD_ACCESS#9.DISP");
  EXPECT_EQ(record(b3).hwMapAoipSysName, "MOD_ACCESS#9.BUT#4");  // empty code: the rows' code
  EXPECT_EQ(record(b3).hwMapType, "Button");
}

TEST_F(GridApplyTest, NewModuleKeepsKeyTextsTheDecoderCannotShow) {
  select({b1, b2, b3});
  ui.answers = {Ui::Answer::Yes};
  edit(ButtonRow::Module, "USER#1");
  edit(ButtonRow::Pin, "DISP");  // numbered DISP, DISP1, DISP2
  ASSERT_EQ(record(b2).hwMapAoipSysName, "MOD_USER#1.DISP1");

  struct ModuleCase {
    DesignButton *shown;
    const char *module;
  };
  for (const ModuleCase &c : {ModuleCase{b1, "ACCESS#9"}, ModuleCase{b2, "USER#4"}}) {
    SCOPED_TRACE(c.module);
    show(c.shown);  // "DISP1" shows as an empty button row
    edit(ButtonRow::Module, c.module);
    const QString head = QStringLiteral("MOD_") + c.module;
    EXPECT_EQ(record(b1).hwMapAoipSysName, head + ".DISP");
    EXPECT_EQ(record(b2).hwMapAoipSysName, head + ".DISP1");
    EXPECT_EQ(record(b3).hwMapAoipSysName, head + ".DISP2");
  }
}

TEST_F(GridApplyTest, MeterRowsReachRecordAndMeter) {
  auto *meter = add<DesignMeter>("M1");
  auto *fader = add<DesignMeterFader>("F1");
  select({meter, fader});
  edit(MeterRow::Scale, "British");
  edit(MeterRow::Style, "Gradient");
  edit(MeterRow::LineColor, "Red");
  edit(MeterRow::RouterNumber, "x1");  // ignored
  edit(MeterRow::CenterPadOrNominal, "-6");
  edit(MeterRow::SourceDest, "Destination");
  for (DesignControl *c : std::initializer_list<DesignControl *>{meter, fader}) {
    EXPECT_EQ(record(c).meterScale, 2);
    EXPECT_EQ(record(c).meterStyle, 1);
    EXPECT_EQ(record(c).levelLineColor, "Red");
    EXPECT_EQ(record(c).centerPad, -6);
    EXPECT_FALSE(record(c).meterIsSource);
  }
  EXPECT_EQ(meter->meter.meterScale, 2);
  EXPECT_EQ(fader->meter.levelLineColor, 0x0000FF);
  EXPECT_EQ(record(meter).meterRouterNumber, 0);

  show(fader);
  edit(MeterRow::CenterPadOrNominal, "-2.5");
  edit(MeterRow::HideGainValue, "True");
  EXPECT_FLOAT_EQ(fader->faderNominal, -2.5f);
  EXPECT_TRUE(fader->hideGainValue);
  EXPECT_TRUE(record(fader).hideGainValue);
}

TEST_F(GridApplyTest, ClockRowsSetTheClocksOwnProperties) {
  auto *clock = add<DesignClock>("C1");
  clock->width = 1600;
  clock->height = 1000;
  select({clock});
  edit(ClockRow::BackColor, "&HFF");
  edit(ClockRow::Military, "False");
  edit(ClockRow::FontSize, "14");
  edit(ClockRow::OffSet, "-5");
  edit(ClockRow::Digital, "True");
  EXPECT_EQ(clock->backgroundColor, 255);
  EXPECT_FALSE(clock->military);
  EXPECT_EQ(clock->fontSize, 14);
  EXPECT_EQ(clock->offSet, -5);
  EXPECT_TRUE(clock->digital);
  EXPECT_EQ(frameOf(clock).width, 1150);
  EXPECT_EQ(frameOf(clock).height, 1150);
}

TEST_F(GridApplyTest, PanelRenameFollowsIntoCaptionAndInternalNames) {
  panel.model().canvas.tag = "Panel3";
  panel.setCaption("Panel3");
  show(&panel.model().canvas);
  edit(CommonRow::Name, "Studio A");
  EXPECT_EQ(panel.model().canvas.tag, "Studio_A");
  EXPECT_EQ(value(CommonRow::Name), "Studio_A");
  EXPECT_EQ(panel.caption(), "Studio_A");
  EXPECT_EQ(record(b1).hwMapInternalName(), "Studio_A.B1");
  EXPECT_EQ(record(lbl).hwMapInternalName(), "Studio_A.L1");

  panel.setCaption("Morning Show");
  show(&panel.model().canvas);
  edit(CommonRow::Name, "Evening");
  EXPECT_EQ(panel.model().canvas.tag, "Evening");
  EXPECT_EQ(panel.caption(), "Morning Show");
}

TEST_F(GridApplyTest, EmptyPanelNameIsReverted) {
  show(b1);  // gives B1 its internal name
  show(&panel.model().canvas);
  edit(CommonRow::Name, "");
  EXPECT_EQ(panel.model().canvas.tag, "Studio");
  EXPECT_EQ(value(CommonRow::Name), "Studio");
  EXPECT_EQ(panel.caption(), "Studio");
  EXPECT_EQ(record(b1).hwMapInternalName(), "Studio.B1");
}

// A typed name the files' code page cannot hold would be stored as "?" and
// meet other names so stored: it is refused, panel and control alike.
TEST_F(GridApplyTest, NamesTheFilesCannotHoldAreRefused) {
  const QString refused =
      "The name \"Studio_日本\" holds characters a panel file cannot "
      "store (日本).  Reverting to original name.";
  show(b1);
  edit(CommonRow::Name, "Studio 日本");
  EXPECT_EQ(b1->tag, "B1");
  EXPECT_EQ(value(CommonRow::Name), "B1");
  EXPECT_EQ(record(b1).hwMapInternalName(), "Studio.B1");
  show(&panel.model().canvas);
  edit(CommonRow::Name, "Studio 日本");
  EXPECT_EQ(panel.model().canvas.tag, "Studio");
  EXPECT_EQ(value(CommonRow::Name), "Studio");
  EXPECT_EQ(ui.messageTexts(), QStringList({refused, refused}));
  edit(CommonRow::Name, "Studio – Süd");  // Windows-1252 holds these
  EXPECT_EQ(panel.model().canvas.tag, "Studio_–_Süd");
}

TEST_F(GridApplyTest, PanelRowsSetWindowAndCanvas) {
  show(&panel.model().canvas);
  edit(MainRow::Width, "12000");
  edit(MainRow::Height, "tall");  // ignored
  edit(MainRow::BackColor, "Green");
  edit(MainRow::OnLoad, "START");
  EXPECT_EQ(panel.model().width, 12000);
  EXPECT_EQ(panel.model().canvas.width, 12000 - PanelEditor::kWindowFrameWidth);
  EXPECT_EQ(panel.model().height, 7200);
  EXPECT_EQ(panel.model().canvas.backColor, 0x00FF00);
  EXPECT_EQ(panel.model().panelRecord.onLoad, "START");
  show(&panel.model().canvas);
  EXPECT_EQ(value(MainRow::Width), "12000");
}

TEST_F(GridApplyTest, EditsOfADeletedControlDoNothing) {
  select({b1});
  panel.clearAllSelected();
  panel.model().panelRecord.records.erase(panel.model().panelRecord.records.begin());
  panel.model().unloadControl(b1);
  edit(ButtonRow::OnClick, "GO");
  for (auto &r : panel.model().panelRecord.records) EXPECT_EQ(r->click, "");
}
