#pragma once

#include <chrono>
#include <cstdint>

#include "platform/scheduled_loop.h"

namespace audiodsp {

// A small loop on the monotonic clock for programs and tests without a window system (the simulator on a
// pseudo-terminal, serial driver tests). Idle waits block on a condition variable until the next event,
// timer or deadline.
class RealTimeLoop : public ScheduledLoop {
 public:
  // The tick starts at the system's uptime in milliseconds, like the window system's tick counter.
  RealTimeLoop();
  // The tick starts at the given value (lets a test put the wrap at 2^32 a few milliseconds ahead).
  explicit RealTimeLoop(Tick start);

  void sleep(uint32_t ms) override;
  uint64_t micros() const override;

  // Handles events until quit() is called (from a handler or from any thread).
  void run();
  void quit();

 protected:
  void idleUntil(std::unique_lock<std::mutex>& lock, uint64_t untilMicros) override;

 private:
  const std::chrono::steady_clock::time_point origin_;
  bool quit_ = false;  // loop thread only
};

}  // namespace audiodsp
