#pragma once
// The transmit scheduler and link supervision of the main form.
//
// Editors never write to the port themselves: they fill a slot's frame buffer and mark the
// slot. Three timers then move one slot at a time through the port: `sendTimer` (10 ms)
// takes the lowest marked slot and stops the poll, `Timer7` (200 ms later) writes it, and
// `Timer4` (300 ms later) lets polling and sending resume. While nothing is queued,
// `Timer1` polls every 500 ms and `intimer` disconnects after 2 s without a byte from the
// device. `chcon`, `chcon112` and `chcon188` time the connection handshake.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "link/serial_link.h"
#include "platform/dialogs.h"
#include "platform/event_loop.h"
#include "platform/timer.h"
#include "protocol/send_table.h"

namespace audiodsp {

// Some editors let the progress bar follow the frames they queue: each frame written moves
// the bar by 16 %, and the sixth closes the progress box.
struct FrameProgress {
  static constexpr int kFrames = 6;
  static constexpr int kPercentPerFrame = 16;
  bool on = false;
  int counter = 0;
};

class SendChain {
 public:
  // `deviceId` is the wire address of every frame (0xFF broadcast); the main form owns it
  // and may change it at any time, the chain reads it when it builds a frame.
  SendChain(EventLoop& loop, SerialLink& link, SendTable& table, const uint8_t& deviceId, Dialogs& dialogs);
  SendChain(const SendChain&) = delete;
  SendChain& operator=(const SendChain&) = delete;

  // The connect/disconnect command; the time-outs run it only while the link is open, so it
  // disconnects.
  std::function<void()> disconnect;
  // The progress bar `RzProgressBar1`, and the end of a progress run: hide the progress box
  // and enable RzGroupBox8, GroupBox1, GroupBox2 and GroupBox3 again.
  std::function<void(int percent)> showProgress;
  std::function<void()> progressFinished;

  // Polling and sending resume (the end of an exchange).
  void startPolling();
  // Polling, sending and the watchdog stop (the start of an exchange, a disconnect).
  void stopPolling();
  // The connect command has sent its group read: time the three steps of the handshake.
  void startHandshakeTimers();
  // Writes a frame at once, outside the queue: empty the transmit buffer, fill, write.
  void writeNow(std::span<const uint8_t> frame);

  // The slot taken by the send timer and not yet written, 0 when none.
  int chosenSlot() const { return chosenSlot_; }
  uint8_t deviceId() const { return deviceId_; }
  SerialLink& link() { return link_; }
  SendTable& table() { return table_; }
  FrameProgress frameProgress;

  // Declared in the order of the timer map, so timers due at the same moment fire in the
  // order the form created them.
  Timer Timer1;     // keep-alive poll
  Timer intimer;    // watchdog
  Timer sendTimer;  // takes the next slot
  Timer Timer7;     // writes the taken slot
  Timer Timer4;     // pause after a write
  Timer chcon;      // handshake: first reply
  Timer chcon112;   // handshake: group image
  Timer chcon188;   // handshake: preset names

 private:
  void takeSlot();
  void writeSlot();
  void resume();
  void poll();
  void watchdog();
  void linkLost(const char* message);
  std::vector<uint8_t> slotFrame(int slot) const;
  void advanceProgress();

  SerialLink& link_;
  SendTable& table_;
  const uint8_t& deviceId_;
  Dialogs& dialogs_;
  int chosenSlot_ = 0;
};

}  // namespace audiodsp
