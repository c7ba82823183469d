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
  DesignControl *c = panel.loadControl(kind);
  c->tag = QLatin1String(name);
  auto record = std::make_unique<ControlRecord>();
  record->control = c;
  record->frameIndex = panel.newFrameIndex();
  panel.panelRecord.records.push_back(std::move(record));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QString text = fuzzText(data, size);
  PanelModel panel;
  panel.canvas.tag = QStringLiteral("Studio");
  addControl(panel, ControlKind::Button, "Button1");
  addControl(panel, ControlKind::Label, "label1");
  addControl(panel, ControlKind::Clock, "Clock2");
  addControl(panel, ControlKind::Button, "Mic.1");
  ReadHooks hooks;
  const auto pasted = analyzeClipboardXML(text, panel, hooks, HardwareMap());
  FUZZ_CHECK(panel.panelRecord.records.size() == 4 + pasted.size());
  QSet<QString> names;
  QSet<int> frames;
  for (const auto &record : panel.panelRecord.records) {
    FUZZ_CHECK(record->control && panel.contains(record->control));
    FUZZ_CHECK(!frames.contains(record->frameIndex));
    frames.insert(record->frameIndex);
    // A control pasted without a name keeps the empty name it came with.
    const QString name =
        QString::number(int(record->control->kind())) + u' ' + record->control->tag;
    if (record->control->tag.isEmpty()) continue;
    FUZZ_CHECK(!names.contains(name));
    names.insert(name);
  }

  std::vector<DesignControl *> copied;
  for (ControlRecord *record : pasted) copied.push_back(record->control);
  PanelModel again;
  const auto repasted =
      analyzeClipboardXML(buildClipboardDocument(panel, copied, true), again, hooks, HardwareMap());
  FUZZ_CHECK(repasted.size() == pasted.size());
  for (size_t k = 0; k < pasted.size(); ++k) FUZZ_CHECK(repasted[k]->foreign == pasted[k]->foreign);
  return 0;
}
