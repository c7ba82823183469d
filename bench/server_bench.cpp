// Receiving a panel the server delivers: the bytes are decoded as they
// arrive and appended to the connector's receive buffer, which is cut at the
// frame end. Budgets: a 10 MB message in 1 KB pieces takes at most twice as
// long as in one piece, and 20 MB at most 2.2 times as long as 10 MB.
//
// Times are the thread's CPU time (page faults included), so that other
// work on a shared machine does not blur the ratios. Every block above
// 1 MiB is a fresh mapping, as it is for a designer that receives one large
// panel: left to itself, glibc serves blocks up to 32 MB from memory the
// previous run freed, but larger ones always fresh, so a repeated 10 MB run
// would skip the page faults that every 20 MB run pays.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QGuiApplication>
#include <ctime>
#include <map>
#include <memory>

#include "benchsupport.h"
#include "model/codepage.h"
#include "server/serverhost.h"
#include "server/vexconnector.h"
#include "support/openlink.h"

namespace {

constexpr qsizetype kPieceBytes = 1024;

double threadSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Takes the delivered document and opens nothing: the reader is measured
// by the panel file benchmark.
class BenchHost : public ServerHost {
 public:
  bench::QuietUi quiet;
  qsizetype delivered = 0;
  Ui &ui() override { return quiet; }
  bool isPanelPathOpen(const QString &) const override { return false; }
  void openDeliveredPanel(const QString &document, const QString &, const QString &) override {
    delivered = document.size();
  }
};

// The bytes of a panel message of about `megabytes` MB, as they come off the wire.
const QByteArray &message(int megabytes) {
  static std::map<int, QByteArray> messages;
  auto it = messages.find(megabytes);
  if (it != messages.end()) return it->second;
  const QString one = bench::panelText(1000, QStringLiteral("Studio"), QStringLiteral("/gfx/"));
  QString document;
  while (document.size() < qsizetype(megabytes) * 1000 * 1000) document += one;
  const QString payload = QStringLiteral("Studio") + VexProtocol::kFieldSeparator + document;
  return messages.emplace(megabytes, encodeWindows1252(buildVexMessage(VexCommand::Panel, payload)))
      .first->second;
}

// Seconds from the first byte to the delivered document, in pieces of
// `pieceBytes` (0: the whole message at once).
double receiveOnce(const QByteArray &bytes, qsizetype pieceBytes) {
  BenchHost host;
  auto link = std::make_unique<OpenLink>();
  OpenLink *raw = link.get();
  VexConnector connector(host, std::move(link));
  raw->up();
  const qsizetype step = pieceBytes > 0 ? pieceBytes : bytes.size();
  const double start = threadSeconds();
  for (qsizetype at = 0; at < bytes.size(); at += step)
    raw->receive(decodeWindows1252(
        QByteArray::fromRawData(bytes.constData() + at, qMin(step, bytes.size() - at))));
  // The panel is handed on once the receive handler has returned.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
  const double seconds = threadSeconds() - start;
  if (host.delivered == 0) std::fprintf(stderr, "the panel was not delivered\n");
  return seconds;
}

std::map<std::pair<int, qsizetype>, double> &medians() {
  static std::map<std::pair<int, qsizetype>, double> m;
  return m;
}
double medianOf(int megabytes, qsizetype pieceBytes) {
  auto key = std::make_pair(megabytes, pieceBytes);
  auto it = medians().find(key);
  if (it != medians().end()) return it->second;
  const QByteArray &bytes = message(megabytes);
  return medians()[key] = bench::medianSeconds([&] { return receiveOnce(bytes, pieceBytes); });
}

void BM_ReceivePanel(benchmark::State &state) {
  const int megabytes = static_cast<int>(state.range(0));
  const qsizetype pieceBytes = state.range(1);
  const QByteArray &bytes = message(megabytes);
  bench::IterationTimes times;
  for (auto _ : state) times.add(state, receiveOnce(bytes, pieceBytes));
  medians()[{megabytes, pieceBytes}] = times.median();
  state.SetBytesProcessed(state.iterations() * bytes.size());
  state.counters["message_MB"] = bytes.size() / 1e6;
  if (megabytes == 10 && pieceBytes == kPieceBytes) {
    const double ratio = times.median() / medianOf(10, 0);
    state.counters["x_one_piece"] = ratio;
    bench::reportBudget("receive 10 MB in 1 KB pieces / in one piece", ratio, 2.0, "x");
  }
  if (megabytes == 20) {
    const double ratio = times.median() / medianOf(10, pieceBytes);
    state.counters["x_10MB"] = ratio;
    bench::reportBudget(
        pieceBytes ? "receive 20 MB / 10 MB, 1 KB pieces" : "receive 20 MB / 10 MB, one piece",
        ratio, 2.2, "x");
  }
}
BENCHMARK(BM_ReceivePanel)
    ->Args({10, 0})
    ->Args({10, kPieceBytes})
    ->Args({20, 0})
    ->Args({20, kPieceBytes})
    ->MinTime(1.0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  bench::useOffscreenPlatform();
  QGuiApplication app(argc, argv);
  return bench::runAll(argc, argv);
}
