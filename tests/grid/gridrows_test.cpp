// What the grid shows for each kind of object, and which editor each row gets.
#include <functional>
#include <map>
#include <set>

#include "gridfixture.h"
#include "model/colors.h"

namespace {

struct Cell {
  int row;
  const char *label;  // nullptr: not checked
  const char *value;  // nullptr: not checked
};

struct LayoutCase {
  const char *name;
  std::function<DesignObject *(GridTest &)> make;
  const char *kind;
  int rows;
  std::vector<Cell> cells;
};

}  // namespace

class GridLayoutTest : public GridTest {
 protected:
  void check(const LayoutCase &c) {
    SCOPED_TRACE(c.name);
    show(c.make(*this));
    EXPECT_EQ(grid.rowCount(), c.rows);
    EXPECT_EQ(label(0), "Property Name");
    EXPECT_EQ(value(0), "Property Value");
    EXPECT_EQ(value(1), c.kind);
    for (int row = 1; row < grid.rowCount(); ++row) EXPECT_FALSE(label(row).isEmpty()) << row;
    for (const Cell &cell : c.cells) {
      if (cell.label) {
        EXPECT_EQ(label(cell.row), cell.label) << "row " << cell.row;
      }
      if (cell.value) {
        EXPECT_EQ(value(cell.row), cell.value) << "row " << cell.row;
      }
    }
  }
};

TEST_F(GridLayoutTest, EveryKindShowsItsRows) {
  const std::vector<LayoutCase> cases = {
      {"panel",
       [](GridTest &t) {
         t.panel.model().canvas.backColor = 0x0000FF;
         t.panel.model().panelRecord.onLoad = "Load";
         return &t.panel.model().canvas;
       },
       "Main",
       11,
       {{2, "Name", "Studio"},
        {3, "Caption", "Studio"},
        {4, "Width", "9600"},
        {6, "Background Picture", ""},
        {7, "BackColor", "&H0000FF"},
        {9, "OnLoad", "Load"},
        {10, "Default Graphics Path", ""}}},
      {"button with an empty hardware type",
       [](GridTest &t) {
         auto *b = t.add<DesignButton>("Btn1", 300, 200);
         b->caption = "Line1\r\nLine2";
         return b;
       },
       "Button",
       37,
       {{2, "Name", "Btn1"},
        {3, "Caption", "Line1\\nLine2"},
        {6, "Top", "200"},
        {7, "Left", "300"},
        {8, "BackColorOff", "&HE0E0E0"},
        {9, "BackColorOn", "Yellow"},
        {10, "ForeColor", "Black"},
        {11, "Font Name", "Arial"},
        {12, "Font Size", "8.25"},
        {13, "Font Bold", "True"},
        {16, "State", "Off"},
        {25, "Flash", "Off"},
        {26, "Enabled", "True"},
        {30, "HWMapType", "Button"},
        {31, "HWMapHostIP", ""},
        {32, "HWMapHostPort", "4010"},
        {33, "HWMapInternalName", "Studio.Btn1"},
        {35, "UserPanel Module", ""},
        {36, "UserPanel Button", ""}}},
      {"button bound to a GPIO circuit",
       [](GridTest &t) {
         auto *b = t.add<DesignButton>("Gpio");
         t.record(b).hwMapType = "GPIOButton";
         t.record(b).hwMapAoipSysName = " Port2_Circuit5 ";
         return b;
       },
       "Button",
       37,
       {{35, "GPIO Port", "2"}, {36, "GPIO Pin", "5"}}},
      {"label",
       [](GridTest &t) {
         auto *l = t.add<DesignLabel>("Lbl");
         t.record(l).hwMapAoipSysName = "MOD_USER#3.DISP";
         return l;
       },
       "Label",
       25,
       {{3, "Caption", "Label1"},
        {10, "ForeColor", "Black"},
        {16, "State", "On"},
        {17, "Flash", "Off"},
        {18, "HardwareMapType", "UserPanel Button"},
        {20, "HardwareMapHostPort", "4010"},
        {21, "HardwareMapInternalName", "Studio.Lbl"},
        {22, "HardwareMapAoipSysName", "MOD_USER#3.DISP"},
        {23, "UserPanel Module", "USER#3"},
        {24, "UserPanel Button", "DISP"}}},
      {"web browser",
       [](GridTest &t) {
         auto *w = t.add<DesignWebBrowser>("Web");
         t.record(w).webURL = "http://studio/";
         return w;
       },
       "WebBrowser",
       9,
       {{3, "Caption", ""}, {8, "URL", "http://studio/"}}},
      {"meter with an unknown scale code",
       [](GridTest &t) {
         auto *m = t.add<DesignMeter>("Meter");
         t.record(m).meterScale = 7;
         t.record(m).meterIsSource = false;
         t.record(m).centerPad = -12;
         return m;
       },
       "Meter",
       16,
       {{3, "Caption", ""},
        {8, "Source/Dest", "Destination"},
        {11, "Scale", "Linear"},
        {12, "Style", "Led"},
        {13, "Line Color", "&HE0E0E0"},
        {15, "Center Pad", "-12"}}},
      {"meter-fader",
       [](GridTest &t) {
         auto *f = t.add<DesignMeterFader>("Fader");
         f->meterName = "Mic";
         t.record(f).meterStyle = 1;
         t.record(f).faderNominal = -2.5f;
         t.record(f).hideGainValue = true;
         return f;
       },
       "MeterFader",
       17,
       {{3, "Caption", "Mic"},
        {12, "Style", "Gradient"},
        {15, "Fader Nominal", "-2.5"},
        {16, "Hide Gain Value", "True"}}},
      {"clock",
       [](GridTest &t) {
         auto *c = t.add<DesignClock>("Clock");
         c->backgroundColor = 255;
         c->offSet = -3;
         return c;
       },
       "Clock",
       26,
       {{3, "Caption", "Clock"},
        {8, "BackColor", "&HFF"},
        {12, "24 Hour", "True"},
        {13, "Background Picture", ""},
        {20, "Long Hash Color", "&HFFFFFF"},
        {23, "Time Offset", "-3"},
        {25, "Element Hands", "False"}}},
  };
  for (const LayoutCase &c : cases) check(c);
}

