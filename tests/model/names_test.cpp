#include "model/names.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <cmath>

#include "model/numbers.h"
#include "model/panelmodel.h"

TEST(Names, CleanNameReplacesTheEighteenCharacters) {
  EXPECT_EQ(cleanName("Mic 1 (L/R)"), "Mic_1__L_R_");
  EXPECT_EQ(cleanName(" .,[]{}()&*#'\"%$\\/"), QString(18, u'_'));
  EXPECT_EQ(cleanName(QString::fromUtf8("A-b_c+!:;=?é")), QString::fromUtf8("A-b_c+!:;=?é"));
}

TEST(Names, NextIncrementalName) {
  const struct {
    const char *in;
    const char *out;
  } cases[] = {
      {"", "1"},
      {"A", "A1"},
      {"A9", "A10"},
      {"7", "8"},
      {"  B2  ", "B3"},
      {"Mic 9", "Mic 10"},
      {"Btn007", "Btn8"},
      {"Out_3", "Out_4"},
      {"41", "42"},
      {"Button", "Button1"},
      {"X2147483646", "X2147483647"},
      {"X2147483647", ""},  // the successor no longer fits 32 bits
      {"2147483647", ""},
      {"X2147483648", ""},
      {"99999999999", ""},
  };
  for (const auto &c : cases)
    EXPECT_EQ(nextIncrementalName(c.in), QString::fromLatin1(c.out)) << c.in;
}

TEST(Names, NewNamePerKindIsCaseSensitiveAndPerArray) {
  PanelModel panel;
  auto add = [&](ControlKind kind, const char *tag) {
    DesignControl *c = panel.loadControl(kind);
    c->tag = tag;
    auto record = std::make_unique<ControlRecord>();
    record->control = c;
    panel.panelRecord.records.push_back(std::move(record));
    return c;
  };
  add(ControlKind::Button, "Button1");
  add(ControlKind::Button, "Button3");
  EXPECT_EQ(panel.unusedName(0), "Button2");
  add(ControlKind::Button, "button2");
  EXPECT_EQ(panel.unusedName(0), "Button2");
  add(ControlKind::Label, "Button2");  // another kind does not count
  EXPECT_EQ(panel.unusedName(0), "Button2");
  // A kept control that takes a fresh name on paste is a "Control".
  const char *stems[] = {"Button2",     "Label1", "WebBrowser1", "Meter1",
                         "MeterFader1", "Clock1", "Control1"};
  for (int code = 0; code < kControlKindCount; ++code)
    EXPECT_EQ(panel.unusedName(code), stems[code]) << code;
  EXPECT_EQ(panel.unusedName(kControlKindCount), "");
  EXPECT_EQ(panel.unusedName(-1), "");
}

TEST(Names, DuplicateTestIgnoresCaseAndTheEditedControl) {
  PanelModel panel;
  DesignControl *b = panel.loadControl(ControlKind::Button);
  b->tag = "Button1";
  auto record = std::make_unique<ControlRecord>();
  record->control = b;
  panel.panelRecord.records.push_back(std::move(record));
  panel.canvas.tag = "Studio";

  EXPECT_TRUE(panel.checkForDuplicateName("BUTTON1"));
  EXPECT_FALSE(panel.checkForDuplicateName("BUTTON1", b));
  EXPECT_FALSE(panel.checkForDuplicateName("Button2"));
  EXPECT_FALSE(panel.checkForDuplicateName("studio"));  // the panel's own name is not a control
}

namespace {

// The names as the plain way finds them, scanning every control: the index
// must always answer alike.
bool scannedDuplicate(const PanelModel &panel, const QString &name, const DesignObject *except) {
  for (int kind = 0; kind < kControlKindCount; ++kind)
    for (DesignControl *c : panel.Controls(ControlKind(kind)))
      if (c != except && c->tag.toLower() == name.toLower()) return true;
  return false;
}

QString scannedNewName(const PanelModel &panel, int kind) {
  const QString stem = nameStem(ControlKind(kind));
  const auto controls = panel.Controls(ControlKind(kind));
  for (int n = 1; n <= 32767; ++n) {
    const QString name = stem + QString::number(n);
    if (std::none_of(controls.begin(), controls.end(),
                     [&](const DesignControl *c) { return c->tag == name; }))
      return name;
  }
  return QString();
}

}  // namespace

