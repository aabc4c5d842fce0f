#pragma once
// One virtual amplifier on the simulated line: its stored state and how it answers one
// frame addressed to it. The state is plain data so tests can read and set it directly.
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace audiodsp {

using SimGroup = std::array<uint8_t, 320>;
using SimName = std::array<uint8_t, 20>;

// A frame the device took, with the time its last byte arrived.
struct SimFrameRecord {
  uint64_t atMs = 0;
  std::vector<uint8_t> bytes;
};

// The factory group of the device: every output at 0 dB and sounding, filters wide open,
// limiter at 0 dBu, every band flat at Q 1.0, master volume at 0 dB.
SimGroup neutralGroup();

struct SimDevice {
  explicit SimDevice(int displayedId);

  int displayedId() const { return systemBlock[3]; }              // 1..255, as the operator types it
  uint8_t wireId() const { return uint8_t(systemBlock[3] - 1); }  // the address byte it answers to

  SimGroup currentGroup = neutralGroup();
  std::array<SimGroup, 20> storedGroups;  // groups 1..20
  std::array<SimName, 20> presetNames{};  // names of groups 1..20, NUL padded
  // Last loaded preset, two bytes the device only reports, its ID (displayed form), 0,
  // temperature threshold index, 0, 0.
  std::array<uint8_t, 8> systemBlock{};
  uint16_t temperatureReading = 3219;  // raw sensor reading (about 32 degrees)
  uint8_t attenuationDb = 0;
  bool silent = false;             // off the line: hears nothing and says nothing
  std::deque<SimFrameRecord> log;  // newest last; the oldest go once logLimit is reached
  size_t logLimit = 4096;

  // Takes a whole, well-formed frame addressed to this device (or broadcast) and returns
  // the reply the device sends, if any. Broadcast frames change the state but never get
  // a reply. Frames the device does not know are logged and otherwise ignored.
  std::optional<std::vector<uint8_t>> take(std::span<const uint8_t> frame, uint64_t atMs);
};

}  // namespace audiodsp
