#include "platform/real_time_loop.h"

#include <time.h>

#include <limits>
#include <thread>

namespace audiodsp {

namespace {
Tick uptimeMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<Tick>(static_cast<uint64_t>(ts.tv_sec) * 1000 +
                           static_cast<uint64_t>(ts.tv_nsec) / 1000000);
}
}  // namespace

RealTimeLoop::RealTimeLoop() : RealTimeLoop(uptimeMs()) {}

RealTimeLoop::RealTimeLoop(Tick start) : ScheduledLoop(start), origin_(std::chrono::steady_clock::now()) {}

uint64_t RealTimeLoop::micros() const {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - origin_)
          .count());
}

void RealTimeLoop::sleep(uint32_t ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void RealTimeLoop::idleUntil(std::unique_lock<std::mutex>& lock, uint64_t untilMicros) {
  // One wait: a post, the deadline or a spurious wake-up all send the caller round again.
  if (untilMicros == std::numeric_limits<uint64_t>::max()) {
    wakeup_.wait(lock);
  } else {
    wakeup_.wait_until(lock, origin_ + std::chrono::microseconds(untilMicros));
  }
}

void RealTimeLoop::run() {
  while (!quit_) {
    runDue();
    if (quit_) break;
    idleOnce(std::numeric_limits<uint64_t>::max());
  }
  quit_ = false;
}

// Delivered as an event, so it wakes an idle run() from any thread without a lock of its own.
void RealTimeLoop::quit() {
  post([this] { quit_ = true; });
}

}  // namespace audiodsp