TEST(Names, TheIndexFollowsEveryWayATagChanges) {
  // Bounded and repeatable: controls loaded, renamed (by plain assignment,
  // as the grid, the reader, paste and undo do), copied over and unloaded,
  // the answers compared with a scan after every step.
  QRandomGenerator random(4242);
  PanelModel panel;
  const QStringList names = {"Button1", "button2", "BUTTON3", "Button03", "Button10",   "Label1",
                             "Meter1",  "Mic.1",   "",        "Clock2",   "Button32767"};
  std::vector<DesignControl *> controls;
  for (int step = 0; step < 3000; ++step) {
    const int action = random.bounded(10);
    if (action < 3 || controls.empty()) {
      DesignControl *c = panel.loadControl(ControlKind(random.bounded(kControlKindCount)));
      c->tag = names[random.bounded(int(names.size()))];
      controls.push_back(c);
    } else if (action < 7) {
      controls[random.bounded(int(controls.size()))]->tag =
          names[random.bounded(int(names.size()))];
    } else if (action < 8) {
      // A whole control copied over another, as a snapshot is restored.
      DesignControl *to = controls[random.bounded(int(controls.size()))];
      auto snapshot = to->clone();
      snapshot->tag = names[random.bounded(int(names.size()))];
      *to = *snapshot;
    } else {
      const int at = random.bounded(int(controls.size()));
      panel.unloadControl(controls[at]);
      controls.erase(controls.begin() + at);
    }
    const QString probe = names[random.bounded(int(names.size()))];
    const DesignObject *except = controls.empty() ? nullptr : controls.back();
    ASSERT_EQ(panel.checkForDuplicateName(probe, except), scannedDuplicate(panel, probe, except))
        << step << " " << probe.toStdString();
    const int kind = random.bounded(kControlKindCount);
    ASSERT_EQ(panel.unusedName(kind), scannedNewName(panel, kind)) << step;
  }
}

TEST(Names, FreshNamesRunOutAfter32767) {
  PanelModel panel;
  for (int n = 1; n <= 32767; ++n)
    panel.loadControl(ControlKind::Meter)->tag = QStringLiteral("Meter%1").arg(n);
  EXPECT_EQ(panel.unusedName(int(ControlKind::Meter)), "");
  panel.unloadControl(panel.Controls(ControlKind::Meter)[99]);
  EXPECT_EQ(panel.unusedName(int(ControlKind::Meter)), "Meter100");
}

TEST(Numbers, RoundingAndSnappingGoHalvesToEven) {
  const struct {
    qint32 value, snapped;
  } snaps[] = {{1250, 1200}, {250, 200},   {350, 400}, {-250, -200},
               {645, 600},   {-350, -400}, {149, 100}};
  for (const auto &s : snaps) EXPECT_EQ(snapToGrid(s.value, 100), s.snapped) << s.value;
  EXPECT_EQ(roundHalfEven(2.5), 2);
  EXPECT_EQ(roundHalfEven(3.5), 4);
  EXPECT_EQ(roundHalfEven(-2.5), -2);
}

TEST(Numbers, DecimalTextIsReadWhateverTheSeparator) {
  EXPECT_DOUBLE_EQ(convertStringNumToInternat("120.0003"), 120.0003);
  EXPECT_DOUBLE_EQ(convertStringNumToInternat("120,0003"), 120.0003);
  EXPECT_DOUBLE_EQ(leadingNumber("  9600 twips"), 9600);
  EXPECT_DOUBLE_EQ(leadingNumber("-12.5px"), -12.5);
  EXPECT_DOUBLE_EQ(leadingNumber("abc"), 0);
  EXPECT_DOUBLE_EQ(leadingNumber("1,5"), 1);
}

TEST(Numbers, WholeLeadingNumbersReadAsTheDecimalParseDoes) {
  const char *texts[] = {"0",
                         "+12",
                         "-0",
                         "007 twips",
                         "-2147483648",
                         "9600.0",
                         "12.",
                         "999999999999999",
                         "1234567890123456789",
                         " \t-45x"};
  for (const char *text : texts) {
    const QString t = QString::fromLatin1(text).trimmed();
    qsizetype end = 0;
    while (end < t.size() &&
           (t[end].isDigit() || t[end] == u'.' || (end == 0 && (t[0] == u'-' || t[0] == u'+'))))
      ++end;
    const double expected = QStringView(t).left(end).toDouble();
    const double read = leadingNumber(QString::fromLatin1(text));
    EXPECT_EQ(read, expected) << text;
    EXPECT_EQ(std::signbit(read), std::signbit(expected)) << text;
  }
}
