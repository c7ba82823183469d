// The panel reader on any text: it never fails silently (a refusal has a
// reason), and what it read writes and reads back alike, the content it does
// not read included.
#include "fuzzsupport.h"
#include "hwmap/hardwaremap.h"
#include "model/panelmodel.h"
#include "panelfile/panelreader.h"
#include "panelfile/panelwriter.h"
#include "panelfile/readhooks.h"

namespace {

const HardwareMap &map() {
  static const HardwareMap m = HardwareMap::FromText(QStringLiteral(
      "<HardwareMapList><ControlList><Control><Type>Button</Type><HostIPAddress>10.0.0.5"
      "</HostIPAddress><HostPort>5000</HostPort><InternalName>Studio.Button1</InternalName>"
      "<AoipSysName>MOD_USER#1.BUT#2</AoipSysName></Control></ControlList></HardwareMapList>"));
  return m;
}

QString readAndWrite(const QString &text, size_t *controls) {
  PanelModel panel;
  panel.pictMain.Tag = QStringLiteral("Studio");
  ReadHooks hooks;
  FUZZ_CHECK(AnalyzeXML(text, panel, hooks, map()));
  *controls = panel.PanelDetails.CollControls.size();
  return BuildPanelDocument(panel, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QString text = FuzzText(data, size);
  PanelModel panel;
  panel.pictMain.Tag = QStringLiteral("Studio");
  ReadHooks hooks;
  XmlError error;
  if (!AnalyzeXML(text, panel, hooks, map(), &error)) {
    FUZZ_CHECK(!error.message.isEmpty() && error.line >= 1 && error.column >= 1);
    return 0;
  }
  // Written and read back: the same controls; a second round changes nothing.
  const QString written = BuildPanelDocument(panel, true);
  size_t controls = 0, again = 0;
  const QString rewritten = readAndWrite(written, &controls);
  FUZZ_CHECK(controls == panel.PanelDetails.CollControls.size());
  // Every kept piece is written out whole.
  for (const auto &kept : panel.PanelDetails.foreignControls)
    FUZZ_CHECK(written.contains(kept.text));
  for (const auto &kept : panel.PanelDetails.foreign) FUZZ_CHECK(written.contains(kept.text));
  for (const auto &record : panel.PanelDetails.CollControls) {
    for (const auto &kept : record->foreign) FUZZ_CHECK(written.contains(kept.text));
    if (const auto *kept = As<DesignKept>(record->cntrlObject))
      FUZZ_CHECK(written.contains(kept->Source));
  }
  FUZZ_CHECK(readAndWrite(rewritten, &again) == rewritten);
  FUZZ_CHECK(again == controls);
  return 0;
}
