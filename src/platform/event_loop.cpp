#include "platform/event_loop.h"

#include "platform/timer.h"

namespace audiodsp {

EventLoop::~EventLoop() = default;

void EventLoop::fireTimer(Timer& timer) {
  timer.fire();
}

}  // namespace audiodsp
