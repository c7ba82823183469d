#include "model/colors.h"

#include <gtest/gtest.h>

TEST(ColorText, ReadsEveryAcceptedForm) {
  const struct {
    const char *text;
    qint32 value;
  } cases[] = {
      {"Yellow", 65535},
      {"vbyellow", 65535},
      {"YELLOW", 65535},
      {"&H00FFFF", 65535},
      {"&h00ffff", 65535},
      {"65535", 65535},
      {"00FFFF", 65535},
      {"Dark Grey", 0},
      {"", 0},
      {" red", 0},
      {"grey", 0xE0E0E0},
      {"lightgrey", 0xE0E0E0},
      {"darkgrey", 0x808080},
      {"amber", 0xD1FDFE},
      {"vbBlue", 0xFF0000},
      {"&H0000FF", 255},
      {"255", 255},
      {"&H8000000F", qint32(0x8000000F)},
      {"zz", 0},
      {"&H", 0},
      {"1e5", 0x1E5},
  };
  for (const auto &c : cases) EXPECT_EQ(colorValue(c.text), c.value) << c.text;
}

TEST(ColorText, EveryNamedColourReadsAndNormalises) {
  const struct {
    const char *names[2];
    qint32 value;
    const char *written;
  } table[] = {
      {{"vbblack", "black"}, 0x000000, "Black"},  {{"vbred", "red"}, 0x0000FF, "Red"},
      {{"vbgreen", "green"}, 0x00FF00, "Green"},  {{"vbyellow", "yellow"}, 0x00FFFF, "Yellow"},
      {{"vbblue", "blue"}, 0xFF0000, "Blue"},     {{"vbmagenta", "magenta"}, 0xFF00FF, "Magenta"},
      {{"vbcyan", "cyan"}, 0xFFFF00, "Cyan"},     {{"vbwhite", "white"}, 0xFFFFFF, "White"},
      {{"lightgrey", "grey"}, 0xE0E0E0, "Grey"},  {{"darkgrey", "DARKGREY"}, 0x808080, "DarkGrey"},
      {{"amber", "AMBER"}, 0xD1FDFE, "&HD1FDFE"},
  };
  for (const auto &row : table)
    for (const char *name : row.names) {
      EXPECT_EQ(colorValue(name), row.value) << name;
      EXPECT_EQ(formatColorText(name), QString::fromLatin1(row.written)) << name;
      EXPECT_EQ(colorValue(formatColorText(name)), row.value) << name;
    }
}

TEST(ColorText, NormalisesForFiles) {
  const struct {
    const char *in;
    const char *out;
  } cases[] = {
      {"&hff", "&H0000ff"},
      {"ff", ""},
      {"fff", "&H000fff"},
      {"14737632", "&HE0E0E0"},
      {"grey", "Grey"},
      {"AMBER", "&HD1FDFE"},
      {"purple", ""},
      {"0", ""},
      {"", ""},
      {"65535", "&H00FFFF"},
      {"FFFF00", "&HFFFF00"},
      {"&H8000000F", "&H8000000F"},
      {"&H00FFFF", "&H00FFFF"},
      {"vbred", "Red"},
  };
  for (const auto &c : cases) EXPECT_EQ(formatColorText(c.in), QString::fromLatin1(c.out)) << c.in;
}

TEST(ColorText, RoundTripsThroughTheNormaliser) {
  for (const char *text : {"&hff", "fff", "14737632", "65535", "FFFF00", "&H8000000F", "255", "red",
                           "amber", "&H123", "16777215"}) {
    const QString written = formatColorText(text);
    ASSERT_FALSE(written.isEmpty()) << text;
    EXPECT_EQ(colorValue(written), colorValue(text)) << text;
  }
}

TEST(ColorText, ValueToTextPadsToSixDigits) {
  EXPECT_EQ(colorValueToText(255), "&H0000FF");
  EXPECT_EQ(colorValueToText(0), "&H000000");
  EXPECT_EQ(colorValueToText(0xE0E0E0), "&HE0E0E0");
  EXPECT_EQ(colorValueToText(qint32(0x8000000F)), "&H8000000F");
  EXPECT_EQ(padWithZeros("  ab ", 6), "0000ab");
  EXPECT_EQ(padWithZeros("1234567", 6), "1234567");
}
