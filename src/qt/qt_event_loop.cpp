#include "qt/qt_event_loop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>
#include <thread>

#include "platform/timer.h"

namespace audiodsp {

namespace {

Tick uptimeMs() {
  return static_cast<Tick>(std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now().time_since_epoch())
                               .count());
}

}  // namespace

QtEventLoop::QtEventLoop() : QtEventLoop(uptimeMs()) {}

QtEventLoop::QtEventLoop(Tick start)
    : origin_(std::chrono::steady_clock::now()), start_(start), context_(std::make_unique<QObject>()) {}

QtEventLoop::~QtEventLoop() {
  for (auto& [timer, qtimer] : timers_) delete qtimer;
}

Tick QtEventLoop::tick() const {
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - origin_)
          .count();
  return static_cast<Tick>(start_ + static_cast<Tick>(elapsed));  // wraps at 2^32
}

void QtEventLoop::post(std::function<void()> fn) {
  // A queued call on an object of the loop's thread is safe from any thread and keeps the posting order.
  QMetaObject::invokeMethod(context_.get(), std::move(fn), Qt::QueuedConnection);
}

void QtEventLoop::processEvents() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventLoop::wait(uint32_t ms) {
  // The wait ends early when the tick wraps (tick < start), so the deadline is the nearer of the two.
  const Tick start = tick();
  const uint64_t untilWrap = (uint64_t{1} << 32) - start;
  const uint64_t span = ms < untilWrap ? ms : untilWrap;
  ++waitDepth_;
  processEvents();
  if (span > 0) {
    QEventLoop nested;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &nested, [&] {
      // A timer may fire a millisecond early by the tick's rounding: wait out the rest.
      const Tick now = tick();
      if (now >= start && static_cast<uint64_t>(now - start) < span) {
        deadline.start(static_cast<int>(span - (now - start)));
      } else {
        nested.quit();
      }
    });
    deadline.start(static_cast<int>(span));
    nested.exec();
  }
  --waitDepth_;
}

void QtEventLoop::sleep(uint32_t ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void QtEventLoop::armTimer(Timer& timer) {
  QTimer*& qtimer = timers_[&timer];
  if (qtimer == nullptr) {
    qtimer = new QTimer();
    qtimer->setTimerType(Qt::PreciseTimer);
    QObject::connect(qtimer, &QTimer::timeout, [&timer] { fireTimer(timer); });
  }
  qtimer->start(static_cast<int>(timer.interval()));
}

void QtEventLoop::disarmTimer(Timer& timer) {
  const auto it = timers_.find(&timer);
  if (it == timers_.end()) return;
  // The handler that disarms may be running inside this QTimer's timeout: delete it later.
  it->second->stop();
  it->second->disconnect();
  it->second->deleteLater();
  timers_.erase(it);
}

}  // namespace audiodsp
