#include "sim/virtual_line.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "protocol/frame_codec.h"
#include "sim/sim_test_util.h"

namespace audiodsp {
namespace {

using simtest::hex;
using simtest::join;

// The factory group as the device sends it, block by block.
std::vector<uint8_t> neutralImageBytes() {
  const auto out = hex("C8 01 00 00 00 00 00 00"), xover = hex("00 00 00 00 F3 00 00 00"),
             limiter = hex("13 00 00 00 00 00 00 00"), band = hex("00 00 78 00 78 00 04 00"),
             main = hex("00 00 2D 01 00 00 00 00");
  std::vector<std::vector<uint8_t>> blocks;
  for (int output = 0; output < 3; ++output) {
    blocks.insert(blocks.end(), {out, xover, limiter});
    blocks.insert(blocks.end(), 6, band);
  }
  blocks.insert(blocks.end(), {main, xover});
  blocks.insert(blocks.end(), 6, band);
  blocks.push_back(std::vector<uint8_t>(40, 0));
  return join(blocks);
}

uint8_t xorOf(std::span<const uint8_t> b) {
  uint8_t c = 0;
  for (uint8_t x : b) c ^= x;
  return c;
}

std::vector<uint8_t> allBytes(const std::vector<SimReply>& replies) {
  std::vector<uint8_t> out;
  for (const auto& r : replies) out.insert(out.end(), r.bytes.begin(), r.bytes.end());
  return out;
}

class LineTest : public ::testing::Test {
 protected:
  static SimConfig twoDevices() {
    SimConfig c;
    c.ids = {1, 5};
    c.temperatureReading = 4859;
    c.attenuationDb = 12;
    return c;
  }
  std::vector<SimReply> send(std::string_view frame, uint64_t atMs = 1000) {
    return line.receive(hex(frame), atMs);
  }
  VirtualLine line{twoDevices()};
};

TEST_F(LineTest, FixedRequestsGetTheirExactReplies) {
  struct Case {
    const char* what;
    const char* request;
    const char* reply;
  } cases[] = {
      {"poll", "A5 A5 A5 00 A2 00 2B 00 00 00 89 AA",
       "A5 A5 A5 00 52 00 2B 00 00 08 00 00 FB 12 0C 00 00 00 94 AA"},
      {"system read", "A5 A5 A5 04 A2 00 21 00 00 08 00 00 00 00 00 00 00 00 8F AA",
       "A5 A5 A5 04 52 00 21 00 00 08 00 01 00 05 00 00 00 00 7B AA"},
      {"system write", "A5 A5 A5 00 A1 00 21 00 00 08 00 01 00 07 00 05 00 00 8B AA",
       "A5 A5 A5 00 51 00 21 00 00 00 70 AA"},
      {"store name",
       "A5 A5 A5 04 A1 06 27 00 00 14 42 61 6E 64 20 31 00 00 00 00 00 00 00 00 00 00 00 00 00 00 A8 AA",
       "A5 A5 A5 04 51 00 00 00 00 00 55 AA"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    VirtualLine fresh(twoDevices());
    const auto replies = fresh.receive(hex(c.request), 2000);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].bytes, hex(c.reply));
    EXPECT_EQ(replies[0].readyAtMs, 2005u);
  }
}

TEST_F(LineTest, CurrentGroupOfAFreshDeviceIsTheNeutralImage) {
  const auto replies = send("A5 A5 A5 00 A2 00 28 00 00 00 8A AA");
  ASSERT_EQ(replies.size(), 1u);
  const auto expected = join({hex("A5 A5 A5 00 52 00 28 00 01 40"), neutralImageBytes(), hex("CD AA")});
  EXPECT_EQ(replies[0].bytes, expected);
}

TEST_F(LineTest, RecallMakesTheStoredGroupCurrentAndRemembersIt) {
  SimDevice& d = *line.device(1);
  d.storedGroups[2].fill(0x11);
  d.storedGroups[2][0] = 0x64;
  const auto replies = send("A5 A5 A5 00 A2 03 28 00 00 00 89 AA");
  ASSERT_EQ(replies.size(), 1u);
  const auto& r = replies[0].bytes;
  ASSERT_EQ(r.size(), 332u);
  EXPECT_EQ(std::vector(r.begin(), r.begin() + 10), hex("A5 A5 A5 00 52 03 28 00 01 40"));
  EXPECT_EQ(r[10], 0x64);
  EXPECT_TRUE(std::equal(d.storedGroups[2].begin(), d.storedGroups[2].end(), r.begin() + 10));
  EXPECT_EQ(r[330], xorOf(std::span(r).subspan(3, 327)));
  EXPECT_EQ(r[331], 0xAA);
  EXPECT_EQ(d.currentGroup, d.storedGroups[2]);
  EXPECT_EQ(d.systemBlock[0], 3);
  // The next system read reports preset 3 as the last loaded one.
  const auto sys = send("A5 A5 A5 00 A2 00 21 00 00 08 00 00 00 00 00 00 00 00 8B AA");
  ASSERT_EQ(sys.size(), 1u);
  EXPECT_EQ(sys[0].bytes, hex("A5 A5 A5 00 52 00 21 00 00 08 03 01 00 01 00 00 00 00 78 AA"));
}

TEST_F(LineTest, BlockReadSendsTheStoredGroup) {
  SimDevice& d = *line.device(5);
  for (size_t i = 0; i < 320; ++i) d.storedGroups[6][i] = uint8_t(i * 7);
  const auto replies = send("A5 A5 A5 04 A2 07 29 00 00 00 88 AA");
  ASSERT_EQ(replies.size(), 1u);
  const auto& r = replies[0].bytes;
  ASSERT_EQ(r.size(), 332u);
  EXPECT_EQ(std::vector(r.begin(), r.begin() + 10), hex("A5 A5 A5 04 52 07 29 00 01 40"));
  EXPECT_TRUE(std::equal(d.storedGroups[6].begin(), d.storedGroups[6].end(), r.begin() + 10));
  EXPECT_EQ(r[330], xorOf(std::span(r).subspan(3, 327)));
  EXPECT_EQ(d.currentGroup, neutralGroup());  // a block read recalls nothing
}

TEST_F(LineTest, NamesReplyCarriesTwentyNamesOfTwentyBytes) {
  SimDevice& d = *line.device(1);
  const std::string_view live = "Live", last = "ABCDEFGHIJKLMNOPQRST";
  std::copy(live.begin(), live.end(), d.presetNames[2].begin());
  std::copy(last.begin(), last.end(), d.presetNames[19].begin());
  const auto replies = send("A5 A5 A5 00 A2 00 26 00 00 00 84 AA");
  ASSERT_EQ(replies.size(), 1u);
  const auto& r = replies[0].bytes;
  ASSERT_EQ(r.size(), 412u);  // 824 hex characters
  EXPECT_EQ(std::vector(r.begin(), r.begin() + 10), hex("A5 A5 A5 00 52 00 26 00 01 90"));
  EXPECT_EQ(std::vector(r.begin() + 50, r.begin() + 70),
            join({hex("4C 69 76 65"), std::vector<uint8_t>(16, 0)}));
  EXPECT_EQ(std::string(r.begin() + 390, r.begin() + 410), last);
  EXPECT_EQ(std::count(r.begin() + 10, r.begin() + 410, 0), 400 - 4 - 20);
  EXPECT_EQ(r[410], xorOf(std::span(r).subspan(3, 407)));
  EXPECT_EQ(r[411], 0xAA);
}

TEST_F(LineTest, SystemWriteGivesTheDeviceItsNewIdAndThreshold) {
  ASSERT_EQ(send("A5 A5 A5 00 A1 00 21 00 00 08 00 01 00 07 00 05 00 00 8B AA").size(), 1u);
  EXPECT_EQ(line.device(1), nullptr);
  SimDevice* d = line.device(7);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->wireId(), 6);
  EXPECT_EQ(d->systemBlock[5], 5);
  EXPECT_TRUE(send("A5 A5 A5 00 A2 00 2B 00 00 00 89 AA").empty());  // the old address is gone
  const auto replies = send("A5 A5 A5 06 A2 00 2B 00 00 00 8F AA");
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].bytes[3], 0x06);
}

