#include "control/qt/event_wait.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace kivdb::qt {

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
  if (done()) return true;
  QElapsedTimer clock;
  clock.start();
  QEventLoop loop;
  QTimer tick;
  tick.setInterval(10);
  QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
    if (done() || clock.hasExpired(timeoutMs)) loop.quit();
  });
  tick.start();
  loop.exec();
  return done();
}

}  // namespace kivdb::qt
