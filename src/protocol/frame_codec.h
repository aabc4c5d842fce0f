#pragma once
// The wire frame shared by the program and the device:
//   A5 A5 A5, address, type, group, command, sub-address, length (16-bit, high byte first),
//   data, check byte (XOR of address .. last data byte), AA.
// Builders for every frame the program sends, and the hex text form in which received
// frames, group files and upload texts are held (two upper-case digits per byte).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace audiodsp {

inline constexpr uint8_t kSyncByte = 0xA5;
inline constexpr uint8_t kEndByte = 0xAA;
inline constexpr uint8_t kBroadcastAddress = 0xFF;

// Frame types (byte 4).
inline constexpr uint8_t kTypeWrite = 0xA1;    // program -> device, data to be stored
inline constexpr uint8_t kTypeRequest = 0xA2;  // program -> device, asks for data or an action
inline constexpr uint8_t kTypeAck = 0x51;      // device -> program, no data
inline constexpr uint8_t kTypeData = 0x52;     // device -> program, data reply

// Commands (byte 6). 0x00..0x0A are the parameter blocks; see param_frames.h.
inline constexpr uint8_t kCmdSystem = 0x21;        // the device settings block
inline constexpr uint8_t kCmdNames = 0x26;         // the 20 preset names
inline constexpr uint8_t kCmdStoreName = 0x27;     // save a preset under a name
inline constexpr uint8_t kCmdCurrentGroup = 0x28;  // the live group image (recall first if group 1..8)
inline constexpr uint8_t kCmdStoredGroup = 0x29;   // stored group 1..20
inline constexpr uint8_t kCmdStatus = 0x2B;        // temperature and attenuation; the keep-alive

// Frame positions and sizes.
inline constexpr size_t kHeaderSize = 10;  // sync, address, type, group, command, sub, length
inline constexpr size_t kDataOffset = 10;  // frame byte of data byte 0
inline constexpr size_t kFrameOverhead = 12;
inline constexpr size_t kImageSize = 320;
inline constexpr size_t kImageFrameSize = kImageSize + kFrameOverhead;  // 332
inline constexpr size_t kImageTextSize = 2 * kImageFrameSize;           // 664 hex characters
inline constexpr size_t kStoreNameSize = 20;
inline constexpr size_t kNameCount = 20;

// Device number 1..255 as the operator sees it -> address byte (number - 1). Anything else
// has no address: 0xFF is the broadcast address, never device 256.
std::optional<uint8_t> wireAddress(int deviceNumber);
// Address byte -> device number 1..255; nullopt for the broadcast address.
std::optional<int> deviceNumber(uint8_t address);

// XOR of the bytes, starting from 0.
uint8_t checkByte(std::span<const uint8_t> bytes);

// Any frame: header, big-endian length of `data`, data, check byte and AA.
std::vector<uint8_t> buildFrame(uint8_t address, uint8_t type, uint8_t group, uint8_t command, uint8_t sub,
                                std::span<const uint8_t> data = {});

// The fixed frames the program sends; `address` is the wire form (device number - 1, or 0xFF).
std::vector<uint8_t> pollFrame(uint8_t address);
std::vector<uint8_t> systemReadFrame(uint8_t address);  // request with eight zero data bytes
std::vector<uint8_t> namesRequestFrame(uint8_t address);
// group 0 reads the current group; 1..8 makes the device recall that preset first.
std::vector<uint8_t> groupReadFrame(uint8_t address, uint8_t group);
std::vector<uint8_t> blockReadFrame(uint8_t address, uint8_t group);  // stored group 1..20
// The name's bytes padded with zero bytes to 20; a longer name is cut at 20 bytes.
std::vector<uint8_t> storeFrame(uint8_t address, uint8_t preset, std::string_view name);

// A 332-byte image write leaves in two pieces with a pause between them: the 10 header
// bytes, then the 320 image bytes with the check byte (which still covers the header) and AA.
struct ImageWrite {
  std::vector<uint8_t> header;
  std::vector<uint8_t> body;
};
ImageWrite groupWrite(uint8_t address, std::span<const uint8_t, kImageSize> image);
ImageWrite blockWrite(uint8_t address, uint8_t group, std::span<const uint8_t, kImageSize> image);

// ---- hex text form ----

// Appends two upper-case hex digits per byte.
void appendHex(std::string& text, std::span<const uint8_t> bytes);
std::string toHex(std::span<const uint8_t> bytes);
// The whole text as bytes (upper or lower case); nullopt for an odd length or a non-hex character.
std::optional<std::vector<uint8_t>> bytesFromHex(std::string_view text);

// Value of one hex digit, or -1.
int hexDigitValue(char c);

// Frame byte k of a frame held as text (characters 2k and 2k+1, counted from 0);
// nullopt when the text is too short or the two characters are not hex digits.
std::optional<uint8_t> hexByteAt(std::string_view text, size_t frameByte);
// A 16-bit value whose low byte is frame byte k and high byte frame byte k+1.
std::optional<uint16_t> hexWordAt(std::string_view text, size_t lowFrameByte);

}  // namespace audiodsp
