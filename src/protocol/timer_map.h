#pragma once
// Every window timer of the main form with its interval and whether it runs from the
// start. Each owner builds its timers from these entries, so an interval lives in one
// place and the whole map can be read at a glance.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/timer.h"

namespace audiodsp {

struct TimerSpec {
  std::string_view name;
  uint32_t intervalMs;
  bool enabledAtStart;
};

namespace timers {

// Send chain and link supervision.
inline constexpr TimerSpec Timer1{"Timer1", 500, false};       // keep-alive poll
inline constexpr TimerSpec intimer{"intimer", 2000, false};    // watchdog: silent device
inline constexpr TimerSpec sendTimer{"sendTimer", 10, false};  // takes the next pending slot
inline constexpr TimerSpec Timer7{"Timer7", 200, false};       // writes the taken slot
inline constexpr TimerSpec Timer4{"Timer4", 300, false};       // pause before polling and sending resume
inline constexpr TimerSpec chcon{"chcon", 800, false};         // handshake: first reply
inline constexpr TimerSpec chcon112{"chcon112", 1500, false};  // handshake: group image
inline constexpr TimerSpec chcon188{"chcon188", 2500, false};  // handshake: preset names
// Connection control and the window.
inline constexpr TimerSpec Timer6{"Timer6", 2000, false};       // re-enables the connect button
inline constexpr TimerSpec Timer13{"Timer13", 1000, true};      // connection lamp
inline constexpr TimerSpec refurbish{"refurbish", 3000, true};  // port list refresh while closed
inline constexpr TimerSpec brocar1{"brocar1", 3000, true};      // lost-port check while open
// Exchanges.
inline constexpr TimerSpec Timer2{"Timer2", 10, false};        // "DeviceID change to " message
inline constexpr TimerSpec Timer11{"Timer11", 10, false};      // "Successfully save."
inline constexpr TimerSpec Timer22{"Timer22", 10000, false};   // preset load time-out
inline constexpr TimerSpec Timer3{"Timer3", 800, false};       // preset load progress
inline constexpr TimerSpec Timer8{"Timer8", 700, false};       // block reads of save-all
inline constexpr TimerSpec Timer9{"Timer9", 16000, false};     // save-all time-out
inline constexpr TimerSpec Timer10{"Timer10", 1000, false};    // block writes of load-all
inline constexpr TimerSpec Timer12{"Timer12", 800, false};     // load-one-group progress
inline constexpr TimerSpec trunon1{"trunon1", 10, false};      // initial-data upload
inline constexpr TimerSpec Timer332{"Timer332", 1500, false};  // initial data: source time-out
inline constexpr TimerSpec Timer333{"Timer333", 300, false};   // initial data from a device: progress
inline constexpr TimerSpec Timer342{"Timer342", 200, false};   // initial data from a file: progress
inline constexpr TimerSpec Timer124{"Timer124", 10, true};     // start-up search

}  // namespace timers

// A timer built from its map entry: `Timer Timer22 = makeTimer(loop, timers::Timer22);`
inline Timer makeTimer(EventLoop& loop, const TimerSpec& spec) {
  return Timer(loop, std::string(spec.name), spec.intervalMs, spec.enabledAtStart);
}

}  // namespace audiodsp
