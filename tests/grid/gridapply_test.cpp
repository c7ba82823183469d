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
      c->Width = 1000;
      c->Height = 500;
    }
  }
  ResizeFrame &frameOf(DesignControl *c) {
    return *panel.model().Frame(record(c).lngPictResizeIndex);
  }

  DesignButton *b1, *b2, *b3;
  DesignLabel *lbl;
};

TEST_F(GridApplyTest, GeometryGoesToEverySelectedControlAndItsFrame) {
  select({b1, b2, b3});
  edit(CommonRow::Width, "2000");
  edit(CommonRow::Top, "150");
  for (auto *b : {b1, b2, b3}) {
    EXPECT_EQ(b->Width, 2000);
    EXPECT_EQ(frameOf(b).Width, 2150);
    EXPECT_EQ(b->Top, 150);
    EXPECT_EQ(frameOf(b).Top, 75);
  }
  EXPECT_EQ(lbl->Width, 1000);  // not selected
}

// An edit that changes nothing is no undo step and leaves the panel unmarked.
TEST_F(GridApplyTest, TextInANumberRowChangesNothing) {
  select({b1, b2});
  panel.setNeedToSave(false);
  const int steps = panel.undoStack().count();
  edit(CommonRow::Top, "abc");
  EXPECT_EQ(b1->Top, 0);
  EXPECT_EQ(b2->Top, 0);
  EXPECT_FALSE(panel.NeedToSave());
  EXPECT_EQ(panel.undoStack().count(), steps);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(GridApplyTest, StateIsStoredCapitalisedAndShowsEachControlsColour) {
  record(b2).BackColorOn = "Red";
  select({b1, b2, lbl});
  edit(ButtonRow::State, "on");
  EXPECT_EQ(value(ButtonRow::State), "On");
  EXPECT_EQ(record(b1).State, "On");
  EXPECT_EQ(record(lbl).State, "On");
  EXPECT_EQ(b1->BackColor, GetColorValue("Yellow"));
  EXPECT_EQ(b2->BackColor, GetColorValue("Red"));  // its own on colour
  EXPECT_EQ(record(b3).State, "Off");              // not selected
}

TEST_F(GridApplyTest, ColourRowsStoreTextAndShowTheColourOfTheState) {
  record(b2).State = "On";
  select({b1, b2});
  edit(ButtonRow::BackColorOff, "&H0000FF");
  EXPECT_EQ(record(b1).BackColorOff, "&H0000FF");
  EXPECT_EQ(record(b2).BackColorOff, "&H0000FF");
  EXPECT_EQ(b1->BackColor, 0x0000FF);                 // off: shows the new colour
  EXPECT_EQ(b2->BackColor, GetColorValue("Yellow"));  // on: keeps its on colour

  show(lbl);
  panel.collSelectedControls = {lbl};
  edit(ButtonRow::ForeColor, "Blue");
  EXPECT_EQ(record(lbl).ForeColor, "Blue");
  EXPECT_EQ(lbl->ForeColor, 0xFF0000);
}

TEST_F(GridApplyTest, DecimalColoursAreKeptInAFormTheFileReadsBackAlike) {
  // The panel file takes prefix-less digits as hex; a typed decimal number
  // must not come back from a save as another colour.
  select({b1});
  edit(ButtonRow::BackColorOff, "255");
  EXPECT_EQ(record(b1).BackColorOff, "&H0000FF");
  EXPECT_EQ(b1->BackColor, 255);
  edit(ButtonRow::BackColorOff, "FF00FF");  // bare hex stays as typed
  EXPECT_EQ(record(b1).BackColorOff, "FF00FF");
  EXPECT_EQ(b1->BackColor, 0xFF00FF);
}

TEST_F(GridApplyTest, FlashOffRestoresTheStateColour) {
  record(b1).Flash = true;
  b1->BackColor = GetColorValue("Yellow");  // caught mid-flash
  select({b1});
  edit(ButtonRow::Flash, "OFF");
  EXPECT_EQ(value(ButtonRow::Flash), "Off");
  EXPECT_FALSE(record(b1).Flash);
  EXPECT_EQ(b1->BackColor, GetColorValue(record(b1).BackColorOff));
}

TEST_F(GridApplyTest, RowsApplyOnlyToTheClassesTheySuit) {
  auto *meter = add<DesignMeter>("M1");
  select({b1, lbl, meter});
  edit(ButtonRow::OnClick, "GO");    // any class
  edit(ButtonRow::MapRouter, "R1");  // buttons only
  edit(ButtonRow::FontSize, "12");   // buttons and labels
  edit(ButtonRow::Enabled, "false");
  EXPECT_EQ(record(meter).Click, "GO");
  EXPECT_EQ(record(lbl).Click, "GO");
  EXPECT_EQ(record(b1).MapRouter, "R1");
  EXPECT_EQ(record(lbl).MapRouter, "");
  EXPECT_EQ(b1->Font.size, 12);
  EXPECT_EQ(lbl->Font.size, 12);
  EXPECT_FALSE(record(meter).Enabled);
}

TEST_F(GridApplyTest, UnreadableValueReportsTheErrorAndKeepsWhatWasApplied) {
  select({b1, b2});
  edit(ButtonRow::FontBold, "maybe");
  edit(CommonRow::Width, "-5");
  EXPECT_EQ(ui.messageTexts(),
            QStringList({"Error changing the property", "Error changing the property"}));
  EXPECT_TRUE(b1->Font.bold);
  EXPECT_EQ(b1->Width, 1000);
  EXPECT_TRUE(panel.NeedToSave());
}

TEST_F(GridApplyTest, HardwareTypeSetsThePortAndClearsTheCode) {
  record(b1).HWMapAoipSysName = "MOD_USER#1.BUT#2";
  record(lbl).HWMapAoipSysName = "MOD_USER#1.DISP";
  select({b1, lbl});
  edit(ButtonRow::MapType, "GPIOButton");
  for (auto *c : std::initializer_list<DesignControl *>{b1, lbl}) {
    EXPECT_EQ(record(c).HWMapType, "GPIOButton");
    EXPECT_EQ(record(c).HWMapHostPort, "93");
    EXPECT_EQ(record(c).HWMapAoipSysName, "");
  }
  EXPECT_EQ(value(ButtonRow::HostPort), "93");
  EXPECT_EQ(label(ButtonRow::Module), "GPIO Port");
  EXPECT_EQ(label(ButtonRow::Pin), "GPIO Circuit");

  edit(ButtonRow::MapType, "Button");
  EXPECT_EQ(record(b1).HWMapHostPort, "4010");
  EXPECT_EQ(label(ButtonRow::Module), "User Panel Module");
}

TEST_F(GridApplyTest, LabelHardwareTypeStoresTheTypeBehindTheShownWord) {
  select({lbl});
  edit(LabelRow::MapType, "GPIO");
  EXPECT_EQ(record(lbl).HWMapType, "GPIOButton");
  EXPECT_EQ(record(lbl).HWMapHostPort, "93");
  EXPECT_EQ(grid.StartEdit(LabelRow::Module, 1).list, "1|2|3|4|5|6|7|8");
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
    record(b1).HWMapType = c.type;
    show(b1);
    grid.setTextMatrix(ButtonRow::Pin, 1, c.button);
    edit(ButtonRow::Module, c.module);
    EXPECT_EQ(record(b1).HWMapAoipSysName, c.code);
    EXPECT_EQ(value(ButtonRow::MappingCode), c.code);
    show(b1);
    EXPECT_EQ(value(ButtonRow::Module), c.shownModule);
    EXPECT_EQ(value(ButtonRow::Pin), c.shownButton);
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(GridApplyTest, NewModuleKeepsEachSelectedControlsOwnButton) {
  record(b1).HWMapAoipSysName = "MOD_USER#1.BUT#4";
  record(b2).HWMapAoipSysName = "MOD_USER#1.DISP";
  record(b3).HWMapType = "GPIOButton";  // follows the shown control's type
  select({b1, b2, b3});
  edit(ButtonRow::Module, "ACCESS#9");
  EXPECT_EQ(record(b1).HWMapAoipSysName, "MOD_ACCESS#9.BUT#4");
  EXPECT_EQ(record(b2).HWMapAoipSysName, "MOD_ACCESS#9.DISP");
  EXPECT_EQ(record(b3).HWMapAoipSysName, "MOD_ACCESS#9.BUT#4");  // empty code: the rows' code
  EXPECT_EQ(record(b3).HWMapType, "Button");
}

TEST_F(GridApplyTest, NewModuleKeepsKeyTextsTheDecoderCannotShow) {
  select({b1, b2, b3});
  ui.answers = {Ui::Answer::Yes};
  edit(ButtonRow::Module, "USER#1");
  edit(ButtonRow::Pin, "DISP");  // numbered DISP, DISP1, DISP2
  ASSERT_EQ(record(b2).HWMapAoipSysName, "MOD_USER#1.DISP1");

  struct ModuleCase {
    DesignButton *shown;
    const char *module;
  };
  for (const ModuleCase &c : {ModuleCase{b1, "ACCESS#9"}, ModuleCase{b2, "USER#4"}}) {
    SCOPED_TRACE(c.module);
    show(c.shown);  // "DISP1" shows as an empty button row
    edit(ButtonRow::Module, c.module);
    const QString head = QStringLiteral("MOD_") + c.module;
    EXPECT_EQ(record(b1).HWMapAoipSysName, head + ".DISP");
    EXPECT_EQ(record(b2).HWMapAoipSysName, head + ".DISP1");
    EXPECT_EQ(record(b3).HWMapAoipSysName, head + ".DISP2");
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
    EXPECT_EQ(record(c).MeterScale, 2);
    EXPECT_EQ(record(c).MeterStyle, 1);
    EXPECT_EQ(record(c).LevelLineColor, "Red");
    EXPECT_EQ(record(c).CenterPad, -6);
    EXPECT_FALSE(record(c).MeterIsSource);
  }
  EXPECT_EQ(meter->Meter.MeterScale, 2);
  EXPECT_EQ(fader->Meter.LevelLineColor, 0x0000FF);
  EXPECT_EQ(record(meter).MeterRouterNumber, 0);

  show(fader);
  edit(MeterRow::CenterPadOrNominal, "-2.5");
  edit(MeterRow::HideGainValue, "True");
  EXPECT_FLOAT_EQ(fader->FaderNominal, -2.5f);
  EXPECT_TRUE(fader->HideGainValue);
  EXPECT_TRUE(record(fader).HideGainValue);
}

TEST_F(GridApplyTest, ClockRowsSetTheClocksOwnProperties) {
  auto *clock = add<DesignClock>("C1");
  clock->Width = 1600;
  clock->Height = 1000;
  select({clock});
  edit(ClockRow::BackColor, "&HFF");
  edit(ClockRow::Military, "False");
  edit(ClockRow::FontSize, "14");
  edit(ClockRow::OffSet, "-5");
  edit(ClockRow::Digital, "True");
  EXPECT_EQ(clock->BackgroundColor, 255);
  EXPECT_FALSE(clock->Military);
  EXPECT_EQ(clock->FontSize, 14);
  EXPECT_EQ(clock->OffSet, -5);
  EXPECT_TRUE(clock->Digital);
  EXPECT_EQ(frameOf(clock).Width, 1150);
  EXPECT_EQ(frameOf(clock).Height, 1150);
}

TEST_F(GridApplyTest, PanelRenameFollowsIntoCaptionAndInternalNames) {
  panel.model().pictMain.Tag = "Panel3";
  panel.setCaption("Panel3");
  show(&panel.model().pictMain);
  edit(CommonRow::Name, "Studio A");
  EXPECT_EQ(panel.model().pictMain.Tag, "Studio_A");
  EXPECT_EQ(value(CommonRow::Name), "Studio_A");
  EXPECT_EQ(panel.caption(), "Studio_A");
  EXPECT_EQ(record(b1).HWMapInternalName(), "Studio_A.B1");
  EXPECT_EQ(record(lbl).HWMapInternalName(), "Studio_A.L1");

  panel.setCaption("Morning Show");
  show(&panel.model().pictMain);
  edit(CommonRow::Name, "Evening");
  EXPECT_EQ(panel.model().pictMain.Tag, "Evening");
  EXPECT_EQ(panel.caption(), "Morning Show");
}

TEST_F(GridApplyTest, EmptyPanelNameIsReverted) {
  show(b1);  // gives B1 its internal name
  show(&panel.model().pictMain);
  edit(CommonRow::Name, "");
  EXPECT_EQ(panel.model().pictMain.Tag, "Studio");
  EXPECT_EQ(value(CommonRow::Name), "Studio");
  EXPECT_EQ(panel.caption(), "Studio");
  EXPECT_EQ(record(b1).HWMapInternalName(), "Studio.B1");
}

// A typed name the files' code page cannot hold would be stored as "?" and
// meet other names so stored: it is refused, panel and control alike.
TEST_F(GridApplyTest, NamesTheFilesCannotHoldAreRefused) {
  const QString refused =
      "The name \"Studio_日本\" holds characters a panel file cannot "
      "store (日本).  Reverting to original name.";
  show(b1);
  edit(CommonRow::Name, "Studio 日本");
  EXPECT_EQ(b1->Tag, "B1");
  EXPECT_EQ(value(CommonRow::Name), "B1");
  EXPECT_EQ(record(b1).HWMapInternalName(), "Studio.B1");
  show(&panel.model().pictMain);
  edit(CommonRow::Name, "Studio 日本");
  EXPECT_EQ(panel.model().pictMain.Tag, "Studio");
  EXPECT_EQ(value(CommonRow::Name), "Studio");
  EXPECT_EQ(ui.messageTexts(), QStringList({refused, refused}));
  edit(CommonRow::Name, "Studio – Süd");  // Windows-1252 holds these
  EXPECT_EQ(panel.model().pictMain.Tag, "Studio_–_Süd");
}

TEST_F(GridApplyTest, PanelRowsSetWindowAndCanvas) {
  show(&panel.model().pictMain);
  edit(MainRow::Width, "12000");
  edit(MainRow::Height, "tall");  // ignored
  edit(MainRow::BackColor, "Green");
  edit(MainRow::OnLoad, "START");
  EXPECT_EQ(panel.model().Width, 12000);
  EXPECT_EQ(panel.model().pictMain.Width, 12000 - frmPanel::kWindowFrameWidth);
  EXPECT_EQ(panel.model().Height, 7200);
  EXPECT_EQ(panel.model().pictMain.BackColor, 0x00FF00);
  EXPECT_EQ(panel.model().PanelDetails.strOnload, "START");
  show(&panel.model().pictMain);
  EXPECT_EQ(value(MainRow::Width), "12000");
}

TEST_F(GridApplyTest, EditsOfADeletedControlDoNothing) {
  select({b1});
  panel.collSelectedControls.clear();
  panel.model().PanelDetails.CollControls.erase(panel.model().PanelDetails.CollControls.begin());
  panel.model().UnloadControl(b1);
  edit(ButtonRow::OnClick, "GO");
  for (auto &r : panel.model().PanelDetails.CollControls) EXPECT_EQ(r->Click, "");
}