TEST_F(GridLayoutTest, ShowingAControlFillsItsHardwareDefaultsWithoutMarkingThePanel) {
  auto *b = add<DesignButton>("Btn1");
  panel.setNeedToSave(false);
  show(b);
  EXPECT_EQ(record(b).hwMapType, "Button");
  EXPECT_EQ(record(b).hwMapHostPort, "4010");
  EXPECT_EQ(record(b).hwMapHostIP, "");
  EXPECT_EQ(record(b).hwMapInternalName(), "Studio.Btn1");
  EXPECT_FALSE(panel.needToSave());
}

TEST_F(GridLayoutTest, WebBrowserIsToldToShowItsAddress) {
  auto *w = add<DesignWebBrowser>("Web");
  record(w).webURL = "http://studio/";
  show(w);
  EXPECT_EQ(w->locationURL, "http://studio/");
}

TEST_F(GridLayoutTest, ControlWithoutRecordIsReportedAndLeavesTheGridEmpty) {
  auto *b = add<DesignButton>("Btn1");
  show(b);
  auto *stray = panel.model().load<DesignButton>();
  stray->tag = "Btn1";  // same name, but no record of its own
  show(stray);
  EXPECT_EQ(ui.messageTexts(), QStringList{"Error finding object details"});
  EXPECT_EQ(value(1), "");
  EXPECT_EQ(value(2), "");
}

TEST_F(GridLayoutTest, ControlsSharingANameEachShowTheirOwnRecord) {
  auto *a = add<DesignButton>("Twin");
  auto *b = add<DesignButton>("Twin");
  record(a).click = "A";
  record(b).click = "B";
  show(b);
  EXPECT_EQ(value(ButtonRow::OnClick), "B");
  show(a);
  EXPECT_EQ(value(ButtonRow::OnClick), "A");
}

TEST_F(GridLayoutTest, UnknownKindNameWritesOnlyTheCommonLabels) {
  show(add<DesignButton>("Btn1"));
  grid.setHeaders("CodecControl");
  EXPECT_EQ(grid.rowCount(), 37);
  EXPECT_EQ(label(5), "Height");
  EXPECT_EQ(value(1), "Button");
}

