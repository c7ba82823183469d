// Feeds arbitrary bytes to the connector's receive path as a server would
// send them. The first byte chooses the size of the pieces, whether the
// server approved the client first and whether a save of "Studio" waits for
// its read-back. What the receive handler leaves for later runs after each
// piece, as the event loop would run it: delivered panels go through the
// reader, read-backs are compared, messages are shown.
#include <QCoreApplication>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "hwmap/hardwaremap.h"
#include "model/codepage.h"
#include "model/panelmodel.h"
#include "model/uiservice.h"
#include "panelfile/localstore.h"
#include "panelfile/readhooks.h"
#include "server/serverhost.h"
#include "server/vexconnector.h"
#include "support/openlink.h"
#include "support/quietui.h"

namespace {
// Reads every delivered panel into a fresh model.
class Host : public ServerHost {
 public:
  QuietUi quietUi;
  Ui &ui() override { return quietUi; }
  bool isPanelPathOpen(const QString &) const override { return false; }
  void openDeliveredPanel(const QString &document, const QString &path,
                          const QString &tagName) override {
    const HardwareMap noMap;
    ReadHooks hooks;
    PanelModel panel;
    readPanelText(document, path, tagName, panel, hooks, noMap);
  }
};
}  // namespace

namespace {
void run(const uint8_t *data, size_t size) {
  const size_t piece = (data[0] & 0x3F) + 1;
  Host host;
  auto link = std::make_unique<OpenLink>();
  OpenLink *raw = link.get();
  // A small cap so that overflow and resynchronising are reached too.
  VexConnector connector(host, std::move(link), 4096);
  raw->up();
  auto receive = [&](const QString &text) {
    raw->receive(text);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
  };
  if (data[0] & 0x40)
    receive(
        QStringLiteral("\x02\x02\x01"
                       "000000000000no\x03\x03"));
  if (data[0] & 0x80) {
    connector.confirmSave(QStringLiteral("Studio.xml"),
                          QStringLiteral("<Panel>\r\n  <Name>Studio</Name>\r\n</Panel>\r\n"),
                          [](bool) {});
    connector.sendLogin(QStringLiteral("operator"), QStringLiteral("secret"));
  }
  for (size_t at = 1; at < size; at += piece) {
    const size_t n = std::min(piece, size - at);
    receive(decodeWindows1252(QByteArray(reinterpret_cast<const char *>(data + at), int(n))));
    if (connector.receiveBufferSize() > 4096) __builtin_trap();
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static int argc = 1;
  static char name[] = "fuzz_vexreceive";
  static char *argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  if (size == 0) return 0;
  run(data, size);
  // The read-back's timer is deleted later; nothing is left for the next run.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return 0;
}
