#pragma once

// The shell for the benchmarks that time windows: a shown main window, and
// waiting for it to paint.

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
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
