#pragma once

#include <cstdint>
#include <functional>

namespace audiodsp {

// Millisecond tick count of the loop's clock. It wraps at 2^32 like the system tick the program was
// designed around, and code that measures intervals with it must cope with the wrap.
using Tick = uint32_t;

class Timer;

// The loop that runs every handler of the program on one thread: posted events, window timers and the
// message-processing wait. Implementations: VirtualLoop (tests, virtual clock), RealTimeLoop (programs
// without a window system) and the Qt loop of the front-end.
//
// Everything except post() must be called on the loop's thread.
class EventLoop {
 public:
  EventLoop() = default;
  EventLoop(const EventLoop&) = delete;
  EventLoop& operator=(const EventLoop&) = delete;
  virtual ~EventLoop();

  virtual Tick tick() const = 0;

  // Queues fn to run on the loop's thread; safe to call from any thread. Events run in the order posted.
  virtual void post(std::function<void()> fn) = 0;

  // Handles everything that is pending now (posted events and due timers) and returns without blocking.
  virtual void processEvents() = 0;

  // The message-processing wait: start := tick; repeat { handle all pending events and due timers }
  // until tick - start >= ms, or tick < start (the counter wrapped, which ends the wait early).
  // Handlers may wait again inside (nested waits). Between passes the loop blocks until the next event,
  // timer or the deadline; it never spins.
  virtual void wait(uint32_t ms) = 0;

  // Blocks for ms without handling anything: events and timers that fall due meanwhile run later.
  virtual void sleep(uint32_t ms) = 0;

 protected:
  friend class Timer;

  // Backend hooks used by Timer. armTimer: the timer is enabled with a non-zero interval, or restarted;
  // the loop must call fireTimer(timer) timer.interval() ms from now and then every interval, until
  // disarmTimer. Arming an armed timer restarts its interval. A Qt loop maps this onto one QTimer each.
  virtual void armTimer(Timer& timer) = 0;
  virtual void disarmTimer(Timer& timer) = 0;

  // Runs the timer's handler, unless that handler is already running (a handler that waits inside
  // itself is not entered again by its own timer).
  static void fireTimer(Timer& timer);

  // Creation order of timers, used to order timers that fall due at the same time.
  uint64_t nextTimerSequence() { return timerSequence_++; }

 private:
  uint64_t timerSequence_ = 0;
};

}  // namespace audiodsp
