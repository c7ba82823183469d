// Feeds arbitrary bytes to the panel reader, the clipboard paste and the
// hardware map reader. The first byte chooses the reader.
#include <cstddef>
#include <cstdint>

#include "hwmap/hardwaremap.h"
#include "model/codepage.h"
#include "model/panelmodel.h"
#include "panelfile/clipboarddoc.h"
#include "panelfile/panelreader.h"
#include "panelfile/panelwriter.h"
#include "panelfile/readhooks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  const QString text =
      DecodeWindows1252(QByteArray(reinterpret_cast<const char *>(data + 1), int(size - 1)));
  const HardwareMap noMap;
  ReadHooks hooks;
  PanelModel panel;
  switch (data[0] % 3) {
    case 0:
      AnalyzeXML(text, panel, hooks, &noMap);
      BuildPanelDocument(panel);  // whatever was read can be written again
      break;
    case 1:
      AnalyzeClipboardXML(text, panel, hooks, &noMap);
      break;
    default: {
      HardwareMap::FromText(text);
      QString map = text;
      RemovePanelFromHardwareMap(map, QStringLiteral("Studio"));
      AddControlsToHardwareMap(map, panel.PanelDetails.CollControls);
      break;
    }
  }
  return 0;
}