TEST_F(LineTest, StoringANameKeepsTheLiveGroupUnderThatPreset) {
  SimDevice& d = *line.device(5);
  d.currentGroup[0] = 0x42;
  ASSERT_EQ(
      send("A5 A5 A5 04 A1 06 27 00 00 14 42 61 6E 64 20 31 00 00 00 00 00 00 00 00 00 00 00 00 00 00 A8 AA")
          .size(),
      1u);
  EXPECT_EQ(std::string(d.presetNames[5].begin(), d.presetNames[5].end()),
            std::string("Band 1") + std::string(14, '\0'));
  EXPECT_EQ(d.storedGroups[5], d.currentGroup);
  // Recalling that preset later gives the saved settings back.
  d.currentGroup = neutralGroup();
  const auto recall = send("A5 A5 A5 04 A2 06 28 00 00 00 88 AA");
  ASSERT_EQ(recall.size(), 1u);
  EXPECT_EQ(recall[0].bytes[10], 0x42);
}

TEST_F(LineTest, ParameterWriteChangesExactlyItsBlock) {
  struct Case {
    uint8_t command, sub;
    int offset;  // -1: not a block, nothing changes
  } cases[] = {{0, 0, 0},   {0, 1, 8},   {0, 8, 64},  {1, 0, 72},   {1, 2, 88}, {2, 3, 168}, {2, 8, 208},
               {3, 0, 216}, {4, 0, 224}, {5, 0, 232}, {10, 0, 272}, {0, 9, -1}, {3, 1, -1},  {11, 0, -1}};
  const std::vector<uint8_t> block = hex("11 12 13 14 15 16 17 18");
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "command " << int(c.command) << " sub " << int(c.sub));
    VirtualLine fresh(twoDevices());
    EXPECT_TRUE(fresh.receive(buildFrame(0x00, kTypeWrite, 0, c.command, c.sub, block), 10).empty());
    SimGroup expected = neutralGroup();
    if (c.offset >= 0) std::copy(block.begin(), block.end(), expected.begin() + c.offset);
    EXPECT_EQ(fresh.device(1)->currentGroup, expected);
    EXPECT_EQ(fresh.device(5)->currentGroup, neutralGroup());
  }
}

