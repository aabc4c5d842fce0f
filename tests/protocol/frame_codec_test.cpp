#include "protocol/frame_codec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace audiodsp {
namespace {

using Bytes = std::vector<uint8_t>;

// "A5 A5 A5 00 ..." -> bytes, so expectations read like the wire.
Bytes wire(const std::string& spaced) {
  Bytes out;
  for (size_t i = 0; i < spaced.size(); i += 3) out.push_back(std::stoi(spaced.substr(i, 2), nullptr, 16));
  return out;
}

struct FixedFrameCase {
  const char* name;
  Bytes built;
  const char* expected;
};

TEST(FrameCodec, FixedFramesAreExactOnTheWire) {
  const std::string name19 = "ABCDEFGHIJKLMNOPQRS";
  const FixedFrameCase cases[] = {
      {"poll to 0", pollFrame(0x00), "A5 A5 A5 00 A2 00 2B 00 00 00 89 AA"},
      {"poll to broadcast", pollFrame(0xFF), "A5 A5 A5 FF A2 00 2B 00 00 00 76 AA"},
      {"system read to 4", systemReadFrame(0x04),
       "A5 A5 A5 04 A2 00 21 00 00 08 00 00 00 00 00 00 00 00 8F AA"},
      {"group read preset 3", groupReadFrame(0x00, 3), "A5 A5 A5 00 A2 03 28 00 00 00 89 AA"},
      {"current group read to 9", groupReadFrame(0x09, 0), "A5 A5 A5 09 A2 00 28 00 00 00 83 AA"},
      {"names request to 0x10", namesRequestFrame(0x10), "A5 A5 A5 10 A2 00 26 00 00 00 94 AA"},
      {"block read 20 to 7", blockReadFrame(0x07, 20), "A5 A5 A5 07 A2 14 29 00 00 00 98 AA"},
      {"store short name", storeFrame(0x00, 2, "AB"),
       "A5 A5 A5 00 A1 02 27 00 00 14 41 42 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 93 AA"},
      {"store 19-character name", storeFrame(0x30, 8, name19),
       "A5 A5 A5 30 A1 08 27 00 00 14 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 51 52 53 00 EA AA"},
      {"store empty name", storeFrame(0x00, 1, ""),
       "A5 A5 A5 00 A1 01 27 00 00 14 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 93 AA"},
      {"store name cut at 20", storeFrame(0x30, 8, name19 + "TUV"),
       "A5 A5 A5 30 A1 08 27 00 00 14 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 51 52 53 54 BE AA"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(toHex(c.built), toHex(wire(c.expected)));
  }
}

TEST(FrameCodec, FixedFrameCheckBytesFollowTheirConstants) {
  for (int a : {0x00, 0x01, 0x5A, 0xFE, 0xFF}) {
    SCOPED_TRACE(a);
    const auto addr = static_cast<uint8_t>(a);
    EXPECT_EQ(pollFrame(addr)[10], addr ^ 0x89);
    EXPECT_EQ(systemReadFrame(addr)[18], addr ^ 0x8B);
    EXPECT_EQ(namesRequestFrame(addr)[10], addr ^ 0x84);
    for (int n : {0, 1, 8, 20}) {
      EXPECT_EQ(groupReadFrame(addr, n)[10], addr ^ n ^ 0x8A);
      EXPECT_EQ(blockReadFrame(addr, n)[10], addr ^ n ^ 0x8B);
    }
  }
}

TEST(FrameCodec, ParameterFrameCheckCoversAddressThroughData) {
  const std::array<uint8_t, 8> block = {0xC8, 0x01, 0x2C, 0x01, 0x01, 0x00, 0x00, 0x00};
  const Bytes f = buildFrame(0x00, kTypeWrite, 0, 0x00, 0x00, block);
  EXPECT_EQ(toHex(f), toHex(wire("A5 A5 A5 00 A1 00 00 00 00 08 C8 01 2C 01 01 00 00 00 4C AA")));
  EXPECT_EQ(checkByte(std::span(f).subspan(3, 15)), f[18]);
  // The same frame to another address: the check moves by exactly the address.
  const Bytes g = buildFrame(0x37, kTypeWrite, 0, 0x00, 0x00, block);
  EXPECT_EQ(g[18], 0x4C ^ 0x37);
  EXPECT_EQ(checkByte({}), 0);
}

TEST(FrameCodec, LengthIsBigEndian) {
  const std::vector<uint8_t> data(320, 0x00);
  const Bytes f = buildFrame(0x00, kTypeWrite, 0, kCmdCurrentGroup, 0, data);
  ASSERT_EQ(f.size(), 332u);
  EXPECT_EQ(f[8], 0x01);
  EXPECT_EQ(f[9], 0x40);
  EXPECT_EQ(f[330], 0x00 ^ 0xA1 ^ 0x28 ^ 0x01 ^ 0x40);
  EXPECT_EQ(f[331], 0xAA);
}

// An image whose bytes XOR to F6 (all zero but one).
std::array<uint8_t, kImageSize> imageXoringTo(uint8_t x) {
  std::array<uint8_t, kImageSize> img{};
  img[123] = x;
  return img;
}

TEST(FrameCodec, ImageWritesSplitIntoHeaderAndBody) {
  struct Case {
    const char* name;
    ImageWrite w;
    const char* header;
    uint8_t check;
  };
  const auto img = imageXoringTo(0xF6);
  const Case cases[] = {
      {"current group to 0", groupWrite(0x00, img), "A5 A5 A5 00 A1 00 28 00 01 40", 0x3E},
      {"current group to 5", groupWrite(0x05, img), "A5 A5 A5 05 A1 00 28 00 01 40", 0x3B},
      {"slot 3 to 0", blockWrite(0x00, 3, img), "A5 A5 A5 00 A1 03 29 00 01 40", 0x3C},
      {"slot 20 to broadcast", blockWrite(0xFF, 20, img), "A5 A5 A5 FF A1 14 29 00 01 40",
       0xFF ^ 20 ^ 0xC9 ^ 0xF6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(toHex(c.w.header), toHex(wire(c.header)));
    ASSERT_EQ(c.w.body.size(), 322u);
    EXPECT_TRUE(std::equal(img.begin(), img.end(), c.w.body.begin()));
    EXPECT_EQ(c.w.body[320], c.check);
    EXPECT_EQ(c.w.body[321], 0xAA);
  }
}

TEST(FrameCodec, DeviceNumbersAndAddresses) {
  EXPECT_EQ(wireAddress(1), std::optional<uint8_t>(0x00));
  EXPECT_EQ(wireAddress(255), std::optional<uint8_t>(0xFE));
  EXPECT_EQ(wireAddress(256), std::nullopt);  // would wrap onto the broadcast address
  EXPECT_EQ(wireAddress(0), std::nullopt);
  EXPECT_EQ(deviceNumber(0x00), std::optional<int>(1));
  EXPECT_EQ(deviceNumber(0xFE), std::optional<int>(255));
  EXPECT_EQ(deviceNumber(0xFF), std::nullopt);
}

TEST(FrameCodec, HexTextIsUpperCaseAndAppends) {
  std::string rx = "A5";
  const std::array<uint8_t, 4> bytes = {0x0A, 0xFF, 0x00, 0xc3};
  appendHex(rx, bytes);
  EXPECT_EQ(rx, "A50AFF00C3");
  EXPECT_EQ(bytesFromHex("0aFf00C3"), std::optional<Bytes>(Bytes{0x0A, 0xFF, 0x00, 0xC3}));
  EXPECT_EQ(bytesFromHex(""), std::optional<Bytes>(Bytes{}));
  for (const char* bad : {"0", "0G", "A5 A5", "-1", "0x"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(bytesFromHex(bad), std::nullopt);
  }
}

TEST(FrameCodec, ReadsBytesAndWordsAtFramePositions) {
  // A poll reply: temperature reading 0x0481 low byte first, attenuation 0x0C.
  const std::string rx =
      "A5A5A50052002B00000800008104"
      "0c000000"
      "XX"
      "AA";
  EXPECT_EQ(hexByteAt(rx, 0), std::optional<uint8_t>(0xA5));
  EXPECT_EQ(hexByteAt(rx, 4), std::optional<uint8_t>(0x52));
  EXPECT_EQ(hexByteAt(rx, kDataOffset + 4), std::optional<uint8_t>(0x0C));  // lower case accepted
  EXPECT_EQ(hexWordAt(rx, kDataOffset + 2), std::optional<uint16_t>(0x0481));
  EXPECT_EQ(hexWordAt("2D01", 0), std::optional<uint16_t>(301));
  EXPECT_EQ(hexByteAt(rx, 18), std::nullopt);    // not hex
  EXPECT_EQ(hexByteAt(rx, 20), std::nullopt);    // past the end
  EXPECT_EQ(hexByteAt("A5A", 1), std::nullopt);  // half a byte
  EXPECT_EQ(hexWordAt("2D", 0), std::nullopt);
}

TEST(FrameCodec, TextRoundTripOfALongFrame) {
  std::vector<uint8_t> data(320);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
  const Bytes f = buildFrame(0x12, kTypeData, 4, kCmdStoredGroup, 0, data);
  const std::string text = toHex(f);
  ASSERT_EQ(text.size(), kImageTextSize);
  EXPECT_EQ(bytesFromHex(text), std::optional<Bytes>(f));
  EXPECT_EQ(text.substr(0, 20),
            "A5A5A51252042900"
            "0140");
}

}  // namespace
}  // namespace audiodsp
