#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/event_loop.h"

namespace audiodsp {

// A window timer: while enabled it calls onTimer every interval milliseconds on the loop's thread.
// - Enabling a timer that is already enabled does not restart it; disabling and enabling restarts the
//   interval, and so does changing the interval of an enabled timer.
// - A handler that disables its own timer makes it one-shot.
// - An interval of 0 never fires, even while enabled.
// - While its handler runs (for instance inside a nested wait) the timer does not enter it again; the
//   ticks that fall due meanwhile are dropped and the timer keeps its rhythm.
// The timer must be destroyed before its loop. Use it on the loop's thread only.
class Timer {
 public:
  Timer(EventLoop& loop, std::string name, uint32_t intervalMs, bool enabled = false);
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer();

  std::function<void()> onTimer;

  void setEnabled(bool on);
  void start() { setEnabled(true); }
  void stop() { setEnabled(false); }
  bool enabled() const { return enabled_; }

  void setInterval(uint32_t ms);
  uint32_t interval() const { return interval_; }

  const std::string& name() const { return name_; }
  uint64_t sequence() const { return sequence_; }
  // True while onTimer is running (also across nested waits inside it).
  bool running() const { return running_; }
  EventLoop& loop() const { return loop_; }

 private:
  friend class EventLoop;
  void fire();

  EventLoop& loop_;
  std::string name_;
  uint32_t interval_;
  bool enabled_ = false;
  uint64_t sequence_;
  bool running_ = false;
  // Points at a flag of the running fire() so that a handler destroying its timer is noticed there.
  bool* destroyedWhileRunning_ = nullptr;
};

}  // namespace audiodsp