TEST_F(LineTest, ParameterFramesAsTheProgramBuildsThem) {
  send("A5 A5 A5 00 A1 00 00 00 00 08 C8 01 2C 01 01 00 00 00 4C AA");
  send("A5 A5 A5 00 A1 00 03 00 00 08 00 00 2D 01 00 00 00 00 86 AA");
  const SimGroup& g = line.device(1)->currentGroup;
  EXPECT_EQ(std::vector(g.begin(), g.begin() + 8), hex("C8 01 2C 01 01 00 00 00"));
  EXPECT_EQ(std::vector(g.begin() + 216, g.begin() + 224), hex("00 00 2D 01 00 00 00 00"));
  // A write of the wrong size is not a block write.
  send("A5 A5 A5 00 A1 00 00 00 00 04 01 02 03 04 A9 AA");
  EXPECT_EQ(g[0], 0xC8);
}

// A whole-group write arrives as a header, a pause, then the body; no reply follows.
TEST_F(LineTest, ImageWritesInTwoPiecesAreTaken) {
  SimGroup image{};
  for (size_t i = 0; i < image.size(); ++i) image[i] = uint8_t(i ^ 0x5A);
  struct Case {
    const char* what;
    uint8_t group;
    uint8_t command;
    uint64_t pauseMs;
  } cases[] = {{"group write, 100 ms", 0, kCmdCurrentGroup, 100},
               {"group write, 1 s", 0, kCmdCurrentGroup, 1000},
               {"block write 3, 50 ms", 3, kCmdStoredGroup, 50},
               {"block write 20, 1 s", 20, kCmdStoredGroup, 1000}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    VirtualLine fresh(twoDevices());
    const auto frame = buildFrame(0x04, kTypeWrite, c.group, c.command, 0, image);
    EXPECT_TRUE(fresh.receive(std::span(frame).first(10), 500).empty());
    EXPECT_TRUE(fresh.receive(std::span(frame).subspan(10), 500 + c.pauseMs + 335).empty());
    const SimDevice& d = *fresh.device(5);
    EXPECT_EQ(c.command == kCmdCurrentGroup ? d.currentGroup : d.storedGroups[c.group - 1], image);
    EXPECT_EQ(fresh.device(1)->currentGroup, neutralGroup());
    ASSERT_EQ(d.log.size(), 1u);
    EXPECT_EQ(d.log[0].bytes, frame);
  }
}

