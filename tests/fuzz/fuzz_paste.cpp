// Pasting any text onto a panel: nothing but controls is added, each with a
// frame of its own and a name no other control of its kind carries. (A
// fresh default name is checked with regard to case, as it always was, so
// "Label1" may join "label1".) Copied and pasted again, every control keeps
// the elements this version does not read.
#include <QSet>

#include "fuzzsupport.h"
#include "hwmap/hardwaremap.h"
#include "model/panelmodel.h"
#include "panelfile/clipboarddoc.h"
#include "panelfile/readhooks.h"

namespace {

void addControl(PanelModel &panel, ControlKind kind, const char *name) {
  DesignControl *c = panel.LoadControl(kind);
  c->Tag = QLatin1String(name);
  auto record = std::make_unique<clsControlDetails>();
  record->cntrlObject = c;
  record->lngPictResizeIndex = panel.GetNewPictResize();
  panel.PanelDetails.CollControls.push_back(std::move(record));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QString text = FuzzText(data, size);
  PanelModel panel;
  panel.pictMain.Tag = QStringLiteral("Studio");
  addControl(panel, ControlKind::Button, "Button1");
  addControl(panel, ControlKind::Label, "label1");
  addControl(panel, ControlKind::Clock, "Clock2");
  addControl(panel, ControlKind::Button, "Mic.1");
  ReadHooks hooks;
  const auto pasted = AnalyzeClipboardXML(text, panel, hooks, HardwareMap());
  FUZZ_CHECK(panel.PanelDetails.CollControls.size() == 4 + pasted.size());
  QSet<QString> names;
  QSet<int> frames;
  for (const auto &record : panel.PanelDetails.CollControls) {
    FUZZ_CHECK(record->cntrlObject && panel.Contains(record->cntrlObject));
    FUZZ_CHECK(!frames.contains(record->lngPictResizeIndex));
    frames.insert(record->lngPictResizeIndex);
    // A control pasted without a name keeps the empty name it came with.
    const QString name =
        QString::number(int(record->cntrlObject->kind())) + u' ' + record->cntrlObject->Tag;
    if (record->cntrlObject->Tag.isEmpty()) continue;
    FUZZ_CHECK(!names.contains(name));
    names.insert(name);
  }

  std::vector<DesignControl *> copied;
  for (clsControlDetails *record : pasted) copied.push_back(record->cntrlObject);
  PanelModel again;
  const auto repasted =
      AnalyzeClipboardXML(BuildClipboardDocument(panel, copied, true), again, hooks, HardwareMap());
  FUZZ_CHECK(repasted.size() == pasted.size());
  for (size_t k = 0; k < pasted.size(); ++k) FUZZ_CHECK(repasted[k]->foreign == pasted[k]->foreign);
  return 0;
}
