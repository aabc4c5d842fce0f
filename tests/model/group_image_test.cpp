#include "model/group_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <set>
#include <string>

#include "model/test_bytes.h"

namespace audiodsp {
namespace {

using testing::wire;

// The neutral image written out block by block, as a device reports it.
std::vector<uint8_t> neutralBytes() {
  const std::string output = "C8 01 00 00 00 00 00 00 ";
  const std::string crossover = "00 00 00 00 F3 00 00 00 ";
  const std::string limiter = "13 00 00 00 00 00 00 00 ";
  const std::string band = "00 00 78 00 78 00 04 00 ";
  std::string level = output + crossover + limiter;
  for (int b = 0; b < 6; ++b) level += band;
  std::string main = "00 00 2D 01 00 00 00 00 " + crossover;
  for (int b = 0; b < 6; ++b) main += band;
  std::string tail;
  for (int i = 0; i < 40; ++i) tail += "00 ";
  std::string all = level + level + level + main + tail;
  all.pop_back();
  return wire(all);
}

// A whole group frame as the device sends it, in hex text.
std::string replyText(std::span<const uint8_t, kImageSize> image, uint8_t address = 0) {
  return toHex(buildFrame(address, kTypeData, 0, kCmdCurrentGroup, 0, image));
}

TEST(GroupImage, NeutralImageAndItsReplyFrame) {
  const GroupImage neutral = neutralImage();
  const auto expected = neutralBytes();
  ASSERT_EQ(expected.size(), kImageSize);
  EXPECT_EQ(toHex(neutral), toHex(expected));
  EXPECT_EQ(checkByte(neutral), 0xF6);
  const auto frame = buildFrame(0x00, kTypeData, 0, kCmdCurrentGroup, 0, neutral);
  EXPECT_EQ(toHex(std::span(frame).first(10)),
            "A5A5A50052002800"
            "0140");
  EXPECT_EQ(frame[330], 0xCD);
  EXPECT_EQ(frame[331], 0xAA);
}

TEST(GroupImage, DecodesTheNeutralImage) {
  const auto m = decodeImageText(replyText(neutralImage()));
  ASSERT_TRUE(m);
  for (int o = 0; o < kLevelOutputCount; ++o) {
    SCOPED_TRACE(o);
    EXPECT_EQ(m->gain[o], 200);
    EXPECT_EQ(m->on[o], 1);
    EXPECT_EQ(m->limiterThreshold[o], 19);
    EXPECT_EQ(m->limiterAttack[o], 0);
    EXPECT_EQ(m->limiterRelease[o], 0);
  }
  for (int o = 0; o < kOutputCount; ++o) {
    EXPECT_EQ(m->delay[o], 0);
    EXPECT_EQ(m->polarity[o], 0);
    EXPECT_EQ(m->crossover[o], (Crossover{0, 0, 243, 0}));
  }
  for (const EqBand& b : m->band) EXPECT_EQ(b, (EqBand{0, 0, 120, 120, 4}));
  EXPECT_EQ(m->masterVolume, 301);
  EXPECT_EQ(m->recoup, 0);
  EXPECT_EQ(m->btl, 0);
}

TEST(GroupImage, StartUpValues) {
  const ParamModel m;
  EXPECT_EQ(m.gain, (std::array<int, 3>{120, 120, 120}));
  EXPECT_EQ(m.on, (std::array<int, 3>{1, 1, 1}));
  const int freqs[6] = {0, 33, 57, 80, 112, 136};
  for (int s = 0; s < kBandSlotCount; ++s) EXPECT_EQ(m.band[s], (EqBand{freqs[s % 6], 0, 120, 120, 4})) << s;
  for (const Crossover& x : m.crossover) EXPECT_EQ(x, (Crossover{0, 0, 243, 0}));
  EXPECT_EQ(m.masterVolume, 0);
  EXPECT_EQ(m.limiterThreshold, (std::array<int, 3>{0, 0, 0}));
}

// Named bytes of each block kind: everything else is carried as 0 by the program.
bool isNamedByte(BlockKind kind, size_t i) {
  switch (kind) {
    case BlockKind::Output:
      return i <= 4;
    case BlockKind::Crossover:
      return i == 0 || i == 1 || i == 4 || i == 5;
    case BlockKind::Limiter:
      return i <= 2;
    case BlockKind::EqBand:
      return i <= 6;
    case BlockKind::Main:
      return i != 1;
  }
  return false;
}

// In-range values that differ from block to block, junk in every unnamed byte and in
// the reserved tail.
GroupImage variedImage() {
  GroupImage img;
  img.fill(0xEE);
  int k = 0;
  for (const auto& b : imageBlocks()) {
    uint8_t* p = img.data() + b.offset;
    ++k;
    switch (b.kind) {
      case BlockKind::Output:
        p[0] = static_cast<uint8_t>(180 + k), p[1] = k % 2, p[2] = static_cast<uint8_t>(k * 13), p[3] = 1,
        p[4] = 1;
        break;
      case BlockKind::Crossover:
        p[0] = static_cast<uint8_t>(k), p[1] = k % 9, p[4] = static_cast<uint8_t>(240 - k),
        p[5] = (k + 4) % 9;
        break;
      case BlockKind::Limiter:
        p[0] = static_cast<uint8_t>(k % 20), p[1] = k % 7, p[2] = (k + 3) % 7;
        break;
      case BlockKind::EqBand:
        p[0] = static_cast<uint8_t>(k * 6), p[1] = k % 3, p[2] = static_cast<uint8_t>(k * 5), p[3] = 0,
        p[4] = static_cast<uint8_t>(180 - k), p[5] = 0, p[6] = static_cast<uint8_t>(k * 5);
        break;
      case BlockKind::Main:
        p[0] = 1, p[2] = 0x2C, p[3] = 0x01, p[4] = 0x9C, p[5] = 0x01, p[6] = 1, p[7] = 1;
        break;
    }
  }
  return img;
}

TEST(GroupImage, VariedImageDecodesAndEncodesBack) {
  const GroupImage img = variedImage();
  const auto m = decodeImageText(replyText(img, 0x22));
  ASSERT_TRUE(m);
  // A few fields read straight off the layout.
  EXPECT_EQ(m->gain[1], img[72]);
  EXPECT_EQ(m->delay[0], img[2] | img[3] << 8);
  EXPECT_EQ(m->delay[3], 412);
  EXPECT_EQ(m->masterVolume, 300);
  EXPECT_EQ(m->polarity[3], 1);
  EXPECT_EQ(m->btl, 1);
  EXPECT_EQ(m->band[23].q, img[278]);
  EXPECT_EQ(m->band[6].freq, img[96]);
  EXPECT_EQ(m->crossover[3].lpfFreq, img[228]);
  EXPECT_EQ(m->limiterRelease[2], img[162]);

  GroupImage expected = img;
  std::fill(expected.begin() + kReservedTailOffset, expected.end(), 0);
  for (const auto& b : imageBlocks())
    for (size_t i = 0; i < kBlockSize; ++i)
      if (!isNamedByte(b.kind, i)) expected[b.offset + i] = 0;
  EXPECT_EQ(toHex(encodeImage(*m)), toHex(expected));
}

TEST(GroupImage, LowerCaseTextDecodesTheSame) {
  std::string text = replyText(variedImage());
  const auto upper = decodeImageText(text);
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  EXPECT_EQ(decodeImageText(text), upper);
}

TEST(GroupImage, DecodeClampsExactlyTheListedFields) {
  struct Case {
    const char* name;
    size_t offset;
    std::vector<uint8_t> bytes;
    std::function<int(const ParamModel&)> field;
    int expected;
  };
  const Case cases[] = {
      {"High gain 255", 0, {255}, [](auto& m) { return m.gain[0]; }, 250},
      {"Mid gain 251", 72, {251}, [](auto& m) { return m.gain[1]; }, 250},
      {"Low gain 250", 144, {250}, [](auto& m) { return m.gain[2]; }, 200},
      {"Low gain 200", 144, {200}, [](auto& m) { return m.gain[2]; }, 200},
      {"band type 5", 25, {5}, [](auto& m) { return m.band[0].type; }, 2},
      {"band Q 200", 30, {200}, [](auto& m) { return m.band[0].q; }, 179},
      {"band freq 250", 96, {250}, [](auto& m) { return m.band[6].freq; }, 243},
      {"PEQ gain high byte", 26, {0x00, 0x01}, [](auto& m) { return m.band[0].peqGain; }, 180},
      {"shelf gain 181", 28, {181, 0}, [](auto& m) { return m.band[0].shelfGain; }, 180},
      {"HPF freq 244", 8, {244}, [](auto& m) { return m.crossover[0].hpfFreq; }, 243},
      {"HPF slope 255", 9, {255}, [](auto& m) { return m.crossover[0].hpfSlope; }, 8},
      {"LPF slope 9", 157, {9}, [](auto& m) { return m.crossover[2].lpfSlope; }, 8},
      {"Main LPF freq 255", 228, {255}, [](auto& m) { return m.crossover[3].lpfFreq; }, 243},
      {"Main band 6 Q, last byte read", 278, {255}, [](auto& m) { return m.band[23].q; }, 179},
      {"Main band 1 type 7", 233, {7}, [](auto& m) { return m.band[18].type; }, 2},
      // Taken as they come.
      {"delay 65535", 2, {0xFF, 0xFF}, [](auto& m) { return m.delay[0]; }, 65535},
      {"Main delay 413", 220, {0x9D, 0x01}, [](auto& m) { return m.delay[3]; }, 413},
      {"master volume 1024", 218, {0x00, 0x04}, [](auto& m) { return m.masterVolume; }, 1024},
      {"threshold 30", 88, {30}, [](auto& m) { return m.limiterThreshold[1]; }, 30},
      {"attack 200", 17, {200}, [](auto& m) { return m.limiterAttack[0]; }, 200},
      {"release 7", 162, {7}, [](auto& m) { return m.limiterRelease[2]; }, 7},
      {"on 7", 73, {7}, [](auto& m) { return m.on[1]; }, 7},
      {"polarity 2", 148, {2}, [](auto& m) { return m.polarity[2]; }, 2},
      {"recoup 2", 216, {2}, [](auto& m) { return m.recoup; }, 2},
      {"BTL 3", 223, {3}, [](auto& m) { return m.btl; }, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GroupImage img = neutralImage();
    std::copy(c.bytes.begin(), c.bytes.end(), img.begin() + static_cast<std::ptrdiff_t>(c.offset));
    const auto m = decodeImageText(replyText(img));
    ASSERT_TRUE(m);
    EXPECT_EQ(c.field(*m), c.expected);
  }
}

TEST(GroupImage, UnclampedValuesHaveSafeViews) {
  GroupImage img = neutralImage();
  img[2] = 0xFF, img[3] = 0xFF;      // High delay 65535
  img[218] = 0x00, img[219] = 0x04;  // master volume 1024
  img[16] = 30;                      // High threshold beyond the list
  const ParamModel m = decodeImage(img);
  EXPECT_EQ(m.delaySliderPosition(0), 412);
  EXPECT_EQ(m.masterVolumeSliderPosition(), 301);
  EXPECT_EQ(listItem(m.limiterThreshold[0], LimiterThresholdList.size()), -1);
  EXPECT_EQ(listItem(19, LimiterThresholdList.size()), 19);
  EXPECT_EQ(tableEntry(FreqTable, 300), 21900);
  EXPECT_EQ(tableEntry(FreqTable, -1), 19.7);
  // The held value goes back out as it came, not wrapped.
  EXPECT_EQ(encodeImage(m)[2], 0xFF);
  EXPECT_EQ(encodeImage(m)[219], 0x04);
}

TEST(GroupImage, ShortOrDamagedTextIsRefused) {
  const std::string text = replyText(variedImage());
  EXPECT_TRUE(decodeImageText(text.substr(0, 578)));  // bytes up to 278 are all decoding needs
  EXPECT_FALSE(decodeImageText(text.substr(0, 577)));
  EXPECT_FALSE(imageFromText(text.substr(0, 659)));
  std::string bad = text;
  bad[20 + 2 * 100] = 'G';
  EXPECT_FALSE(decodeImageText(bad));
  EXPECT_FALSE(imageFromText(bad));
  bad = text;
  bad[20 + 2 * 300] = 'Z';  // in the reserved tail: decoding never reads it
  EXPECT_TRUE(decodeImageText(bad));
  EXPECT_FALSE(imageFromText(bad));
}

TEST(GroupImage, PassThroughKeepsEveryByte) {
  GroupImage img = variedImage();
  img[25] = 7;  // band type the editor would show as "HS"
  img[144] = 250;
  const auto out = imageFromText(replyText(img, 0x33));
  ASSERT_TRUE(out);
  EXPECT_EQ(*out, img);
}

TEST(GroupImage, BlockTable) {
  struct Case {
    int slot;
    size_t offset;
    BlockAddress address;
  };
  const Case cases[] = {{1, 0, {0, 0}},    {2, 8, {0, 1}},    {3, 16, {0, 2}},   {4, 72, {1, 0}},
                        {9, 160, {2, 2}},  {10, 24, {0, 3}},  {15, 64, {0, 8}},  {16, 96, {1, 3}},
                        {27, 208, {2, 8}}, {28, 216, {3, 0}}, {30, 232, {5, 0}}, {35, 272, {10, 0}},
                        {36, 224, {4, 0}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.slot);
    const auto b = blockOfSlot(c.slot);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->offset, c.offset);
    EXPECT_EQ(b->address, c.address);
    EXPECT_EQ(blockAtAddress(c.address)->slot, c.slot);
  }
  for (int slot : {0, 29, 37, 50}) EXPECT_FALSE(blockOfSlot(slot)) << slot;
  EXPECT_FALSE(blockAtAddress({0, 9}));
  // The blocks tile bytes 0..279 exactly once.
  std::set<size_t> offsets;
  for (const auto& b : imageBlocks()) offsets.insert(b.offset);
  EXPECT_EQ(offsets.size(), 35u);
  EXPECT_EQ(*offsets.rbegin(), 272u);
  for (size_t o = 0; o < kReservedTailOffset; o += kBlockSize) EXPECT_TRUE(offsets.count(o)) << o;
}

}  // namespace
}  // namespace audiodsp
