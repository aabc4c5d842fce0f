#include "protocol/send_chain.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/link_bench.h"

namespace audiodsp::testing {
namespace {

const Bytes kPoll0{0xA5, 0xA5, 0xA5, 0x00, 0xA2, 0x00, 0x2B, 0x00, 0x00, 0x00, 0x89, 0xAA};
const Bytes kPollBroadcast{0xA5, 0xA5, 0xA5, 0xFF, 0xA2, 0x00, 0x2B, 0x00, 0x00, 0x00, 0x76, 0xAA};
// High output block: device ID 1, on, gain index 200, delay 300 steps, polarity "-".
const Bytes kHighOutput{0xA5, 0xA5, 0xA5, 0x00, 0xA1, 0x00, 0x00, 0x00, 0x00, 0x08,
                        0xC8, 0x01, 0x2C, 0x01, 0x01, 0x00, 0x00, 0x00, 0x4C, 0xAA};

std::vector<uint64_t> times(const std::vector<HostFrame>& frames) {
  std::vector<uint64_t> out;
  for (const HostFrame& f : frames) out.push_back(f.atMs);
  return out;
}

Bytes band(uint8_t frequency) {
  return blockWrite(0x00, 0x00, 0x03, {frequency, 0, 0x78, 0, 0x78, 0, 4, 0});
}

// An open link, polling and sending, on a device that answers.
class SendChainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bench.open();
    bench.chain.startPolling();
  }
  LinkBench bench;
};

TEST_F(SendChainTest, PollsEvery500msWhileNothingIsQueued) {
  bench.loop.advance(10'000);
  ASSERT_EQ(bench.hostFrames.size(), 20u);
  for (size_t i = 0; i < bench.hostFrames.size(); ++i) {
    EXPECT_EQ(bench.hostFrames[i].atMs, 500 * (i + 1));
    EXPECT_EQ(bench.hostFrames[i].bytes, kPoll0);
  }
  // Every poll answered and shown; the answer to the last one is still on its way.
  EXPECT_EQ(bench.eventsOf("temperature").size(), 19u);
  EXPECT_TRUE(bench.eventsOf("disconnect").empty());
  EXPECT_TRUE(bench.dialogs.shown().empty());
}

TEST_F(SendChainTest, SilentDeviceIsReportedTwoSecondsAfterTheFirstUnansweredPoll) {
  bench.loop.advance(3000);  // the poll of 3000 ms is on its way and still answered
  bench.line.setSilent(1, true);
  bench.loop.advance(5499 - bench.loop.tick());  // first unanswered poll at 3500: nothing until 5500
  EXPECT_TRUE(bench.eventsOf("disconnect").empty());
  bench.loop.advance(100);
  const auto disconnects = bench.eventsOf("disconnect");
  ASSERT_EQ(disconnects.size(), 1u);
  // Due at 5500; the poll due at the same moment is written first (12.5 ms on the wire).
  EXPECT_GE(disconnects[0].atMs, 5500u);
  EXPECT_LE(disconnects[0].atMs, 5513u);
  EXPECT_EQ(bench.dialogs.messages(), std::vector<std::string>{"interrupt."});
  EXPECT_FALSE(bench.link.portOpen());
  bench.loop.advance(5000);
  EXPECT_EQ(bench.dialogs.messages().size(), 1u);
}

TEST_F(SendChainTest, MarkedSlotsGoOutLowestFirstHalfASecondApart) {
  bench.loop.advance(100);
  const Bytes midOutput = blockWrite(0x00, 0x01, 0x00, {0xC8, 1, 0, 0, 0, 0, 0, 0});
  bench.queue(4, midOutput);
  bench.queue(1, kHighOutput);
  bench.loop.advance(1500);
  const auto frames = bench.nonPolls();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].bytes, kHighOutput);
  EXPECT_EQ(frames[1].bytes, midOutput);
  // Taken at 110, written 200 ms later; 300 ms pause after the write's 20.8 ms, taken again
  // 10 ms later, written 200 ms after that.
  EXPECT_EQ(times(frames), (std::vector<uint64_t>{310, 840}));
  EXPECT_TRUE(bench.framesOf(kPoll0).empty());  // no poll while slots are pending
  bench.loop.advance(1000);
  EXPECT_EQ(times(bench.framesOf(kPoll0)), (std::vector<uint64_t>{1661, 2161}));
}

