#pragma once
// The device side of one serial line: several virtual amplifiers sharing the host's
// wire, with the faults a real line shows (slow, lost, noisy or split replies, a device
// that drops off the line). Time is given by the caller, so the line runs the same on a
// virtual clock and in real time; randomness comes from a seeded generator, so a given
// configuration always produces the same faults.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "sim/sim_device.h"
#include "sim/sim_random.h"

namespace audiodsp {

// Bytes to put on the wire at readyAtMs. When a reply is split, each later piece's time
// already allows for the earlier pieces' time on the wire at 9600 baud, so the gap between
// them is real silence on the line.
struct SimReply {
  uint64_t readyAtMs = 0;
  std::vector<uint8_t> bytes;
};

struct SimConfig {
  std::vector<int> ids{1};      // displayed IDs 1..255 of the devices on the line
  uint32_t replyDelayMs = 5;    // from the last byte of a request to the first byte of the reply
  double dropP = 0;             // chance that a reply is lost
  double noiseP = 0;            // chance that a reply gets a corrupted or an inserted byte
  bool split = false;           // send replies in 2..4 pieces with gaps between them
  uint32_t splitGapMaxMs = 80;  // longest gap between two pieces
  bool checkCheckByte = true;   // frames with a wrong check byte are ignored
  uint32_t seed = 1;
  uint16_t temperatureReading = 3219;
  uint8_t attenuationDb = 0;
  bool drift = false;              // temperature and attenuation wander slowly
  uint32_t frameTimeoutMs = 2000;  // a frame not complete this long after its first byte is dropped
};

// What the line heard: every frame it assembled (taken or not) and every run of bytes it
// skipped while looking for the next frame (reported when the next frame or a pause
// follows the run).
struct SimHeard {
  uint64_t atMs = 0;
  std::vector<uint8_t> bytes;
  bool frame = false;  // false: bytes skipped between frames
};

class VirtualLine {
 public:
  explicit VirtualLine(SimConfig cfg);

  // Bytes from the host that have fully arrived by nowMs (monotonic ms; calls come in
  // non-decreasing time). Returns the reply pieces to send, in order.
  std::vector<SimReply> receive(std::span<const uint8_t> bytes, uint64_t nowMs);

  SimDevice* device(int displayedId);  // nullptr if absent; state readable and settable by tests
  void setSilent(int displayedId, bool silent);
  void setAllSilent(bool silent);
  std::vector<SimDevice>& devices() { return devices_; }
  const SimConfig& config() const { return cfg_; }

  // Called for everything the line hears (used for traces).
  void setHeardObserver(std::function<void(const SimHeard&)> observer) { observer_ = std::move(observer); }

 private:
  void deliver(std::span<const uint8_t> frame, uint64_t nowMs, std::vector<SimReply>& out);
  void updateDrift(uint64_t nowMs);
  void emit(std::vector<uint8_t> reply, uint64_t nowMs, std::vector<SimReply>& out);
  void heard(std::span<const uint8_t> bytes, uint64_t atMs, bool frame);
  void skip(std::span<const uint8_t> bytes, uint64_t atMs);
  void flushSkipped();

  SimConfig cfg_;
  SimRandom random_;
  std::vector<SimDevice> devices_;
  std::vector<uint8_t> pending_;  // host bytes not yet part of a whole frame
  uint64_t pendingSinceMs_ = 0;   // arrival of the first byte in pending_
  std::vector<uint8_t> skipped_;  // bytes between frames, reported together
  uint64_t skippedAtMs_ = 0, skippedLastMs_ = 0;
  uint64_t driftAtMs_ = 0;
  bool driftStarted_ = false;
  std::function<void(const SimHeard&)> observer_;
};

}  // namespace audiodsp