TEST_F(LineTest, ByteByByteArrivalAssemblesTheFrame) {
  const auto poll = hex("A5 A5 A5 04 A2 00 2B 00 00 00 8D AA");
  for (size_t i = 0; i + 1 < poll.size(); ++i)
    EXPECT_TRUE(line.receive(std::span(poll).subspan(i, 1), 100 + i).empty());
  const auto replies = line.receive(std::span(poll).last(1), 111);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].readyAtMs, 116u);
}

TEST_F(LineTest, AHeaderWithoutItsBodyDoesNotSwallowLaterFrames) {
  SimConfig c = twoDevices();
  c.frameTimeoutMs = 1500;
  VirtualLine l(c);
  EXPECT_TRUE(l.receive(hex("A5 A5 A5 00 A1 00 28 00 01 40"), 100).empty());
  // Within the time-out the poll is taken as body bytes...
  EXPECT_TRUE(l.receive(hex("A5 A5 A5 00 A2 00 2B 00 00 00 89 AA"), 1500).empty());
  // ...after it the stale piece is dropped and the line listens again.
  EXPECT_EQ(l.receive(hex("A5 A5 A5 00 A2 00 2B 00 00 00 89 AA"), 1700).size(), 1u);
  EXPECT_EQ(l.device(1)->currentGroup, neutralGroup());
}

TEST_F(LineTest, BroadcastReachesEveryDeviceAndNoneAnswers) {
  SimGroup image;
  image.fill(0x33);
  const auto write = buildFrame(kBroadcastAddress, kTypeWrite, 0, kCmdCurrentGroup, 0, image);
  EXPECT_TRUE(line.receive(write, 10).empty());
  EXPECT_TRUE(send("A5 A5 A5 FF A2 00 2B 00 00 00 76 AA").empty());
  EXPECT_TRUE(send("A5 A5 A5 FF A2 00 28 00 00 00 75 AA").empty());
  EXPECT_TRUE(send("A5 A5 A5 FF A1 00 00 00 00 08 C8 01 2C 01 01 00 00 00 B3 AA").empty());
  for (int id : {1, 5}) {
    SCOPED_TRACE(id);
    const SimDevice& d = *line.device(id);
    EXPECT_EQ(d.log.size(), 4u);
    EXPECT_EQ(std::vector(d.currentGroup.begin(), d.currentGroup.begin() + 8),
              hex("C8 01 2C 01 01 00 00 00"));
    EXPECT_EQ(d.currentGroup[8], 0x33);
  }
}

TEST_F(LineTest, FramesForOtherAddressesAreIgnored) {
  EXPECT_TRUE(send("A5 A5 A5 01 A2 00 2B 00 00 00 88 AA").empty());  // device 2 is not on the line
  EXPECT_TRUE(send("A5 A5 A5 01 A1 00 00 00 00 08 C8 01 2C 01 01 00 00 00 4D AA").empty());
  for (int id : {1, 5}) {
    EXPECT_TRUE(line.device(id)->log.empty());
    EXPECT_EQ(line.device(id)->currentGroup, neutralGroup());
  }
}

