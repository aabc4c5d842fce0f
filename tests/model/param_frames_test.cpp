#include "model/param_frames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/test_bytes.h"

namespace audiodsp {
namespace {

using testing::wire;

class ParamFramesTest : public ::testing::Test {
 protected:
  std::string slotHex(int slot) const { return toHex(table.frame(slot)); }
  std::vector<int> pendingSlots() const {
    std::vector<int> out;
    for (int s = 1; s <= SendTable::kSlots; ++s)
      if (table.pending(s)) out.push_back(s);
    return out;
  }

  ParamModel model;
  SystemBlock system;
  SendTable table;
  bool portOpen = true;
  uint8_t deviceId = 0x00;
  std::string rxText = "A5A5A50052";  // a reply still arriving
  std::vector<int> retargets;
  ParamFrames frames{{model, system, table, [this] { return portOpen; }, deviceId, rxText,
                      [this](int n) { retargets.push_back(n); }}};
};

TEST_F(ParamFramesTest, FramesAreExactOnTheWire) {
  model.gain[0] = 200;
  model.on[0] = 1;
  model.delay[0] = 300;
  model.polarity[0] = 1;
  frames.buildOutput(0);
  EXPECT_EQ(slotHex(1), toHex(wire("A5 A5 A5 00 A1 00 00 00 00 08 C8 01 2C 01 01 00 00 00 4C AA")));

  model.masterVolume = 301;
  frames.buildMain();
  EXPECT_EQ(slotHex(28), toHex(wire("A5 A5 A5 00 A1 00 03 00 00 08 00 00 2D 01 00 00 00 00 86 AA")));
  EXPECT_EQ(pendingSlots(), (std::vector<int>{1, 28}));

  deviceId = 0x05;
  model.crossover[0] = {10, 3, 200, 8};
  model.limiterThreshold[2] = 19, model.limiterAttack[2] = 6, model.limiterRelease[2] = 2;
  model.band[18] = {136, 2, 44, 180, 179};
  model.band[17] = {243, 1, 0, 120, 4};
  model.crossover[3] = {1, 2, 3, 4};
  model.recoup = 1, model.delay[3] = 412, model.polarity[3] = 1, model.btl = 1;
  struct Case {
    const char* name;
    std::function<void()> build;
    int slot;
    const char* bytes;
  };
  const Case cases[] = {
      {"High crossover", [&] { frames.buildCrossover(0); }, 2,
       "A5 A5 A5 05 A1 00 00 01 00 08 0A 03 00 00 C8 08 00 00 64 AA"},
      {"Low limiter", [&] { frames.buildLimiter(2); }, 9,
       "A5 A5 A5 05 A1 00 02 02 00 08 13 06 02 00 00 00 00 00 BB AA"},
      {"Main band 1", [&] { frames.buildBand(18); }, 30,
       "A5 A5 A5 05 A1 00 05 00 00 08 88 02 2C 00 B4 00 B3 00 08 AA"},
      {"Low band 6", [&] { frames.buildBand(17); }, 27,
       "A5 A5 A5 05 A1 00 02 08 00 08 F3 01 00 00 78 00 04 00 28 AA"},
      {"Main crossover", [&] { frames.buildCrossover(3); }, 36,
       "A5 A5 A5 05 A1 00 04 00 00 08 01 02 00 00 03 04 00 00 AC AA"},
      {"Main delay goes in the Main block", [&] { frames.buildOutput(3); }, 28,
       "A5 A5 A5 05 A1 00 03 00 00 08 01 00 2D 01 9C 01 01 01 1F AA"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    table.clearAll();
    c.build();
    EXPECT_EQ(slotHex(c.slot), toHex(wire(c.bytes)));
    EXPECT_EQ(pendingSlots(), (std::vector<int>{c.slot}));
  }
}

TEST_F(ParamFramesTest, EachBandSlotBuildsItsOwnFrame) {
  for (int s = 0; s < kBandSlotCount; ++s) {
    SCOPED_TRACE(s);
    table.clearAll();
    frames.buildBand(s);
    const int slot = s < 18 ? 10 + s : 30 + s - 18;
    EXPECT_EQ(pendingSlots(), (std::vector<int>{slot}));
    const auto& f = table.frame(slot);
    EXPECT_EQ(f[6], s < 18 ? s / 6 : 5 + s - 18);
    EXPECT_EQ(f[7], s < 18 ? 3 + s % 6 : 0);
    EXPECT_EQ(f[10], model.band[s].freq);
  }
}

TEST_F(ParamFramesTest, RepeatedEditsLeaveOneFrameWithTheLastState) {
  for (int gain : {130, 140, 150}) {
    model.band[7].peqGain = gain;
    frames.buildBand(7);
  }
  EXPECT_EQ(pendingSlots(), (std::vector<int>{17}));
  EXPECT_EQ(table.lowestPending(), 17);
  EXPECT_EQ(table.frame(17)[12], 150);
}

TEST_F(ParamFramesTest, NothingIsBuiltWhileClosedOrSwitchedOff) {
  for (bool closed : {true, false}) {
    SCOPED_TRACE(closed ? "port closed" : "building off");
    portOpen = !closed;
    frames.setEnabled(closed);
    system.deviceNumber = 9;
    for (int slot = 1; slot <= SendTable::kFrameSlots; ++slot) frames.build(slot);
    frames.buildSystem();
    EXPECT_EQ(pendingSlots(), std::vector<int>{});
    EXPECT_EQ(table.frame(1), SendTable::Frame{});
    EXPECT_EQ(table.frame(29), SendTable::Frame{});
    EXPECT_EQ(rxText, "A5A5A50052");
    EXPECT_EQ(deviceId, 0x00);
    EXPECT_TRUE(retargets.empty());
  }
  frames.setEnabled(true);
  portOpen = true;
  frames.build(1);
  EXPECT_EQ(pendingSlots(), (std::vector<int>{1}));
}

TEST_F(ParamFramesTest, OutOfRangeSlotsAndOutputsBuildNothing) {
  for (int slot : {0, 37, 50, -1}) frames.build(slot);
  frames.buildLimiter(3);
  frames.buildBand(24);
  frames.buildOutput(4);
  EXPECT_EQ(pendingSlots(), std::vector<int>{});
}

TEST_F(ParamFramesTest, SystemBlockRetargetsAfterBuilding) {
  ASSERT_TRUE(
      system.takeReply("A5A5A500520021000008"
                       "03020107000C0000"
                       "81AA"));
  system.deviceNumber = 5;
  frames.buildSystem();
  EXPECT_EQ(slotHex(29), toHex(wire("A5 A5 A5 00 A1 00 21 00 00 08 03 02 01 05 00 0C 00 00 81 AA")));
  EXPECT_EQ(pendingSlots(), (std::vector<int>{29}));
  EXPECT_EQ(rxText, "");
  EXPECT_EQ(deviceId, 4);
  EXPECT_EQ(retargets, (std::vector<int>{5}));

  // Frames built afterwards go to the new address.
  frames.buildOutput(0);
  EXPECT_EQ(table.frame(1)[3], 0x04);
}

TEST_F(ParamFramesTest, SystemBlockInBroadcastKeepsTheTarget) {
  deviceId = kBroadcastAddress;
  system = {3, 2, 1, 5, 0x0C};
  frames.buildSystem();
  EXPECT_EQ(slotHex(29), toHex(wire("A5 A5 A5 FF A1 00 21 00 00 08 03 02 01 05 00 0C 00 00 7E AA")));
  EXPECT_EQ(rxText, "");
  EXPECT_EQ(deviceId, kBroadcastAddress);
  EXPECT_TRUE(retargets.empty());
}

TEST_F(ParamFramesTest, DeviceNumberZeroNeverBecomesTheBroadcastAddress) {
  deviceId = 0x07;
  system.deviceNumber = 0;
  frames.buildSystem();
  EXPECT_EQ(table.frame(29)[13], 0x00);
  EXPECT_EQ(deviceId, 0x07);
  EXPECT_TRUE(retargets.empty());
}

TEST(SystemBlockReply, TakesBytesZeroOneTwoAndFive) {
  SystemBlock sys;
  sys.deviceNumber = 9;
  // Byte 3 of the reply is the device's own number and does not change the selection.
  EXPECT_TRUE(
      sys.takeReply("A5A5A500520021000008"
                    "04AB0C63001D0000"));
  EXPECT_EQ(sys.bytes(), (Block{0x04, 0xAB, 0x0C, 9, 0, 0x1D, 0, 0}));
  const SystemBlock before = sys;
  EXPECT_FALSE(
      sys.takeReply("A5A5A500520021000008"
                    "01020304"));  // byte 5 missing
  EXPECT_FALSE(
      sys.takeReply("A5A5A500520021000008"
                    "01Z2030400050000"));
  EXPECT_EQ(sys.bytes(), before.bytes());
}

TEST_F(ParamFramesTest, UnnamedBytesOfAReceivedImageGoOutAsZero) {
  GroupImage img = neutralImage();
  img[5] = img[6] = img[7] = 0x55;  // High output block, unnamed bytes
  img[24 + 7] = 0x66;               // High band 1, unnamed byte 7
  model = decodeImage(img);
  frames.buildOutput(0);
  frames.buildBand(0);
  EXPECT_EQ(slotHex(1), toHex(wire("A5 A5 A5 00 A1 00 00 00 00 08 C8 01 00 00 00 00 00 00 60 AA")));
  EXPECT_EQ(table.frame(10)[17], 0x00);
}

}  // namespace
}  // namespace audiodsp
