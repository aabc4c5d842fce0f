#include "platform/scheduled_loop.h"

#include <algorithm>

#include "platform/timer.h"

namespace audiodsp {

namespace {
constexpr uint64_t kMicrosPerMs = 1000;
constexpr uint64_t kTickRange = uint64_t{1} << 32;
}  // namespace

ScheduledLoop::ScheduledLoop(Tick start) : start_(start) {}

ScheduledLoop::~ScheduledLoop() = default;

Tick ScheduledLoop::tick() const {
  return static_cast<Tick>(start_ + micros() / kMicrosPerMs);
}

void ScheduledLoop::post(std::function<void()> fn) {
  postAt(micros(), std::move(fn));
}

void ScheduledLoop::postAt(uint64_t atMicros, std::function<void()> fn) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.emplace(std::make_pair(atMicros, postSequence_++), std::move(fn));
  }
  wakeup_.notify_all();
}

void ScheduledLoop::armTimer(Timer& timer) {
  const uint64_t due = micros() + uint64_t{timer.interval()} * kMicrosPerMs;
  for (ArmedTimer& armed : timers_) {
    if (armed.timer == &timer) {
      armed.due = due;
      return;
    }
  }
  timers_.push_back({&timer, due});
}

void ScheduledLoop::disarmTimer(Timer& timer) {
  std::erase_if(timers_, [&](const ArmedTimer& armed) { return armed.timer == &timer; });
}

ScheduledLoop::ArmedTimer* ScheduledLoop::firstTimer() {
  ArmedTimer* first = nullptr;
  for (ArmedTimer& armed : timers_) {
    if (first == nullptr || armed.due < first->due ||
        (armed.due == first->due && armed.timer->sequence() < first->timer->sequence())) {
      first = &armed;
    }
  }
  return first;
}

std::optional<uint64_t> ScheduledLoop::nextDue() {
  std::optional<uint64_t> due;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!events_.empty()) due = events_.begin()->first.first;
  }
  if (const ArmedTimer* timer = firstTimer()) due = due ? std::min(*due, timer->due) : timer->due;
  return due;
}

bool ScheduledLoop::runOne() {
  const uint64_t now = micros();
  ArmedTimer* timer = firstTimer();
  std::function<void()> event;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto first = events_.begin();
    // Events go before timers that are due at the same time.
    if (first != events_.end() && first->first.first <= now &&
        (timer == nullptr || first->first.first <= timer->due)) {
      event = std::move(first->second);
      events_.erase(first);
    }
  }
  if (event) {
    event();
    return true;
  }
  if (timer == nullptr || timer->due > now) return false;
  // Schedule the next tick before the handler runs, keeping the rhythm; ticks the loop could not run in
  // time are dropped rather than fired in a burst.
  const uint64_t interval = uint64_t{timer->timer->interval()} * kMicrosPerMs;
  timer->due += ((now - timer->due) / interval + 1) * interval;
  Timer& fired = *timer->timer;  // the entry may move while the handler arms or disarms timers
  fireTimer(fired);
  return true;
}

void ScheduledLoop::runDue() {
  while (runOne()) {
  }
}

void ScheduledLoop::processEvents() {
  runDue();
}

void ScheduledLoop::wait(uint32_t ms) {
  const Tick start = tick();
  // The tick at which the wait ends: start + ms, or the wrap of the counter if that comes first.
  const uint64_t startMs = micros() / kMicrosPerMs;
  const uint64_t untilMs = startMs + std::min<uint64_t>(ms, kTickRange - start);
  const uint64_t deadline = untilMs * kMicrosPerMs;
  for (;;) {
    runDue();
    const Tick now = tick();
    if (now < start || now - start >= ms) return;
    idleOnce(deadline);
  }
}

void ScheduledLoop::idleOnce(uint64_t limit) {
  uint64_t until = limit;
  if (const ArmedTimer* timer = firstTimer()) until = std::min(until, timer->due);
  // Events are looked at under the same lock the idle wait holds, so one posted from another thread
  // is either seen here or wakes the wait.
  std::unique_lock<std::mutex> lock(mutex_);
  if (!events_.empty()) {
    const uint64_t due = events_.begin()->first.first;
    if (due <= micros()) return;
    until = std::min(until, due);
  }
  if (until <= micros()) return;
  idleUntil(lock, until);
}

}  // namespace audiodsp
