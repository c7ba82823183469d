// The quick scanner against Qt's stream reader: the same verdict and the same
// events on every input, the events' texts giving the input back, and the
// document tree writing back what it read, byte for byte.
#include "fuzzsupport.h"
#include "model/xmlreader.h"
#include "model/xmltree.h"

namespace {

struct EventLog : XmlHandler {
  QString events, sources;
  void add(char kind, QStringView value, QStringView source) {
    events += QChar(kind);
    events += value;
    events += QChar(0);
    sources += source;
  }
  void startElement(QStringView name, const std::vector<XmlAttribute> &attributes,
                    QStringView source) override {
    add('<', name, source);
    for (const XmlAttribute &a : attributes) {
      events += a.name;
      events += QChar(1);
      events += a.value;
    }
  }
  void endElement(QStringView source) override { add('>', QStringView(), source); }
  void text(QStringView value, QStringView source) override { add('t', value, source); }
  void cdata(QStringView value, QStringView source) override { add('c', value, source); }
  void comment(QStringView value, QStringView source) override { add('!', value, source); }
  void processingInstruction(QStringView target, QStringView data, QStringView source) override {
    add('?', target, source);
    events += data;
  }
  void declaration(QStringView source) override { add('x', QStringView(), source); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QString text = fuzzText(data, size);
  EventLog ours, theirs;
  const bool accepted = readXml(text, ours);
  const bool reference = readXmlWithStreamReader(text, theirs, nullptr, XmlLimits());
  FUZZ_CHECK(accepted == reference);
  if (!accepted) return 0;
  FUZZ_CHECK(ours.events == theirs.events);
  FUZZ_CHECK(ours.sources == text);
  XmlDocument doc;
  FUZZ_CHECK(doc.read(text));
  FUZZ_CHECK(doc.toText() == text);
  return 0;
}
