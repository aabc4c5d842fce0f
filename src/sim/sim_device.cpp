#include "sim/sim_device.h"

#include <algorithm>
#include <initializer_list>

#include "protocol/frame_codec.h"

namespace audiodsp {

namespace {

// Where a parameter block lives in the group: High, Mid and Low take nine blocks each
// (sub-address 0..8); Main's eight blocks have one command each (3..10, sub-address 0).
std::optional<size_t> blockOffset(uint8_t command, uint8_t sub) {
  if (command <= 2 && sub <= 8) return size_t(command) * 72 + size_t(sub) * 8;
  if (command >= 3 && command <= 10 && sub == 0) return 216 + size_t(command - 3) * 8;
  return std::nullopt;
}

constexpr uint8_t kFirstPreset = 1, kLastPreset = 8;
constexpr uint8_t kStoredGroups = 20;
constexpr uint8_t kThresholdSteps = 31;  // 0 = 70 degrees and above .. 30 = 10 degrees

}  // namespace

SimGroup neutralGroup() {
  SimGroup g{};
  auto put = [&g](size_t offset, std::initializer_list<uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), g.begin() + offset);
  };
  auto flatBands = [&put](size_t offset) {
    for (size_t band = 0; band < 6; ++band)  // 19.7 Hz, peaking, 0 dB both gains, Q 1.0
      put(offset + band * 8, {0x00, 0x00, 0x78, 0x00, 0x78, 0x00, 0x04});
  };
  for (size_t output = 0; output < 3; ++output) {
    const size_t base = output * 72;
    put(base, {0xC8, 0x01});                        // 0.0 dB, sounding, no delay, "+"
    put(base + 8, {0x00, 0x00, 0x00, 0x00, 0xF3});  // HPF 19.7 Hz, LPF 21900 Hz
    put(base + 16, {0x13});                         // limiter at 0 dBu, fastest times
    flatBands(base + 24);
  }
  put(216, {0x00, 0x00, 0x2D, 0x01});        // recoup off, master volume 0.0 dB, BTL off
  put(224, {0x00, 0x00, 0x00, 0x00, 0xF3});  // Main filters wide open
  flatBands(232);
  return g;
}

SimDevice::SimDevice(int displayedId) {
  storedGroups.fill(neutralGroup());
  systemBlock[1] = 0x01;
  systemBlock[2] = 0x00;
  systemBlock[3] = uint8_t(std::clamp(displayedId, 1, 255));
}

std::optional<std::vector<uint8_t>> SimDevice::take(std::span<const uint8_t> frame, uint64_t atMs) {
  if (frame.size() < kFrameOverhead) return std::nullopt;
  log.push_back({atMs, std::vector<uint8_t>(frame.begin(), frame.end())});
  while (log.size() > logLimit) log.pop_front();

  const uint8_t address = frame[3], type = frame[4], group = frame[5], command = frame[6], sub = frame[7];
  const auto data = frame.subspan(kDataOffset, frame.size() - kFrameOverhead);
  const bool broadcast = address == kBroadcastAddress;
  // Replies carry the address the request reached, so an ID change is acknowledged by the
  // device under the ID it was asked by.
  const uint8_t self = wireId();
  auto reply = [&](uint8_t replyType, uint8_t replyGroup, uint8_t replyCommand,
                   std::span<const uint8_t> replyData) -> std::optional<std::vector<uint8_t>> {
    if (broadcast) return std::nullopt;
    return buildFrame(self, replyType, replyGroup, replyCommand, 0, replyData);
  };

  if (type == kTypeRequest) {
    switch (command) {
      case kCmdStatus: {
        const std::array<uint8_t, 8> status{
            0, 0, uint8_t(temperatureReading & 0xFF), uint8_t(temperatureReading >> 8), attenuationDb, 0,
            0, 0};
        return reply(kTypeData, 0, kCmdStatus, status);
      }
      case kCmdSystem:
        return reply(kTypeData, 0, kCmdSystem, systemBlock);
      case kCmdNames: {
        std::vector<uint8_t> names;
        names.reserve(kNameCount * kStoreNameSize);
        for (const SimName& name : presetNames) names.insert(names.end(), name.begin(), name.end());
        return reply(kTypeData, 0, kCmdNames, names);
      }
      case kCmdCurrentGroup:
        if (group >= kFirstPreset && group <= kLastPreset) {
          currentGroup = storedGroups[group - 1];
          systemBlock[0] = group;
        } else if (group != 0) {
          return std::nullopt;
        }
        return reply(kTypeData, group, kCmdCurrentGroup, currentGroup);
      case kCmdStoredGroup:
        if (group < 1 || group > kStoredGroups) return std::nullopt;
        return reply(kTypeData, group, kCmdStoredGroup, storedGroups[group - 1]);
      default:
        return std::nullopt;
    }
  }
  if (type != kTypeWrite) return std::nullopt;

  if (const auto offset = blockOffset(command, sub)) {
    if (data.size() == 8) std::copy(data.begin(), data.end(), currentGroup.begin() + *offset);
    return std::nullopt;
  }
  switch (command) {
    case kCmdSystem:
      if (data.size() != 8) return std::nullopt;
      if (data[3] >= 1) systemBlock[3] = data[3];
      if (data[5] < kThresholdSteps) systemBlock[5] = data[5];
      return reply(kTypeAck, 0, kCmdSystem, {});
    case kCmdStoreName:
      // Saving a preset keeps the live settings under that number, with its name.
      if (data.size() != kStoreNameSize || group < kFirstPreset || group > kLastPreset) return std::nullopt;
      std::copy(data.begin(), data.end(), presetNames[group - 1].begin());
      storedGroups[group - 1] = currentGroup;
      return reply(kTypeAck, 0, 0, {});
    case kCmdCurrentGroup:
      if (data.size() == kImageSize) std::copy(data.begin(), data.end(), currentGroup.begin());
      return std::nullopt;
    case kCmdStoredGroup:
      if (data.size() == kImageSize && group >= 1 && group <= kStoredGroups)
        std::copy(data.begin(), data.end(), storedGroups[group - 1].begin());
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace audiodsp
