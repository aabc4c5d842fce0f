#include "protocol/send_chain.h"

#include "protocol/frame_codec.h"
#include "protocol/timer_map.h"

namespace audiodsp {

namespace {

constexpr const char* kInterrupted = "interrupt.";
constexpr const char* kNoFirstReply = "overtime,please make suer the device id correct.";
constexpr const char* kHandshakeIncomplete = "overtime,please try again.";

}  // namespace

SendChain::SendChain(EventLoop& loop, SerialLink& link, SendTable& table, const uint8_t& deviceId,
                     Dialogs& dialogs)
    : Timer1(makeTimer(loop, timers::Timer1)),
      intimer(makeTimer(loop, timers::intimer)),
      sendTimer(makeTimer(loop, timers::sendTimer)),
      Timer7(makeTimer(loop, timers::Timer7)),
      Timer4(makeTimer(loop, timers::Timer4)),
      chcon(makeTimer(loop, timers::chcon)),
      chcon112(makeTimer(loop, timers::chcon112)),
      chcon188(makeTimer(loop, timers::chcon188)),
      link_(link),
      table_(table),
      deviceId_(deviceId),
      dialogs_(dialogs) {
  sendTimer.onTimer = [this] { takeSlot(); };
  Timer7.onTimer = [this] { writeSlot(); };
  Timer4.onTimer = [this] { resume(); };
  Timer1.onTimer = [this] { poll(); };
  intimer.onTimer = [this] { watchdog(); };
  chcon.onTimer = [this] {
    chcon.stop();
    chcon112.stop();
    chcon188.stop();
    linkLost(kNoFirstReply);
  };
  chcon112.onTimer = [this] {
    chcon112.stop();
    chcon188.stop();
    linkLost(kHandshakeIncomplete);
  };
  chcon188.onTimer = [this] {
    chcon188.stop();
    linkLost(kHandshakeIncomplete);
  };
}

void SendChain::startPolling() {
  Timer1.start();
  sendTimer.start();
}

void SendChain::stopPolling() {
  Timer1.stop();
  sendTimer.stop();
  intimer.stop();
}

void SendChain::startHandshakeTimers() {
  chcon.start();
  chcon112.start();
  chcon188.start();
}

void SendChain::writeNow(std::span<const uint8_t> frame) {
  auto& tx = link_.txBuffer();
  tx.assign(frame.begin(), frame.end());
  link_.writePort();
}

void SendChain::takeSlot() {
  if (!link_.portOpen()) return;
  const int slot = table_.lowestPending();
  if (slot == 0) return;
  chosenSlot_ = slot;
  table_.clearSlot(slot);
  sendTimer.stop();
  Timer1.stop();
  intimer.stop();
  Timer7.start();
}

std::vector<uint8_t> SendChain::slotFrame(int slot) const {
  if (slot >= 1 && slot <= SendTable::kFrameSlots) {
    const auto& frame = table_.frame(slot);
    return {frame.begin(), frame.end()};
  }
  // The system read carries the address of the moment it is written, not of when it was
  // queued: an ID assignment in between must not send it to the old address.
  if (slot == SendTable::kSystemReadSlot) return systemReadFrame(deviceId_);
  return {};
}

void SendChain::writeSlot() {
  // With the link closed the taken slot is kept; it goes out once a link is open again.
  if (!link_.portOpen()) return;
  Timer7.stop();
  const std::vector<uint8_t> frame = slotFrame(chosenSlot_);
  writeNow(frame);
  // Broadcast frames get no acknowledgement, so each one goes out twice in a row.
  if (deviceId_ == kBroadcastAddress) writeNow(frame);
  if (frameProgress.on) advanceProgress();
  chosenSlot_ = 0;
  Timer4.start();
}

void SendChain::advanceProgress() {
  ++frameProgress.counter;
  if (showProgress) showProgress(frameProgress.counter * FrameProgress::kPercentPerFrame);
  if (frameProgress.counter >= FrameProgress::kFrames) {
    frameProgress.on = false;
    if (progressFinished) progressFinished();
  }
}

void SendChain::resume() {
  Timer4.stop();
  Timer1.start();
  sendTimer.start();
}

void SendChain::poll() {
  if (!link_.portOpen()) return;
  // Whatever is left unrecognised from earlier replies goes now, so each poll reply is
  // read from a clean start.
  link_.rxText().clear();
  writeNow(pollFrame(deviceId_));
  // Enabling a running watchdog does not restart it: it counts from the first poll since
  // a byte last arrived.
  intimer.start();
}

void SendChain::watchdog() {
  intimer.stop();
  // Broadcast polls get no answer; silence is normal there.
  if (deviceId_ == kBroadcastAddress) return;
  linkLost(kInterrupted);
}

void SendChain::linkLost(const char* message) {
  // The connect/disconnect command toggles: run on a link the user has already closed, it
  // would connect again. A closed link has nothing left to time out.
  if (!link_.portOpen()) return;
  if (disconnect) disconnect();
  dialogs_.message(message);
}

}  // namespace audiodsp
