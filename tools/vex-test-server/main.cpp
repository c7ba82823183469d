// vex-test-server: a stand-in routing server for trying the designer's
// server mode and for the integration tests.
//
//   vex-test-server --port 5200 --panels DIR [--listen ADDRESS]
//                   [--login user [--password-file FILE]]
// Without --password-file the password comes from VEX_TEST_PASSWORD, so it
// never shows in the process list; --login user:password still works.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

#include "vextestserver.h"

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("vex-test-server"));
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "A stand-in routing server: lists, delivers and stores the panel files of a folder."));
  parser.addHelpOption();
  const QCommandLineOption port(QStringLiteral("port"),
                                QStringLiteral("TCP port to listen on (0: any free port)."),
                                QStringLiteral("port"), QStringLiteral("5200"));
  const QCommandLineOption panels(QStringLiteral("panels"),
                                  QStringLiteral("Folder of the panel files (required)."),
                                  QStringLiteral("folder"));
  const QCommandLineOption listenOn(
      QStringLiteral("listen"),
      QStringLiteral("Address to listen on (default 127.0.0.1; 0.0.0.0: every interface)."),
      QStringLiteral("address"), QStringLiteral("127.0.0.1"));
  const QCommandLineOption login(
      QStringLiteral("login"),
      QStringLiteral("Ask for a login with this user; the password comes from --password-file, "
                     "else from VEX_TEST_PASSWORD (user:password is also accepted)."),
      QStringLiteral("user"));
  const QCommandLineOption passwordFile(QStringLiteral("password-file"),
                                        QStringLiteral("File whose first line is the password."),
                                        QStringLiteral("file"));
  const QCommandLineOption chunk(QStringLiteral("chunk"),
                                 QStringLiteral("Send everything in pieces of this many bytes."),
                                 QStringLiteral("bytes"));
  const QCommandLineOption chunkDelay(QStringLiteral("chunk-delay"),
                                      QStringLiteral("Milliseconds between the pieces."),
                                      QStringLiteral("ms"));
  const QCommandLineOption closeAfter(
      QStringLiteral("close-after"),
      QStringLiteral("Close the first link after sending this many bytes."),
      QStringLiteral("bytes"));
  const QCommandLineOption garbage(
      QStringLiteral("garbage"),
      QStringLiteral("Send this many bytes of noise, then a frame end, first on every link."),
      QStringLiteral("bytes"));
  const QCommandLineOption unframed(
      QStringLiteral("unframed"),
      QStringLiteral("Send a message of this many bytes that never ends, first on every link."),
      QStringLiteral("bytes"));
  const QCommandLineOption silent(QStringLiteral("silent"),
                                  QStringLiteral("Accept links and never answer."));
  const QCommandLineOption dropAfterHello(
      QStringLiteral("drop-after-hello"),
      QStringLiteral("Close every link right after answering its hello."));
  parser.addOptions({port, listenOn, panels, login, passwordFile, chunk, chunkDelay, closeAfter,
                     garbage, unframed, silent, dropAfterHello});
  parser.process(app);

  auto fail = [](const char *text) {
    std::fprintf(stderr, "vex-test-server: %s\n", text);
    return 2;
  };
  VexTestServer::Options options;
  bool ok = true;
  const uint portNumber = parser.value(port).toUInt(&ok);
  if (!ok || portNumber > 65535) return fail("--port needs a number from 0 to 65535");
  options.port = static_cast<quint16>(portNumber);
  options.panelsFolder = parser.value(panels);
  if (options.panelsFolder.isEmpty() || !QDir(options.panelsFolder).exists())
    return fail("--panels needs an existing folder");
  if (!options.address.setAddress(parser.value(listenOn)))
    return fail("--listen needs an IP address");
  if (parser.isSet(login)) {
    const QString value = parser.value(login);
    const qsizetype colon = value.indexOf(u':');
    if (colon == 0 || value.isEmpty()) return fail("--login needs a user name");
    options.user = colon < 0 ? value : value.left(colon);
    if (colon > 0) {
      options.password = value.mid(colon + 1);
    } else if (parser.isSet(passwordFile)) {
      QFile file(parser.value(passwordFile));
      if (!file.open(QIODevice::ReadOnly)) return fail("--password-file cannot be read");
      const QByteArray text = file.readAll();
      const qsizetype end = text.indexOf('\n');
      options.password = QString::fromUtf8(end < 0 ? text : text.left(end)).remove(u'\r');
    } else if (qEnvironmentVariableIsSet("VEX_TEST_PASSWORD")) {
      options.password = qEnvironmentVariable("VEX_TEST_PASSWORD");
    } else {
      return fail("--login needs a password: --password-file or VEX_TEST_PASSWORD");
    }
  }
  auto number = [&](const QCommandLineOption &option, qint64 fallback) {
    if (!parser.isSet(option)) return fallback;
    bool good = false;
    const qint64 v = parser.value(option).toLongLong(&good);
    if (!good || v < 0) {
      std::fprintf(stderr, "vex-test-server: --%s needs a number\n",
                   qPrintable(option.names().first()));
      std::exit(2);
    }
    return v;
  };
  options.chunkSize = static_cast<int>(number(chunk, 0));
  options.chunkDelayMs = static_cast<int>(number(chunkDelay, 0));
  options.closeAfterBytes = number(closeAfter, -1);
  options.garbageBytes = number(garbage, 0);
  options.unframedBytes = number(unframed, 0);
  options.silent = parser.isSet(silent);
  options.dropAfterHello = parser.isSet(dropAfterHello);

  VexTestServer server(options);
  if (!server.listen()) {
    std::fprintf(stderr, "vex-test-server: cannot listen: %s\n", qPrintable(server.errorString()));
    return 1;
  }
  return app.exec();
}