TEST_F(GridLayoutTest, EditStartOffersTheRowsEditor) {
  struct EditCase {
    DesignObject *object;
    int row;
    bool allowed;
    QString list;
  };
  auto *button = add<DesignButton>("Btn1");
  auto *gpioLabel = add<DesignLabel>("Lbl1");
  record(gpioLabel).hwMapType = "GPIOButton";
  auto *fader = add<DesignMeterFader>("Fader1");
  auto *canvas = &panel.model().canvas;

  QStringList modules;
  for (const char *m : {"USER#", "ACCESS#"})
    for (int n = 0; n <= 64; ++n) modules << m + QString::number(n);

  const std::vector<EditCase> cases = {
      {button, 1, false, ""},
      {button, 10, false, ""},
      {button, 34, false, ""},
      {button, 3, true, ""},
      {button, 13, true, "False|True"},
      {button, 16, true, "Off|On"},
      {button, 20, true, "..."},
      {button, 30, true, "Button|Label|GPIOButton"},
      {button, 35, true, modules.join('|')},
      {button, 36, true, "DISP|1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17"},
      {gpioLabel, 18, true, "UserPanel Button|GPIO"},
      {gpioLabel, 22, false, ""},
      {gpioLabel, 23, true, "1|2|3|4|5|6|7|8"},
      {gpioLabel, 24, true, "1|2|3|4|5"},
      {fader, 8, true, "Source|Destination"},
      {fader, 16, true, "True|False"},
      {canvas, 1, false, ""},
      {canvas, 6, true, "..."},
      {canvas, 7, true, ""},
  };
  for (const EditCase &c : cases) {
    SCOPED_TRACE(testing::Message() << value(1).toStdString() << " row " << c.row);
    show(c.object);
    const auto start = grid.startEdit(c.row, 1);
    EXPECT_EQ(start.allowed, c.allowed);
    EXPECT_EQ(start.list, c.list);
  }
  EXPECT_FALSE(grid.startEdit(2, 0).allowed);  // the label column is never edited
}

