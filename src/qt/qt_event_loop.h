#pragma once
// The program's event loop on top of Qt's: posted events are queued calls on a context object, each
// armed window timer is one QTimer, and the message-processing wait is a nested QEventLoop that a
// deadline timer ends, so a waiting handler keeps the window, the timers and the serial notifications
// running without spinning.
#include <QObject>
#include <chrono>
#include <map>
#include <memory>

#include "platform/event_loop.h"

class QTimer;

namespace audiodsp {

class QtEventLoop final : public EventLoop {
 public:
  // Ticks start at the system's uptime in milliseconds, like the window system's tick counter.
  QtEventLoop();
  // Ticks start at the given value (lets a test put the wrap at 2^32 a few milliseconds ahead).
  explicit QtEventLoop(Tick start);
  ~QtEventLoop() override;

  Tick tick() const override;
  void post(std::function<void()> fn) override;
  void processEvents() override;
  void wait(uint32_t ms) override;
  void sleep(uint32_t ms) override;

  // How deep the message-processing waits are nested right now.
  int waitDepth() const { return waitDepth_; }

 protected:
  void armTimer(Timer& timer) override;
  void disarmTimer(Timer& timer) override;

 private:
  const std::chrono::steady_clock::time_point origin_;
  const Tick start_;
  // Posted calls run on this object's thread (the thread that made the loop).
  std::unique_ptr<QObject> context_;
  std::map<Timer*, QTimer*> timers_;
  int waitDepth_ = 0;
};

}  // namespace audiodsp