TEST_F(SendChainTest, BlockEditedThreeTimesWhilePendingGoesOutOnceWithTheLastValues) {
  bench.loop.advance(105);
  for (uint8_t f : {10, 20, 30}) bench.queue(10, band(f));
  bench.loop.advance(2000);
  const auto frames = bench.nonPolls();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].bytes, band(30));
  EXPECT_EQ(frames[0].atMs, 310u);
}

TEST_F(SendChainTest, EditInsideTheWriteDelayGoesOutAgainAfterThePause) {
  bench.loop.advance(100);
  bench.queue(10, band(10));
  bench.loop.advance(100);  // taken at 110; the write follows at 310
  bench.queue(10, band(20));
  bench.loop.advance(2000);
  const auto frames = bench.nonPolls();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].bytes, band(20));  // the buffer as it stands at the write
  EXPECT_EQ(frames[1].bytes, band(20));
  EXPECT_EQ(times(frames), (std::vector<uint64_t>{310, 840}));
}

TEST_F(SendChainTest, SystemReadCarriesTheAddressOfTheMomentItIsWritten) {
  bench.table.mark(SendTable::kSystemReadSlot);
  bench.loop.advance(100);  // taken at 10
  bench.deviceId = 0x04;
  bench.loop.advance(200);
  const auto frames = bench.nonPolls();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].bytes, (Bytes{0xA5, 0xA5, 0xA5, 0x04, 0xA2, 0x00, 0x21, 0x00, 0x00, 0x08,
                                    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x8F, 0xAA}));
  EXPECT_EQ(frames[0].atMs, 210u);
}

TEST_F(SendChainTest, FrameProgressCountsSixFramesThenCloses) {
  bench.chain.frameProgress = {true, 0};
  for (int slot = 1; slot <= 7; ++slot) bench.queue(slot, blockWrite(0x00, 0x00, uint8_t(slot), Bytes(8, 0)));
  bench.loop.advance(5000);
  std::vector<std::string> progress;
  for (const Event& e : bench.eventsOf("progress")) progress.push_back(e.what);
  EXPECT_EQ(progress, (std::vector<std::string>{"progress 16", "progress 32", "progress 48", "progress 64",
                                                "progress 80", "progress 96", "progress finished"}));
  EXPECT_EQ(bench.nonPolls().size(), 7u);  // the seventh frame goes out without moving the bar
  // The bar moves once the frame is out (20 bytes, 20.8 ms).
  EXPECT_NEAR(double(bench.eventsOf("progress finished")[0].atMs), double(bench.nonPolls()[5].atMs + 20), 1);
  EXPECT_FALSE(bench.chain.frameProgress.on);
}

TEST_F(SendChainTest, SlotTakenBeforeTheLinkClosedIsWrittenWhenItOpensAgain) {
  bench.loop.advance(100);
  bench.queue(1, kHighOutput);
  bench.loop.advance(100);  // taken at 110
  bench.link.closePort();
  bench.loop.advance(800);
  EXPECT_TRUE(bench.nonPolls().empty());
  EXPECT_TRUE(bench.chain.Timer7.enabled());  // keeps trying every 200 ms
  bench.open();
  bench.loop.advance(500);
  const auto frames = bench.nonPolls();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].bytes, kHighOutput);
  EXPECT_EQ(frames[0].atMs, 1110u);
  EXPECT_TRUE(bench.chain.Timer1.enabled());  // and polling resumed after the pause
  EXPECT_TRUE(bench.chain.sendTimer.enabled());
}

