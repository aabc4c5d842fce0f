#include "platform/virtual_loop.h"

namespace audiodsp {

VirtualLoop::VirtualLoop(Tick start) : ScheduledLoop(start) {}

void VirtualLoop::advance(uint32_t ms) {
  advanceMicros(uint64_t{ms} * 1000);
}

void VirtualLoop::advanceMicros(uint64_t us) {
  const uint64_t target = now_.load() + us;
  for (;;) {
    runDue();
    std::optional<uint64_t> due = nextDue();
    if (!due || *due > target) break;
    if (*due > now_.load()) now_.store(*due);
  }
  if (now_.load() < target) now_.store(target);
}

void VirtualLoop::sleep(uint32_t ms) {
  sleepMicros(uint64_t{ms} * 1000);
}

void VirtualLoop::sleepMicros(uint64_t us) {
  now_.fetch_add(us);
}

void VirtualLoop::idleUntil(std::unique_lock<std::mutex>&, uint64_t untilMicros) {
  if (untilMicros > now_.load()) now_.store(untilMicros);
}

}  // namespace audiodsp