// The row tables against the documented layout: every row's label in order,
// how it is edited (read-only, text, a "..." button, colour, a list built at
// edit start, or a fixed list's entries), and which rows act on a cell
// button or on Delete.
TEST(GridRowTable, EveryKindHasItsDocumentedRows) {
  const char *A = "False|True", *B = "True|False", *C = "Off|On", *D = "Source|Destination";
  const char *E = "Linear|Standard|British", *F = "Led|Gradient";
  const char *G = "Button|Label|GPIOButton", *H = "UserPanel Button|GPIO";
  const char *ro = "read-only", *text = "text", *button = "button", *colour = "colour",
             *dynamic = "dynamic";
  struct Row {
    const char *label;
    const char *editor;
  };
  struct KindCase {
    GridKind kind;
    std::vector<Row> rows;
    std::set<int> cellActions, clearRows;
  };
  const std::vector<Row> head = {{"Property Name", ro}, {"Type", ro},    {"Name", text},
                                 {"Caption", text},     {"Width", text}, {"Height", text}};
  // A kind whose Caption row takes no typing shows it read-only.
  auto rowsOf = [&](std::vector<Row> own, bool topLeft = true, const char *caption = nullptr) {
    std::vector<Row> rows = head;
    if (caption) rows[CommonRow::Caption].editor = caption;
    if (topLeft) rows.insert(rows.end(), {{"Top", text}, {"Left", text}});
    rows.insert(rows.end(), own.begin(), own.end());
    return rows;
  };
  const std::vector<Row> buttonLabelCommon = {
      {"BackColorOff", colour}, {"BackColorOn", colour}, {"ForeColor", nullptr},
      {"Font Name", button},    {"Font Size", text},     {"Font Bold", A},
      {"Font Underline", A},    {"Font Italic", A},      {"State", C}};
  auto withForeColor = [&](const char *editor) {
    std::vector<Row> rows = buttonLabelCommon;
    rows[2].editor = editor;
    return rows;
  };
  auto concat = [](std::vector<Row> a, std::vector<Row> b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const std::vector<Row> meterRows = {
      {"Source/Dest", D}, {"Router Number", text}, {"IO Number", text}, {"Scale", E},
      {"Style", F},       {"Line Color", colour},  {"Decay Rate", text}};

  const std::vector<KindCase> cases = {
      {GridKind::Main,
       rowsOf({{"Background Picture", button},
               {"BackColor", colour},
               {"ForeColor", colour},
               {"OnLoad", text},
               {"Default Graphics Path", button}},
              false),
       {6, 7, 8, 10},
       {6, 10}},
      {GridKind::Button,
       rowsOf(concat(withForeColor(ro), {{"OnClick", text},
                                         {"OnMouseDown", text},
                                         {"OnMouseUp", text},
                                         {"Picture_Up_On", button},
                                         {"Picture_Up_Off", button},
                                         {"Picture_Down_On", button},
                                         {"Picture_Down_Off", button},
                                         {"FlashPicture", button},
                                         {"Flash", C},
                                         {"Enabled", A},
                                         {"MapRouter", text},
                                         {"MapSource", text},
                                         {"MapDestination", text},
                                         {"HWMapType", G},
                                         {"HWMapHostIP", text},
                                         {"HWMapHostPort", text},
                                         {"HWMapInternalName", text},
                                         {"HWMapAoipSysName", ro},
                                         {"UserPanel Module", dynamic},
                                         {"UserPanel Button", dynamic}})),
       {8, 9, 11, 20, 21, 22, 23},
       {20, 21, 22, 23, 24}},
      {GridKind::Label,
       rowsOf(concat(withForeColor(colour), {{"Flash", C},
                                             {"HardwareMapType", H},
                                             {"HardwareMapHostIP", text},
                                             {"HardwareMapHostPort", text},
                                             {"HardwareMapInternalName", text},
                                             {"HardwareMapAoipSysName", ro},
                                             {"UserPanel Module", dynamic},
                                             {"UserPanel Button", dynamic}})),
       {8, 9, 10, 11},
       {}},
      {GridKind::WebBrowser, rowsOf({{"URL", text}}, true, ro), {}, {}},
      {GridKind::Meter, rowsOf(concat(meterRows, {{"Center Pad", text}}), true, ro), {13}, {}},
      {GridKind::MeterFader,
       rowsOf(concat(meterRows, {{"Fader Nominal", text}, {"Hide Gain Value", B}})),
       {13},
       {}},
      {GridKind::Clock,
       rowsOf({{"BackColor", colour},
               {"ForeColor", colour},
               {"FaceVisible", A},
               {"Digital", A},
               {"24 Hour", A},
               {"Background Picture", button},
               {"Stretch Image", A},
               {"Font Name", button},
               {"Font Size", text},
               {"Font Bold", A},
               {"Font Underline", A},
               {"Font Italic", A},
               {"Long Hash Color", colour},
               {"Short Hash Color", colour},
               {"Face Border Color", colour},
               {"Time Offset", text},
               {"Face Numbers", A},
               {"Element Hands", A}},
              true, ro),
       {8, 9, 13, 15, 20, 21, 22},
       {}},
  };

  auto editorOf = [](GridKind kind, int row) -> QString {
    switch (gridRowEditKind(kind, row)) {
      case EditKind::ReadOnly:
        return "read-only";
      case EditKind::Text:
        return "text";
      case EditKind::CellButton:
        return "button";
      case EditKind::Colour:
        return "colour";
      case EditKind::Dynamic:
        return "dynamic";
      case EditKind::List:
        return gridRowList(kind, row);
    }
    return {};
  };
  // Colour rows (a swatch; a right click opens the colour dialog).
  const std::map<GridKind, std::set<int>> colourRows = {{GridKind::Main, {7, 8}},
                                                        {GridKind::Button, {8, 9, 10}},
                                                        {GridKind::Label, {8, 9, 10}},
                                                        {GridKind::WebBrowser, {}},
                                                        {GridKind::Meter, {13}},
                                                        {GridKind::MeterFader, {13}},
                                                        {GridKind::Clock, {8, 9, 20, 21, 22}}};

  for (const KindCase &c : cases) {
    SCOPED_TRACE(gridKindText(c.kind).toStdString());
    ASSERT_EQ(gridRowCount(c.kind), static_cast<int>(c.rows.size()));
    for (int row = 0; row < gridRowCount(c.kind); ++row) {
      SCOPED_TRACE(row);
      const GridRow &gridRow = *gridRowOf(c.kind, row);
      EXPECT_EQ(gridRowLabel(c.kind, row), c.rows[row].label);
      EXPECT_EQ(editorOf(c.kind, row), c.rows[row].editor);
      EXPECT_EQ(gridRow.buildList != nullptr, gridRow.edit == EditKind::Dynamic);
      EXPECT_EQ(gridRow.cellButton != nullptr, c.cellActions.count(row) == 1);
      EXPECT_EQ(gridRow.clear != nullptr, c.clearRows.count(row) == 1);
      EXPECT_EQ(isColourRow(c.kind, row), colourRows.at(c.kind).count(row) == 1);
      // What the grid shows is what it reads: a row with no read shows nothing.
      if (row >= CommonRow::Name && !gridRow.read) {
        EXPECT_EQ(row, CommonRow::Caption);
        EXPECT_TRUE(c.kind == GridKind::WebBrowser || c.kind == GridKind::Meter);
      }
    }
  }
  EXPECT_EQ(gridRowCount(GridKind::None), 0);
}
