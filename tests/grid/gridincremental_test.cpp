// Names, captions and hardware buttons numbered over a multiple selection.
#include "gridfixture.h"

namespace {
const QString kNameQuestion =
    "Multiple controls are selected.  Would you like to name them incrementally?";
const QString kRevert = "The selected name is already in use.  Reverting to original name.";
}  // namespace

TEST_F(GridTest, NamesFollowReadingOrderThenSelectionOrder) {
  auto *a = add<DesignLabel>("A", 100, 500);
  auto *b = add<DesignLabel>("B", 900, 200);
  auto *c = add<DesignLabel>("C", 300, 200);
  auto *d = add<DesignLabel>("D", 300, 200);  // same place as C, selected after it
  select({a, b, c, d});
  ui.answers = {Ui::Answer::Yes};
  edit(CommonRow::Name, "Out1");
  EXPECT_EQ(ui.messages.at(0).text, kNameQuestion);
  EXPECT_EQ(ui.messages.at(0).buttons, Ui::Buttons::YesNo);
  EXPECT_EQ(c->tag, "Out1");
  EXPECT_EQ(d->tag, "Out2");
  EXPECT_EQ(b->tag, "Out3");
  EXPECT_EQ(a->tag, "Out4");
  EXPECT_EQ(record(b).hwMapInternalName(), "Studio.Out3");
  EXPECT_TRUE(panel.fillPropertiesTimer.isActive());
}

TEST_F(GridTest, NumberingLeavesKeptControlsTheirNames) {
  auto *a = add<DesignLabel>("A", 100, 500);
  auto *kept = add<DesignKept>("Codec1", 100, 100);
  select({a, kept});
  show(a);
  ui.answers = {Ui::Answer::Yes};
  edit(CommonRow::Name, "Out1");
  EXPECT_EQ(a->tag, "Out1");
  EXPECT_EQ(kept->tag, "Codec1");
}

TEST_F(GridTest, IncrementalNamesStepOverNamesInUse) {
  add<DesignButton>("Mic");
  add<DesignLabel>("mic1");  // names clash without regard to case
  auto *x = add<DesignButton>("X", 0, 1000);
  auto *y = add<DesignButton>("Y", 2000, 1000);
  select({x, y});
  ui.answers = {Ui::Answer::Yes};
  edit(CommonRow::Name, "Mic");
  EXPECT_EQ(x->tag, "Mic2");
  EXPECT_EQ(y->tag, "Mic3");
}

TEST_F(GridTest, AnsweringNoRenamesOnlyTheShownControl) {
  add<DesignButton>("Taken");
  auto *x = add<DesignButton>("X");
  auto *y = add<DesignButton>("Y");
  select({x, y});
  ui.answers = {Ui::Answer::No};
  edit(CommonRow::Name, "Fresh Name");
  EXPECT_EQ(x->tag, "Fresh_Name");
  EXPECT_EQ(y->tag, "Y");
  EXPECT_EQ(value(ButtonRow::InternalName), "Studio.Fresh_Name");
  EXPECT_EQ(record(x).hwMapInternalName(), "Studio.Fresh_Name");

  show(x);
  ui.answers = {Ui::Answer::No};
  edit(CommonRow::Name, "TAKEN");
  EXPECT_EQ(x->tag, "Fresh_Name");
  EXPECT_EQ(value(CommonRow::Name), "Fresh_Name");
  EXPECT_EQ(ui.messageTexts().last(), kRevert);
}

TEST_F(GridTest, SingleControlIsRenamedWithoutAQuestion) {
  auto *meter = add<DesignMeter>("M1");
  select({meter});
  edit(CommonRow::Name, "Meter(L)");
  EXPECT_EQ(meter->tag, "Meter_L_");
  EXPECT_TRUE(ui.messages.empty());

  edit(CommonRow::Name, "");  // a control keeps a name
  EXPECT_EQ(meter->tag, "Meter_L_");
  EXPECT_EQ(value(CommonRow::Name), "Meter_L_");
}

TEST_F(GridTest, CaptionsNumberButtonsAndLabelsAndKeepLineBreaks) {
  auto *b1 = add<DesignButton>("B1", 0, 0);
  auto *b2 = add<DesignButton>("B2", 2000, 0);
  auto *l3 = add<DesignLabel>("L3", 4000, 0);
  auto *meter = add<DesignMeterFader>("F1", 6000, 0);
  select({b2, b1, l3, meter});
  ui.answers = {Ui::Answer::Yes};
  edit(CommonRow::Caption, "Line 1");
  EXPECT_EQ(b1->caption, "Line 1");
  EXPECT_EQ(b2->caption, "Line 2");
  EXPECT_EQ(l3->text, "Line 3");
  EXPECT_EQ(meter->meterName, "");

  ui.answers = {Ui::Answer::No};
  edit(CommonRow::Caption, "A\\nB");
  EXPECT_EQ(b2->caption, "A\r\nB");
  EXPECT_EQ(b1->caption, "Line 1");

  ui.answers = {Ui::Answer::Yes};
  edit(CommonRow::Caption, "A\\nB");
  EXPECT_EQ(b1->caption, "A\r\nB");
  EXPECT_EQ(l3->text, "A\r\nB2");
}

TEST_F(GridTest, MappingButtonsAreNumberedOnEachControlsModule) {
  auto *b1 = add<DesignButton>("B1", 0, 0);
  auto *b2 = add<DesignButton>("B2", 2000, 0);
  auto *l3 = add<DesignLabel>("L3", 4000, 0);
  record(b1).hwMapAoipSysName = "MOD_USER#1.BUT#1";
  record(b2).hwMapAoipSysName = "MOD_USER#2.BUT#1";
  record(l3).hwMapType = "GPIOButton";
  record(l3).hwMapAoipSysName = "Port4_Circuit1";
  select({b1, b2, l3});
  ui.answers = {Ui::Answer::Yes};
  edit(ButtonRow::Pin, "DISP");
  EXPECT_EQ(record(b1).hwMapAoipSysName, "MOD_USER#1.DISP");
  EXPECT_EQ(record(b2).hwMapAoipSysName, "MOD_USER#2.DISP1");
  EXPECT_EQ(record(l3).hwMapAoipSysName, "Port4_Circuit0");  // "DISP2" is no circuit

  ui.answers = {Ui::Answer::Yes};
  edit(ButtonRow::Pin, "5");
  EXPECT_EQ(record(b1).hwMapAoipSysName, "MOD_USER#1.BUT#5");
  EXPECT_EQ(record(b2).hwMapAoipSysName, "MOD_USER#2.BUT#6");
  EXPECT_EQ(record(l3).hwMapAoipSysName, "Port4_Circuit7");
}

TEST_F(GridTest, MappingButtonWithoutACodeTakesTheModuleShown) {
  auto *b = add<DesignButton>("B");
  select({b});
  grid.setTextMatrix(ButtonRow::Module, 1, "USER#4");
  edit(ButtonRow::Pin, "3");
  EXPECT_EQ(record(b).hwMapAoipSysName, "MOD_USER#4.BUT#3");

  grid.setTextMatrix(ButtonRow::Module, 1, "");
  record(b).hwMapAoipSysName.clear();
  edit(ButtonRow::Pin, "3");  // nowhere to put a button number
  EXPECT_EQ(record(b).hwMapAoipSysName, "");
  EXPECT_EQ(ui.messageTexts(), QStringList{"Error changing the property"});
}
