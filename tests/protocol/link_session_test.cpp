// The send chain and the reply dispatcher together on the simulated amplifier: the whole
// connection handshake, a minute of keep-alive polling with live readouts, and a device that
// drops off the line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/link_bench.h"

namespace audiodsp::testing {
namespace {

const Bytes kGroupRead{0xA5, 0xA5, 0xA5, 0x00, 0xA2, 0x00, 0x28, 0x00, 0x00, 0x00, 0x8A, 0xAA};
const Bytes kNamesRequest{0xA5, 0xA5, 0xA5, 0x00, 0xA2, 0x00, 0x26, 0x00, 0x00, 0x00, 0x84, 0xAA};
const Bytes kSystemRead{0xA5, 0xA5, 0xA5, 0x00, 0xA2, 0x00, 0x21, 0x00, 0x00, 0x08,
                        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x8B, 0xAA};
const Bytes kPoll{0xA5, 0xA5, 0xA5, 0x00, 0xA2, 0x00, 0x2B, 0x00, 0x00, 0x00, 0x89, 0xAA};
const std::string kDeg =
    "\xC2\xB0"
    "C";

std::vector<Bytes> bytesOf(const std::vector<HostFrame>& frames) {
  std::vector<Bytes> out;
  for (const HostFrame& f : frames) out.push_back(f.bytes);
  return out;
}

struct LineCase {
  const char* name;
  uint32_t replyDelayMs;
  bool split;
  friend void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }
};

class LinkSession : public ::testing::TestWithParam<LineCase> {
 protected:
  static SimConfig config(const LineCase& c) {
    SimConfig cfg;
    cfg.ids = {1};
    cfg.replyDelayMs = c.replyDelayMs;
    cfg.split = c.split;
    cfg.splitGapMaxMs = 40;
    cfg.temperatureReading = 3219;
    cfg.attenuationDb = 12;
    return cfg;
  }
  LinkBench bench{config(GetParam())};
};

TEST_P(LinkSession, HandshakeThenAMinuteOfPollingThenTheDeviceIsLost) {
  SimDevice& amp = *bench.line.device(1);
  amp.systemBlock[0] = 3;     // last loaded preset
  amp.systemBlock[5] = 7;     // temperature threshold 56 °C
  amp.currentGroup[10] = 42;  // something to recognise in the applied image
  std::copy_n("Live", 4, amp.presetNames[2].begin());
  const std::string group = toHex(buildFrame(0x00, kTypeData, 0, kCmdCurrentGroup, 0, amp.currentGroup));

  bench.connect();
  bench.loop.advance(30'000);
  amp.temperatureReading = 1154;  // warmer: 68 °C
  amp.attenuationDb = 3;
  bench.loop.advance(30'000);

  // The handshake: group read, names request once the group is in, then the queued system
  // read; after that only polls.
  EXPECT_EQ(bytesOf(bench.nonPolls()), (std::vector<Bytes>{kGroupRead, kNamesRequest, kSystemRead}));
  ASSERT_EQ(bench.eventsOf("apply").size(), 1u);
  EXPECT_EQ(bench.eventsOf("apply")[0].what, "apply " + group);
  EXPECT_EQ(bench.eventsOf("lock selectors").size(), 1u);
  ASSERT_EQ(bench.eventsOf("names").size(), 1u);
  EXPECT_NE(bench.eventsOf("names")[0].what.find("4C697665"), std::string::npos);  // "Live"
  const auto system = bench.eventsOf("system");
  ASSERT_EQ(system.size(), 1u);
  EXPECT_EQ(system[0].what, "system 3 " + std::to_string(amp.systemBlock[1]) + " " +
                                std::to_string(amp.systemBlock[2]) + " 7");

  // Polls every 500 ms from the end of the handshake to the end of the minute.
  const auto polls = bench.framesOf(kPoll);
  ASSERT_GE(polls.size(), 110u);
  for (size_t i = 1; i < polls.size(); ++i) EXPECT_EQ(polls[i].atMs - polls[i - 1].atMs, 500u) << i;
  EXPECT_GT(polls.back().atMs, 59'400u);

  const auto temperatures = bench.eventsOf("temperature");
  const auto attenuations = bench.eventsOf("attenuation");
  ASSERT_GE(temperatures.size(), polls.size() - 1);
  EXPECT_EQ(temperatures.front().what, "temperature 32 " + kDeg);
  EXPECT_EQ(attenuations.front().what, "attenuation 12 dB");
  EXPECT_EQ(temperatures.back().what, "temperature 68 " + kDeg);
  EXPECT_EQ(attenuations.back().what, "attenuation 3 dB");
  EXPECT_TRUE(bench.dialogs.shown().empty());
  EXPECT_TRUE(bench.eventsOf("disconnect").empty());
  EXPECT_TRUE(bench.link.portOpen());

  // The device drops off the line: "interrupt." 2 s after the first poll it leaves unanswered.
  const uint64_t silentAt = bench.loop.tick();
  bench.line.setSilent(1, true);
  bench.loop.advance(5000);
  const auto disconnects = bench.eventsOf("disconnect");
  ASSERT_EQ(disconnects.size(), 1u);
  uint64_t firstUnanswered = 0;
  for (const HostFrame& f : bench.framesOf(kPoll))
    if (f.atMs > silentAt + 100) {  // a reply to a poll just before the silence may still come
      firstUnanswered = f.atMs;
      break;
    }
  ASSERT_NE(firstUnanswered, 0u);
  EXPECT_GE(disconnects[0].atMs, firstUnanswered + 2000);
  EXPECT_LE(disconnects[0].atMs, firstUnanswered + 2013);
  EXPECT_EQ(bench.dialogs.messages(), std::vector<std::string>{"interrupt."});
  EXPECT_FALSE(bench.link.portOpen());
  EXPECT_FALSE(bench.chain.Timer1.enabled());
}

INSTANTIATE_TEST_SUITE_P(Lines, LinkSession,
                         ::testing::Values(LineCase{"clean", 5, false}, LineCase{"slow", 150, false},
                                           LineCase{"split", 5, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace audiodsp::testing
