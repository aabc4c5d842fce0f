#include "protocol/frame_codec.h"

#include <algorithm>
#include <array>

namespace audiodsp {

std::optional<uint8_t> wireAddress(int deviceNumber) {
  if (deviceNumber < 1 || deviceNumber > 255) return std::nullopt;
  return static_cast<uint8_t>(deviceNumber - 1);
}

std::optional<int> deviceNumber(uint8_t address) {
  if (address == kBroadcastAddress) return std::nullopt;
  return address + 1;
}

uint8_t checkByte(std::span<const uint8_t> bytes) {
  uint8_t c = 0;
  for (uint8_t b : bytes) c ^= b;
  return c;
}

std::vector<uint8_t> buildFrame(uint8_t address, uint8_t type, uint8_t group, uint8_t command, uint8_t sub,
                                std::span<const uint8_t> data) {
  const auto n = static_cast<uint16_t>(data.size());
  std::vector<uint8_t> f(data.size() + kFrameOverhead);
  f[0] = f[1] = f[2] = kSyncByte;
  f[3] = address;
  f[4] = type;
  f[5] = group;
  f[6] = command;
  f[7] = sub;
  f[8] = static_cast<uint8_t>(n >> 8);
  f[9] = static_cast<uint8_t>(n & 0xFF);
  std::copy(data.begin(), data.end(), f.begin() + kDataOffset);
  f[kDataOffset + data.size()] = checkByte(std::span(f).subspan(3, kDataOffset - 3 + data.size()));
  f.back() = kEndByte;
  return f;
}

std::vector<uint8_t> pollFrame(uint8_t address) {
  return buildFrame(address, kTypeRequest, 0, kCmdStatus, 0);
}

std::vector<uint8_t> systemReadFrame(uint8_t address) {
  const std::array<uint8_t, 8> zeros{};
  return buildFrame(address, kTypeRequest, 0, kCmdSystem, 0, zeros);
}

std::vector<uint8_t> namesRequestFrame(uint8_t address) {
  return buildFrame(address, kTypeRequest, 0, kCmdNames, 0);
}

std::vector<uint8_t> groupReadFrame(uint8_t address, uint8_t group) {
  return buildFrame(address, kTypeRequest, group, kCmdCurrentGroup, 0);
}

std::vector<uint8_t> blockReadFrame(uint8_t address, uint8_t group) {
  return buildFrame(address, kTypeRequest, group, kCmdStoredGroup, 0);
}

std::vector<uint8_t> storeFrame(uint8_t address, uint8_t preset, std::string_view name) {
  std::array<uint8_t, kStoreNameSize> data{};
  const size_t n = std::min(name.size(), data.size());
  for (size_t i = 0; i < n; ++i) data[i] = static_cast<uint8_t>(name[i]);
  return buildFrame(address, kTypeWrite, preset, kCmdStoreName, 0, data);
}

namespace {

ImageWrite imageWrite(uint8_t address, uint8_t group, uint8_t command,
                      std::span<const uint8_t, kImageSize> image) {
  std::vector<uint8_t> frame = buildFrame(address, kTypeWrite, group, command, 0, image);
  ImageWrite w;
  w.header.assign(frame.begin(), frame.begin() + kHeaderSize);
  w.body.assign(frame.begin() + kHeaderSize, frame.end());
  return w;
}

}  // namespace

ImageWrite groupWrite(uint8_t address, std::span<const uint8_t, kImageSize> image) {
  return imageWrite(address, 0, kCmdCurrentGroup, image);
}

ImageWrite blockWrite(uint8_t address, uint8_t group, std::span<const uint8_t, kImageSize> image) {
  return imageWrite(address, group, kCmdStoredGroup, image);
}

void appendHex(std::string& text, std::span<const uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  text.reserve(text.size() + 2 * bytes.size());
  for (uint8_t b : bytes) {
    text.push_back(kDigits[b >> 4]);
    text.push_back(kDigits[b & 0x0F]);
  }
}

std::string toHex(std::span<const uint8_t> bytes) {
  std::string s;
  appendHex(s, bytes);
  return s;
}

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

namespace {

std::optional<uint8_t> pairValue(char high, char low) {
  const int h = hexDigitValue(high);
  const int l = hexDigitValue(low);
  if (h < 0 || l < 0) return std::nullopt;
  return static_cast<uint8_t>(h * 16 + l);
}

}  // namespace

std::optional<std::vector<uint8_t>> bytesFromHex(std::string_view text) {
  if (text.size() % 2 != 0) return std::nullopt;
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() / 2);
  for (size_t i = 0; i < text.size(); i += 2) {
    const auto b = pairValue(text[i], text[i + 1]);
    if (!b) return std::nullopt;
    bytes.push_back(*b);
  }
  return bytes;
}

std::optional<uint8_t> hexByteAt(std::string_view text, size_t frameByte) {
  if (frameByte >= text.size() / 2) return std::nullopt;
  return pairValue(text[2 * frameByte], text[2 * frameByte + 1]);
}

std::optional<uint16_t> hexWordAt(std::string_view text, size_t lowFrameByte) {
  const auto low = hexByteAt(text, lowFrameByte);
  const auto high = hexByteAt(text, lowFrameByte + 1);
  if (!low || !high) return std::nullopt;
  return static_cast<uint16_t>(*high << 8 | *low);
}

}  // namespace audiodsp
