// The hardware map reader on any text: the lookup index and single entries
// are read without harm, and the map's tree writes back what it read.
#include "fuzzsupport.h"
#include "hwmap/hardwaremap.h"
#include "model/xmltree.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QString text = fuzzText(data, size);
  const HardwareMap map = HardwareMap::fromText(text);
  if (const HardwareMap::Entry *e = map.Find(QStringLiteral("Studio.Button1")))
    FUZZ_CHECK(e->internalName.trimmed().toLower() == QLatin1String("studio.button1"));
  hardwareMapEntryFromXML(text);
  XmlDocument doc;
  if (doc.read(text)) FUZZ_CHECK(doc.toText() == text);
  return 0;
}
