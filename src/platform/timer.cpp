#include "platform/timer.h"

#include <utility>

namespace audiodsp {

Timer::Timer(EventLoop& loop, std::string name, uint32_t intervalMs, bool enabled)
    : loop_(loop), name_(std::move(name)), interval_(intervalMs), sequence_(loop.nextTimerSequence()) {
  setEnabled(enabled);
}

Timer::~Timer() {
  if (destroyedWhileRunning_ != nullptr) *destroyedWhileRunning_ = true;
  if (enabled_) loop_.disarmTimer(*this);
}

void Timer::setEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  if (!on) {
    loop_.disarmTimer(*this);
  } else if (interval_ > 0) {
    loop_.armTimer(*this);
  }
}

void Timer::setInterval(uint32_t ms) {
  if (ms == interval_) return;
  interval_ = ms;
  if (!enabled_) return;
  loop_.disarmTimer(*this);
  if (ms > 0) loop_.armTimer(*this);
}

void Timer::fire() {
  if (running_ || !onTimer) return;
  bool destroyed = false;
  running_ = true;
  destroyedWhileRunning_ = &destroyed;
  // Reset the running state however the handler ends, unless it destroyed its own timer.
  struct Reset {
    Timer* timer;
    bool& destroyed;
    ~Reset() {
      if (destroyed) return;
      timer->running_ = false;
      timer->destroyedWhileRunning_ = nullptr;
    }
  } reset{this, destroyed};
  // A copy, so that a handler may replace onTimer or destroy the timer while it runs.
  std::function<void()> handler = onTimer;
  handler();
}

}  // namespace audiodsp
