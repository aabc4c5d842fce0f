#pragma once
// The protocol layer on a simulated line: the send chain and the reply dispatcher on a
// SerialLink whose port is the virtual amplifier, all on the virtual clock. The bench plays
// the main form's part where the form is not built yet: it opens and closes the port the
// way the connect/disconnect command does, and records what the reply owners are handed.
#include <cstdint>
#include <string>
#include <vector>

#include "link/serial_link.h"
#include "platform/scripted_dialogs.h"
#include "platform/virtual_loop.h"
#include "protocol/frame_codec.h"
#include "protocol/reply_dispatcher.h"
#include "protocol/send_chain.h"
#include "protocol/send_table.h"
#include "sim/sim_serial_device.h"
#include "sim/virtual_line.h"

namespace audiodsp::testing {

using Bytes = std::vector<uint8_t>;

// A frame the program wrote, with the millisecond its first byte went out.
struct HostFrame {
  uint64_t atMs;
  Bytes bytes;
};

// Something a reply owner, a hook or a dialog was handed, with the time.
struct Event {
  uint64_t atMs;
  std::string what;
};

class LinkBench {
 public:
  static constexpr int kPort = 1;

  explicit LinkBench(SimConfig config = {}) : line(std::move(config)) {
    link.portMap()[kPort] = "sim";
    link.setPortNumber(kPort);
    link.onDispatch = [this] { dispatcher.dispatch(); };
    device.onWire = [this](const WireEvent& e) {
      if (e.fromHost) hostFrames.push_back({e.startMicros / 1000, e.bytes});
    };
    chain.disconnect = [this] {
      record("disconnect");
      disconnect();
    };
    chain.showProgress = [this](int percent) { record("progress " + std::to_string(percent)); };
    chain.progressFinished = [this] { record("progress finished"); };
    ReplyHandlers& h = dispatcher.handlers;
    h.systemBlock = [this](uint8_t b0, uint8_t b1, uint8_t b2, uint8_t threshold) {
      record("system " + std::to_string(b0) + " " + std::to_string(b1) + " " + std::to_string(b2) + " " +
             std::to_string(threshold));
    };
    h.searchHit = [this] { record("search hit"); };
    h.temperature = [this](const std::string& text) { record("temperature " + text); };
    h.attenuation = [this](const std::string& text) { record("attenuation " + text); };
    h.idChangeAcknowledged = [this] { record("id change acknowledged"); };
    h.presetSaveAcknowledged = [this] { record("preset save acknowledged"); };
    h.storedGroup = [this](const std::string& line) { record("stored group " + line); };
    h.initialDataGroup = [this](const std::string& text) { record("initial data " + text); };
    h.singleSaveGroup = [this](const std::string& line) { record("single save " + line); };
    // What ApplyImage does to the protocol's state: frames queued before the image are void.
    h.applyImage = [this](const std::string& text) {
      record("apply " + text);
      table.clearAll();
    };
    h.lockSelectors = [this] { record("lock selectors"); };
    h.presetLoadFinished = [this] { record("preset load finished"); };
    h.presetNames = [this](const std::string& text) { record("names " + text); };
  }

  // The port opened and read, as the connect command does before it talks.
  void open() {
    link.openPort();
    link.startReader();
  }
  // The connect command with a device ID selected: open, ask for the current group, time
  // the handshake.
  void connect() {
    open();
    link.rxText().clear();
    chain.writeNow(groupReadFrame(deviceId, 0));
    chain.startHandshakeTimers();
  }
  // The disconnect command: stop the chain, pause, close.
  void disconnect() {
    chain.stopPolling();
    link.txBuffer().clear();
    link.setPortNumber(-1);
    loop.wait(50);
    link.closePort();
  }

  void record(std::string what) { events.push_back({loop.tick(), std::move(what)}); }
  // The events whose text starts with `prefix`.
  std::vector<Event> eventsOf(const std::string& prefix) const {
    std::vector<Event> out;
    for (const Event& e : events)
      if (e.what.starts_with(prefix)) out.push_back(e);
    return out;
  }
  std::vector<HostFrame> framesOf(const Bytes& bytes) const {
    std::vector<HostFrame> out;
    for (const HostFrame& f : hostFrames)
      if (f.bytes == bytes) out.push_back(f);
    return out;
  }
  // Frames other than polls, in order.
  std::vector<HostFrame> nonPolls() const {
    std::vector<HostFrame> out;
    for (const HostFrame& f : hostFrames)
      if (f.bytes != pollFrame(deviceId)) out.push_back(f);
    return out;
  }

  // Fills a parameter slot's buffer as a frame builder does and marks the slot.
  void queue(int slot, const Bytes& frame) {
    std::copy(frame.begin(), frame.end(), table.frame(slot).begin());
    table.mark(slot);
  }

  // Lets the link see `text` as one delivery, as if the device had sent it.
  void deliver(const std::string& text) {
    link.rxText() += text;
    dispatcher.dispatch();
  }

  VirtualLoop loop;
  VirtualLine line;
  SimSerialDevice device{loop, line};
  SerialLink link{loop, device};
  SendTable table;
  uint8_t deviceId = 0;
  ScriptedDialogs dialogs;
  SendChain chain{loop, link, table, deviceId, dialogs};
  ExchangeFlags flags;
  ReplyDispatcher dispatcher{chain, flags};

  std::vector<HostFrame> hostFrames;
  std::vector<Event> events;
};

// A parameter write of one 8-byte block, as the frame builders make it.
inline Bytes blockWrite(uint8_t address, uint8_t command, uint8_t sub, const Bytes& payload) {
  return buildFrame(address, kTypeWrite, 0, command, sub, payload);
}

}  // namespace audiodsp::testing