TEST_F(LineTest, WrongCheckByteIsIgnoredUnlessCheckingIsOff) {
  const auto badPoll = hex("A5 A5 A5 00 A2 00 2B 00 00 00 88 AA");
  const auto goodPoll = hex("A5 A5 A5 00 A2 00 2B 00 00 00 89 AA");
  EXPECT_TRUE(line.receive(badPoll, 10).empty());
  EXPECT_TRUE(line.device(1)->log.empty());
  EXPECT_EQ(line.receive(goodPoll, 20).size(), 1u);  // the line is not thrown off by it

  SimConfig c = twoDevices();
  c.checkCheckByte = false;
  VirtualLine lax(c);
  EXPECT_EQ(lax.receive(badPoll, 10).size(), 1u);
}

TEST_F(LineTest, GarbageBetweenFramesIsSkipped) {
  std::vector<SimHeard> heard;
  line.setHeardObserver([&](const SimHeard& h) { heard.push_back(h); });
  // Stray bytes, a lone sync byte, a false start whose length is absurd, then two polls.
  const auto stream =
      join({hex("00 13 A5 7E A5 A5 A5 00 A2 00 2B 00 FF FF"), hex("A5 A5 A5 00 A2 00 2B 00 00 00 89 AA"),
            hex("A5 A5"), hex("A5 A5 A5 04 A2 00 2B 00 00 00 8D AA")});
  const auto replies = line.receive(stream, 50);
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(replies[0].bytes[3], 0x00);
  EXPECT_EQ(replies[1].bytes[3], 0x04);
  ASSERT_EQ(heard.size(), 4u);
  EXPECT_FALSE(heard[0].frame);
  EXPECT_EQ(heard[0].bytes, hex("00 13 A5 7E A5 A5 A5 00 A2 00 2B 00 FF FF"));
  EXPECT_TRUE(heard[1].frame);
  EXPECT_EQ(heard[2].bytes, hex("A5 A5"));
  EXPECT_TRUE(heard[3].frame);
}

TEST_F(LineTest, ASilentDeviceNeitherHearsNorAnswersUntilItSpeaksAgain) {
  line.setSilent(1, true);
  EXPECT_TRUE(send("A5 A5 A5 00 A2 00 2B 00 00 00 89 AA").empty());
  EXPECT_TRUE(send("A5 A5 A5 00 A1 00 00 00 00 08 C8 01 2C 01 01 00 00 00 4C AA").empty());
  EXPECT_EQ(line.device(1)->currentGroup, neutralGroup());
  EXPECT_EQ(send("A5 A5 A5 04 A2 00 2B 00 00 00 8D AA").size(), 1u);  // the other one still talks
  line.setSilent(1, false);
  EXPECT_EQ(send("A5 A5 A5 00 A2 00 2B 00 00 00 89 AA").size(), 1u);
}

TEST_F(LineTest, TheFrameLogKeepsTheNewestFrames) {
  SimDevice& d = *line.device(1);
  d.logLimit = 3;
  for (uint64_t t = 1; t <= 5; ++t) send("A5 A5 A5 00 A2 00 2B 00 00 00 89 AA", t * 100);
  ASSERT_EQ(d.log.size(), 3u);
  EXPECT_EQ(d.log.front().atMs, 300u);
  EXPECT_EQ(d.log.back().atMs, 500u);
  EXPECT_EQ(d.log.back().bytes, hex("A5 A5 A5 00 A2 00 2B 00 00 00 89 AA"));
}

std::vector<SimReply> pollMany(SimConfig c, int count) {
  VirtualLine l(std::move(c));
  std::vector<SimReply> all;
  for (int i = 0; i < count; ++i) {
    auto r = l.receive(hex("A5 A5 A5 00 A2 00 2B 00 00 00 89 AA"), uint64_t(i) * 500);
    all.insert(all.end(), r.begin(), r.end());
  }
  return all;
}

bool sameReplies(const std::vector<SimReply>& a, const std::vector<SimReply>& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](const SimReply& x, const SimReply& y) {
           return x.readyAtMs == y.readyAtMs && x.bytes == y.bytes;
         });
}

TEST(LineFaults, DropsFollowTheSeed) {
  SimConfig c;
  c.dropP = 0.3;
  const auto first = pollMany(c, 400), again = pollMany(c, 400);
  EXPECT_TRUE(sameReplies(first, again));
  EXPECT_GT(first.size(), 220u);
  EXPECT_LT(first.size(), 340u);
  c.seed = 2;
  EXPECT_FALSE(sameReplies(first, pollMany(c, 400)));
}