TEST(SendChainBroadcast, WritesEveryFrameTwiceAndNeverDisconnects) {
  LinkBench bench;
  bench.deviceId = kBroadcastAddress;
  bench.open();
  Bytes frame = kHighOutput;
  frame[3] = 0xFF;
  frame[18] ^= 0xFF;
  bench.queue(1, frame);
  bench.chain.startPolling();
  bench.loop.advance(10'000);
  const auto frames = bench.framesOf(frame);
  // Back to back: the second starts when the first's 20 bytes are out.
  EXPECT_EQ(times(frames), (std::vector<uint64_t>{210, 230}));
  const auto polls = bench.framesOf(kPollBroadcast);
  EXPECT_EQ(polls.size(), 18u);  // from 1051 every 500 ms, each written once
  EXPECT_EQ(polls.front().atMs, 1051u);
  EXPECT_EQ(bench.hostFrames.size(), frames.size() + polls.size());
  EXPECT_TRUE(bench.eventsOf("disconnect").empty());
  EXPECT_TRUE(bench.dialogs.shown().empty());
  EXPECT_TRUE(bench.link.portOpen());
}

// A device that answers only some polls: any byte stops the watchdog, so a device that
// answers every fourth poll (2 s apart) stays connected, one that answers every fifth does
// not: 2 s pass between its first unanswered poll and its next answer.
TEST(SendChainWatchdog, SparseAnswers) {
  struct Case {
    int answerEvery;
    bool disconnected;
  };
  for (const Case c : {Case{1, false}, Case{3, false}, Case{4, false}, Case{5, true}}) {
    SCOPED_TRACE(c.answerEvery);
    LinkBench bench;
    int polls = 0;
    bench.device.onWire = [&](const WireEvent& e) {
      if (!e.fromHost) return;
      bench.hostFrames.push_back({e.startMicros / 1000, e.bytes});
      ++polls;
      bench.line.setSilent(1, polls % c.answerEvery != 0);
    };
    bench.open();
    bench.chain.startPolling();
    bench.loop.advance(60'000);
    EXPECT_EQ(!bench.eventsOf("disconnect").empty(), c.disconnected);
    if (!c.disconnected) {
      EXPECT_EQ(polls, 120);
      // The answer to the last poll is still on its way when the minute ends.
      EXPECT_EQ(bench.eventsOf("temperature").size(), size_t(120 / c.answerEvery - 1));
    }
  }
}

// The handshake as the dispatcher sees it, with the device's replies given as text at the
// times of the case, and what each time-out does when a step is missing.
TEST(SendChainHandshake, TimeOuts) {
  struct Delivery {
    uint64_t atMs;
    std::string text;
  };
  Bytes image(320, 0);
  const std::string group = toHex(buildFrame(0x00, kTypeData, 0, kCmdCurrentGroup, 0, image));
  const std::string names = toHex(buildFrame(0x00, kTypeData, 0, kCmdNames, 0, Bytes(400, 0)));
  const std::string poll = "A5A5A50052002B0000080000930C0C000000E2AA";
  struct Case {
    const char* name;
    std::vector<Delivery> deliveries;
    uint64_t disconnectAtMs;  // 0: stays connected. The timers start once the group read is out (12.5 ms).
    std::vector<std::string> messages;
  };
  const std::vector<Case> cases{
      {"no reply", {}, 812, {"overtime,please make suer the device id correct."}},
      {"an answer but no group", {{100, poll}}, 1512, {"overtime,please try again."}},
      {"group but no names", {{300, group}}, 2512, {"overtime,please try again."}},
      {"late group", {{100, poll}, {1600, group}}, 1512, {"overtime,please try again."}},
      {"complete", {{300, group}, {700, names}}, 0, {}},
      // The user disconnects at 300 ms: the handshake is over, and no time-out may connect again.
      {"abandoned", {{300, ""}}, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LinkBench bench;
    bench.line.setAllSilent(true);
    bench.connect();
    uint64_t now = 0;
    for (const Delivery& d : c.deliveries) {
      bench.loop.advance(uint32_t(d.atMs - now));
      now = d.atMs;
      if (d.text.empty())
        bench.disconnect();
      else if (bench.link.portOpen())
        bench.deliver(d.text);
    }
    bench.loop.advance(uint32_t(3000 - now));
    const auto disconnects = bench.eventsOf("disconnect");
    if (c.disconnectAtMs == 0) {
      EXPECT_TRUE(disconnects.empty());
      const bool abandoned = c.deliveries.back().text.empty();
      EXPECT_EQ(bench.link.portOpen(), !abandoned);
      EXPECT_EQ(bench.chain.Timer1.enabled(), !abandoned);
    } else {
      ASSERT_EQ(disconnects.size(), 1u);
      EXPECT_EQ(disconnects[0].atMs, c.disconnectAtMs);
      EXPECT_FALSE(bench.link.portOpen());
    }
    EXPECT_EQ(bench.dialogs.messages(), c.messages);
    for (const Timer* t : {&bench.chain.chcon, &bench.chain.chcon112, &bench.chain.chcon188})
      EXPECT_FALSE(t->enabled()) << t->name();
  }
}

}  // namespace
}  // namespace audiodsp::testing
