// Helpers of the window tests: letting the event loop run, and acting on a modal dialog once it stands
// open (the dialog runs its own loop, so the test acts from a timer).
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

namespace quorvel::guitest {

// Lets window events run for ms milliseconds, and at least once (a loaded machine may take the test
// off the processor for longer than ms).
inline void settle(int ms = 50) {
  QElapsedTimer t;
  t.start();
  do {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  } while (t.elapsed() < ms);
}

// Lets window events run until done() holds, at most timeout_ms milliseconds; returns done(). A wait for
// the window manager or the X server: generous, since a loaded machine may answer late.
inline bool settle_until(const std::function<bool()>& done, int timeout_ms = 60000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > timeout_ms) return done();
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// Acts on the first visible top-level dialog of type D once it stands open.
template <typename D>
void when_open(std::function<void(D*)> act) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    for (QWidget* t : QApplication::topLevelWidgets()) {
      if (auto* d = qobject_cast<D*>(t); d && d->isVisible()) {
        timer->stop();
        timer->deleteLater();
        act(d);
        return;
      }
    }
  });
  timer->start(20);
}

}  // namespace quorvel::guitest
