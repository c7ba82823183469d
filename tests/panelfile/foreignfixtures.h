#pragma once

#include <QString>
#include <string>

// Panel files holding content this version does not read: each is the golden
// panel with `insert` (lines ending CR LF) put after the line that holds
// `anchor`.
struct ForeignFixture {
  const char *what;
  const char *anchor;
  const char *insert;
};

inline constexpr ForeignFixture kForeignFixtures[] = {
    {"codec control between two buttons", "<HWMapAoipSysName>MOD_USER",
     "    </Control>\r\n    <Control>\r\n      <Type>CodecControl</Type>\r\n"
     "      <Name>Codec1</Name>\r\n      <Left>100</Left>\r\n      <Top>200</Top>\r\n"
     "      <CodecAddress>10.1.1.9</CodecAddress>\r\n"},
    {"unknown Type", "<HideGainValue>",
     "    </Control>\r\n    <Control>\r\n      <Type>Hologram</Type>\r\n"
     "      <Name>Holo1</Name>\r\n"},
    {"no Type", "<HideGainValue>",
     "    </Control>\r\n    <Control>\r\n      <Name>Odd1</Name>\r\n"},
    {"unknown element in a button", "<Caption>Mic", "      <Glow level=\"3\">soft</Glow>\r\n"},
    {"unknown element at the start of a button", "<Type>Button</Type>", "      <Halo/>\r\n"},
    {"unknown element in a label", "<ForeColor>&amp;H0000FF</ForeColor>",
     "      <Shadow>2</Shadow>\r\n"},
    {"unknown element in a web browser", "<Type>WebBrowser</Type>",
     "      <ZoomLevel>120</ZoomLevel>\r\n"},
    {"unknown element in a meter", "<Type>Meter</Type>", "      <PeakHold>True</PeakHold>\r\n"},
    {"unknown element in a meter fader", "<HideGainValue>", "      <Curve>Log</Curve>\r\n"},
    {"unknown elements in a clock", "<Digital>True</Digital>",
     "      <TimeZone id=\"CET\">\r\n        <Dst>True</Dst>\r\n      </TimeZone>\r\n"
     "      <!-- synced by NTP -->\r\n"},
    {"unknown element holding children", "<Click>ROUTE",
     "      <Macro>\r\n        <Step at=\"1\">GPO 2 ON</Step>\r\n        <Step/>\r\n"
     "      </Macro>\r\n"},
    {"comment inside a control", "<State>Off</State>", "      <!-- patched by hand -->\r\n"},
    {"unknown panel element", "<Caption>Studio One</Caption>",
     "  <Theme>\r\n    <Accent>&amp;H00FF00</Accent>\r\n  </Theme>\r\n"},
    {"unknown panel element first", "<Panel>", "  <Layer>1</Layer>\r\n"},
    {"unknown panel element after the version", "<Version>", "  <Signature>abc</Signature>\r\n"},
    {"comment between controls", "<HideGainValue>",
     "    </Control>\r\n    <!-- clocks below -->\r\n    <Control>\r\n      "
     "<Type>CodecControl</Type>\r\n"},
};

// A panel text with the fixture's lines inserted.
inline QString withForeignInsert(QString text, const ForeignFixture &fixture) {
  const qsizetype at = text.indexOf(QLatin1String(fixture.anchor));
  const qsizetype lineEnd = text.indexOf(QLatin1String("\r\n"), at) + 2;
  text.insert(lineEnd, QLatin1String(fixture.insert));
  return text;
}

// A test name of the fixture ("codec_control_between_two_buttons").
inline std::string foreignFixtureName(const ForeignFixture &fixture) {
  QString name = QString::fromLatin1(fixture.what);
  name.replace(QLatin1Char(' '), QLatin1Char('_'));
  return name.toStdString();
}
