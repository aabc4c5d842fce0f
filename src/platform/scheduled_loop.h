#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "platform/event_loop.h"

namespace audiodsp {

// The scheduling shared by the loops that keep their own timer list (the virtual and the real-time loop):
// one queue of posted events, the armed timers, and the wait built on them. Time is kept in microseconds
// since the loop was made; tick() is start + elapsed milliseconds (truncated), wrapping at 2^32.
//
// Order of handling: by due time; at equal times posted events (in the order they were posted) come
// before timers, and timers in their creation order.
class ScheduledLoop : public EventLoop {
 public:
  ~ScheduledLoop() override;

  Tick tick() const override;
  void post(std::function<void()> fn) override;
  void processEvents() override;
  void wait(uint32_t ms) override;

  // Microseconds since the loop was made, on its own clock.
  virtual uint64_t micros() const = 0;

 protected:
  explicit ScheduledLoop(Tick start);

  // Queues fn to run once the clock reaches atMicros (or at once if that has passed); any thread.
  void postAt(uint64_t atMicros, std::function<void()> fn);

  // Blocks until the clock reaches untilMicros (UINT64_MAX: no limit) or an event is posted. Called with
  // lock held on mutex_;
  // the real-time loop waits on wakeup_, the virtual loop moves its clock.
  virtual void idleUntil(std::unique_lock<std::mutex>& lock, uint64_t untilMicros) = 0;

  // Blocks until something is due, an event is posted or the clock reaches limit; returns at once when
  // something is due already.
  void idleOnce(uint64_t limit);
  // Runs everything due at the current time, including what those handlers post or arm for now.
  void runDue();
  // The earliest time something is due, if anything is queued or armed.
  std::optional<uint64_t> nextDue();

  void armTimer(Timer& timer) override;
  void disarmTimer(Timer& timer) override;

  mutable std::mutex mutex_;
  std::condition_variable wakeup_;

 private:
  struct ArmedTimer {
    Timer* timer;
    uint64_t due;
  };

  // Runs the first item due at the current time; false when nothing is due.
  bool runOne();
  ArmedTimer* firstTimer();

  const Tick start_;
  uint64_t postSequence_ = 0;
  std::map<std::pair<uint64_t, uint64_t>, std::function<void()>> events_;  // (due, post order) -> event
  std::vector<ArmedTimer> timers_;                                         // loop thread only
};

}  // namespace audiodsp
