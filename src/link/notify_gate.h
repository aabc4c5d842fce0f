#pragma once
// The gate that keeps at most one receive notification outstanding. The reader closes it
// before it posts a notification; the receive pass on the user-interface thread opens it
// again when it is done. It starts open.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stop_token>

namespace audiodsp {

class NotifyGate {
 public:
  NotifyGate() = default;
  NotifyGate(const NotifyGate&) = delete;
  NotifyGate& operator=(const NotifyGate&) = delete;

  // Opens the gate, wakes a reader waiting for it and then runs onOpen (on the caller's
  // thread). A backend without a thread of its own uses onOpen to notice that input
  // which arrived during a pass is still waiting.
  void open();
  void close();
  bool isOpen() const;

  // Blocks until the gate is open; false when `stop` was requested first.
  bool waitOpen(std::stop_token stop);

  std::function<void()> onOpen;

 private:
  mutable std::mutex mutex_;
  std::condition_variable_any cv_;
  bool open_ = true;
};

}  // namespace audiodsp
