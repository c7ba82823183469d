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
  static const HardwareMap m = HardwareMap::fromText(QStringLiteral(
      "<HardwareMapList><ControlList><Control><Type>Button</Type><HostIPAddress>10.0.0.5"
      "</HostIPAddress><HostPort>5000</HostPort><InternalName>Studio.Button1</InternalName>"
      "<AoipSysName>MOD_USER#1.BUT#2</AoipSysName></Control></ControlList></HardwareMapList>"));
  return m;
}

QString readAndWrite(const QString &text, size_t *controls) {
  PanelModel panel;
  panel.canvas.tag = QStringLiteral("Studio");
  ReadHooks hooks;
  FUZZ_CHECK(analyzeXML(text, panel, hooks, map()));
  *controls = panel.panelRecord.records.size();
  return buildPanelDocument(panel, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QString text = fuzzText(data, size);
  PanelModel panel;
  panel.canvas.tag = QStringLiteral("Studio");
  ReadHooks hooks;
  XmlError error;
  if (!analyzeXML(text, panel, hooks, map(), &error)) {
    FUZZ_CHECK(!error.message.isEmpty() && error.line >= 1 && error.column >= 1);
    return 0;
  }
  // Written and read back: the same controls; a second round changes nothing.
  const QString written = buildPanelDocument(panel, true);
  size_t controls = 0, again = 0;
  const QString rewritten = readAndWrite(written, &controls);
  FUZZ_CHECK(controls == panel.panelRecord.records.size());
  // Every kept piece is written out whole.
  for (const auto &kept : panel.panelRecord.foreignControls)
    FUZZ_CHECK(written.contains(kept.text));
  for (const auto &kept : panel.panelRecord.foreign) FUZZ_CHECK(written.contains(kept.text));
  for (const auto &record : panel.panelRecord.records) {
    for (const auto &kept : record->foreign) FUZZ_CHECK(written.contains(kept.text));
    if (const auto *kept = controlCast<DesignKept>(record->control))
      FUZZ_CHECK(written.contains(kept->source));
  }
  FUZZ_CHECK(readAndWrite(rewritten, &again) == rewritten);
  FUZZ_CHECK(again == controls);
  return 0;
}
