#include "link/notify_gate.h"

namespace audiodsp {

void NotifyGate::open() {
  {
    std::lock_guard lock(mutex_);
    open_ = true;
  }
  cv_.notify_all();
  if (onOpen) onOpen();
}

void NotifyGate::close() {
  std::lock_guard lock(mutex_);
  open_ = false;
}

bool NotifyGate::isOpen() const {
  std::lock_guard lock(mutex_);
  return open_;
}

bool NotifyGate::waitOpen(std::stop_token stop) {
  std::unique_lock lock(mutex_);
  return cv_.wait(lock, stop, [this] { return open_; });
}

}  // namespace audiodsp
