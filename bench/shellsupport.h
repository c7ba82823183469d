#pragma once

// The shell for the benchmarks that time windows: a shown main window, and
// waiting for it to paint.

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <QWindow>

#include "app/mainwindowlogic.h"
#include "benchsupport.h"
#include "ui/mainwindow.h"
#include "ui/qtui.h"

// Notes when the widget it watches is painted.
class PaintWatch : public QObject {
 public:
  bool painted = false;
  bool eventFilter(QObject *, QEvent *event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return false;
  }
};

// Processes events until the condition holds; false after ten seconds.
template <class Done>
bool processEventsUntil(Done done) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > 10000) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

// The same without spinning: the event loop sleeps until an event comes
// (looked at every millisecond), so that work of other threads is not
// measured against a busy main thread.
template <class Done>
bool waitInEventLoopUntil(Done done) {
  QEventLoop loop;
  QTimer look;
  look.setInterval(1);
  QObject::connect(&look, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  QTimer::singleShot(10000, &loop, [&] { loop.exit(1); });
  look.start();
  return done() || loop.exec() == 0;
}

// A designer in a shown main window of 1280 x 1024, as a user starts it.
struct ShownShell {
  QtUi ui;
  MainWindowLogic designer{ui};
  MainWindow window{designer};
  // False when the window was not shown within ten seconds.
  bool show() {
    ui.setParentWidget(&window);
    designer.load();
    window.resize(1280, 1024);
    window.show();
    return processEventsUntil([&] { return window.windowHandle()->isExposed(); });
  }
};

// The main of a benchmark program that needs widgets.
inline int runWidgetBenchmarks(int argc, char **argv) {
  bench::useOffscreenPlatform();
  QApplication app(argc, argv);
  return bench::runAll(argc, argv);
}
