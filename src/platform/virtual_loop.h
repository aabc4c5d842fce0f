#pragma once

#include <atomic>
#include <cstdint>

#include "platform/scheduled_loop.h"

namespace audiodsp {

// A deterministic loop on a virtual clock for tests: time moves only when the test advances it, when a
// handler waits or sleeps, or when the simulated line spends time on the wire. A wait never blocks in
// real time: with nothing due it jumps straight to the next due time or its deadline.
class VirtualLoop : public ScheduledLoop {
 public:
  explicit VirtualLoop(Tick start = 0);

  // Runs everything due up to now + ms, in order, and leaves the clock at now + ms (or later, when a
  // handler waited beyond that).
  void advance(uint32_t ms);
  void advanceMicros(uint64_t us);
  // Posted events and timers due now.
  void runPending() { processEvents(); }

  // Moves the clock on without handling anything.
  void sleep(uint32_t ms) override;
  void sleepMicros(uint64_t us);

  uint64_t micros() const override { return now_.load(); }

  // Queues fn to run when the virtual clock reaches atMicros (for wire and device delays that are not
  // whole milliseconds). Safe from any thread.
  void postAtMicros(uint64_t atMicros, std::function<void()> fn) { postAt(atMicros, std::move(fn)); }

 protected:
  void idleUntil(std::unique_lock<std::mutex>& lock, uint64_t untilMicros) override;

 private:
  std::atomic<uint64_t> now_{0};
};

}  // namespace audiodsp