TEST(LineFaults, NoiseCorruptsOrInsertsOneByte) {
  SimConfig c;
  c.noiseP = 1;
  c.temperatureReading = 0;
  const auto clean = hex("A5 A5 A5 00 52 00 2B 00 00 08 00 00 00 00 00 00 00 00 71 AA");
  const auto noisy = pollMany(c, 200);
  ASSERT_EQ(noisy.size(), 200u);
  int corrupted = 0, inserted = 0;
  for (const auto& r : noisy) {
    if (r.bytes.size() == clean.size()) {
      int diff = 0;
      for (size_t i = 0; i < clean.size(); ++i) diff += r.bytes[i] != clean[i];
      EXPECT_EQ(diff, 1);
      ++corrupted;
    } else {
      ASSERT_EQ(r.bytes.size(), clean.size() + 1);
      bool found = false;
      for (size_t i = 0; i < r.bytes.size() && !found; ++i) {
        auto less = r.bytes;
        less.erase(less.begin() + i);
        found = less == clean;
      }
      EXPECT_TRUE(found);
      ++inserted;
    }
  }
  EXPECT_GT(corrupted, 50);
  EXPECT_GT(inserted, 50);
  EXPECT_TRUE(sameReplies(noisy, pollMany(c, 200)));
}

TEST(LineFaults, SplitRepliesLeaveGapsOnTheWire) {
  SimConfig c;
  c.split = true;
  c.splitGapMaxMs = 60;
  VirtualLine l(c);
  const auto clean = hex("A5 A5 A5 00 52 00 28 00 01 40");
  for (int i = 0; i < 50; ++i) {
    SCOPED_TRACE(i);
    const uint64_t at = 1000 + uint64_t(i) * 2000;
    const auto pieces = l.receive(hex("A5 A5 A5 00 A2 00 28 00 00 00 8A AA"), at);
    ASSERT_GE(pieces.size(), 2u);
    ASSERT_LE(pieces.size(), 4u);
    EXPECT_EQ(pieces[0].readyAtMs, at + 5);
    const auto whole = allBytes(pieces);
    ASSERT_EQ(whole.size(), 332u);
    EXPECT_EQ(std::vector(whole.begin(), whole.begin() + 10), clean);
    for (size_t p = 1; p < pieces.size(); ++p) {
      const uint64_t wire = (pieces[p - 1].bytes.size() * 10000 + 9599) / 9600;
      EXPECT_GE(pieces[p].readyAtMs, pieces[p - 1].readyAtMs + wire + 1);
      EXPECT_LE(pieces[p].readyAtMs, pieces[p - 1].readyAtMs + wire + 60);
    }
  }
}

TEST(LineFaults, DriftWandersWithinTheSensorRange) {
  SimConfig c;
  c.drift = true;
  c.temperatureReading = 1130;  // near the hot end, so the walk meets the bound
  VirtualLine l(c);
  uint16_t lo = 65535, hi = 0;
  for (int i = 0; i < 2000; ++i) {
    const auto r = l.receive(hex("A5 A5 A5 00 A2 00 2B 00 00 00 89 AA"), uint64_t(i) * 1000);
    ASSERT_EQ(r.size(), 1u);
    const uint16_t reading = uint16_t(r[0].bytes[12] | r[0].bytes[13] << 8);
    lo = std::min(lo, reading);
    hi = std::max(hi, reading);
    EXPECT_LE(r[0].bytes[14], 20);
  }
  EXPECT_EQ(lo, 1123);
  EXPECT_GT(hi, 1200);
  EXPECT_LE(hi, 5118);

  SimConfig still;
  still.temperatureReading = 1130;
  VirtualLine fixed(still);
  const auto r = fixed.receive(hex("A5 A5 A5 00 A2 00 2B 00 00 00 89 AA"), 3600000);
  EXPECT_EQ(r[0].bytes[12] | r[0].bytes[13] << 8, 1130);
}

}  // namespace
}  // namespace audiodsp
