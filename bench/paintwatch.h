#pragma once

// Waiting for the shell to paint, for the benchmarks that time windows.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>

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
