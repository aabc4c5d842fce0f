#include "protocol/reply_dispatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/link_bench.h"

namespace audiodsp::testing {
namespace {

// Replies as the device sends them, in the received-text form.
const std::string kSystem = "A5A5A50052002100000803112200000F000044AA";  // bytes 03 11 22 .. 0F ..
const std::string kPoll = "A5A5A50052002B0000080000930C0C000000E2AA";    // reading 3219, 12 dB
const std::string kSystemAck = "A5A5A50051002100000070AA";
const std::string kWriteAck = "A5A5A50051000000000051AA";
const std::string kOtherAck = "A5A5A50051002600000077AA";  // an acknowledgement nobody waits for
const std::string kDeg =
    "\xC2\xB0"
    "C";  // UTF-8 degree sign

std::string imageReply(uint8_t command) {
  Bytes image(320);
  for (size_t i = 0; i < image.size(); ++i) image[i] = uint8_t(i * 7 + command);
  return toHex(buildFrame(0x00, kTypeData, 0, command, 0, image));
}
std::string namesReply() {
  Bytes names(400, 0);
  const std::string live = "Live";
  std::copy(live.begin(), live.end(), names.begin() + 40);  // entry 2
  return toHex(buildFrame(0x00, kTypeData, 0, kCmdNames, 0, names));
}
std::string pollReply(uint8_t address, uint16_t reading, uint8_t attenuation) {
  const Bytes data{0, 0, uint8_t(reading & 0xFF), uint8_t(reading >> 8), attenuation, 0, 0, 0};
  return toHex(buildFrame(address, kTypeData, 0, kCmdStatus, 0, data));
}

const std::string kCurrentGroup = imageReply(kCmdCurrentGroup);
const std::string kStoredGroup = imageReply(kCmdStoredGroup);
const std::string kNames = namesReply();
const std::string kTemperature = "temperature 32 " + kDeg;
const std::string kAttenuation = "attenuation 12 dB";

ExchangeFlags with(bool ExchangeFlags::*flag) {
  ExchangeFlags f;
  f.*flag = true;
  return f;
}

struct DispatchCase {
  const char* name;
  ExchangeFlags flags;
  std::vector<std::string> deliveries;
  std::vector<std::string> events;  // what the reply owners were handed, in order
  std::string rest;                 // RxText afterwards
  ExchangeFlags flagsAfter;
  bool namesRequested = false;  // the names request went out at once
  bool systemReadQueued = false;
  bool pollingStarted = false;
  friend void PrintTo(const DispatchCase& c, std::ostream* os) { *os << c.name; }
};

std::vector<DispatchCase> dispatchCases() {
  const ExchangeFlags none;
  return {
      {"system and poll reply in one delivery, system first",
       none,
       {kSystem + kPoll},
       {"system 3 17 34 15", kTemperature, kAttenuation},
       "",
       none},
      {"poll reply ends the pass", none, {kPoll + kSystem}, {kTemperature, kAttenuation}, kSystem, none},
      {"exactly one system reply leaves nothing", none, {kSystem}, {"system 3 17 34 15"}, "", none},
      {"acknowledgement removes exactly 24 characters",
       with(&ExchangeFlags::idChangePending),
       {kSystemAck + kPoll},
       {"id change acknowledged"},
       kPoll,
       none},
      {"system acknowledgement nobody waits for is dropped", none, {kSystemAck}, {}, "", none},
      {"write acknowledgement of a preset save",
       with(&ExchangeFlags::saveAckPending),
       {kWriteAck},
       {"preset save acknowledged"},
       "",
       none},
      {"998 characters are still examined",
       none,
       {kPoll + std::string(958, '0')},
       {kTemperature, kAttenuation},
       std::string(958, '0'),
       none},
      {"1000 characters are emptied before any test", none, {kPoll + std::string(960, '0')}, {}, "", none},
      {"noise before the sync empties everything", none, {"00" + kPoll}, {}, "", none},
      {"a reply cut inside its sync bytes is completed",
       none,
       {"A5A5", kPoll.substr(4)},
       {kTemperature, kAttenuation},
       "",
       none},
      {"an unknown acknowledgement blocks what follows",
       none,
       {kOtherAck + kPoll},
       {},
       kOtherAck + kPoll,
       none},
      {"a poll reply from another address is taken",
       none,
       {pollReply(0x07, 3219, 12)},
       {kTemperature, kAttenuation},
       "",
       none},
      {"a search records the answer",
       with(&ExchangeFlags::searchRunning),
       {kPoll},
       {"search hit", kTemperature, kAttenuation},
       "",
       with(&ExchangeFlags::searchRunning)},
      {"stored group outside a bank save stays", none, {kStoredGroup}, {}, kStoredGroup, none},
      {"stored group of a bank save",
       with(&ExchangeFlags::bankSaveMode),
       {kStoredGroup + kWriteAck},
       {"stored group " + kStoredGroup},
       kWriteAck,
       with(&ExchangeFlags::bankSaveMode)},
      {"current group in two deliveries of 300 and 364",
       none,
       {kCurrentGroup.substr(0, 300), kCurrentGroup.substr(300)},
       {"apply " + kCurrentGroup, "lock selectors"},
       "",
       none,
       true},
      {"current group for the initial data keeps the text",
       with(&ExchangeFlags::initialDataPending),
       {kCurrentGroup + "A5A5"},
       {"initial data " + kCurrentGroup + "A5A5"},
       kCurrentGroup + "A5A5",
       none},
      {"current group for a single save",
       with(&ExchangeFlags::singleSaveMode),
       {kCurrentGroup},
       {"single save " + kCurrentGroup},
       "",
       none,
       false,
       false,
       true},
      {"recalled preset finishes the load",
       with(&ExchangeFlags::presetLoadPending),
       {kCurrentGroup},
       {"apply " + kCurrentGroup, "lock selectors", "preset load finished"},
       "",
       none,
       false,
       true,
       true},
      {"names reply ends the handshake", none, {kNames}, {"names " + kNames}, "", none, false, true, true},
  };
}

class DispatchTable : public ::testing::TestWithParam<DispatchCase> {};

TEST_P(DispatchTable, HandsEachReplyToItsOwner) {
  const DispatchCase& c = GetParam();
  LinkBench bench;
  bench.line.setAllSilent(true);
  bench.open();
  bench.flags = c.flags;
  for (const std::string& text : c.deliveries) bench.deliver(text);

  std::vector<std::string> events;
  for (const Event& e : bench.events) events.push_back(e.what);
  EXPECT_EQ(events, c.events);
  EXPECT_EQ(bench.link.rxText(), c.rest);
  EXPECT_EQ(bench.flags, c.flagsAfter);
  const Bytes namesRequest{0xA5, 0xA5, 0xA5, 0x00, 0xA2, 0x00, 0x26, 0x00, 0x00, 0x00, 0x84, 0xAA};
  std::vector<Bytes> written;
  for (const HostFrame& f : bench.hostFrames) written.push_back(f.bytes);
  EXPECT_EQ(written, c.namesRequested ? std::vector<Bytes>{namesRequest} : std::vector<Bytes>{});
  EXPECT_EQ(bench.table.pending(SendTable::kSystemReadSlot), c.systemReadQueued);
  EXPECT_EQ(bench.chain.Timer1.enabled(), c.pollingStarted);
  EXPECT_EQ(bench.chain.sendTimer.enabled(), c.pollingStarted);
}

INSTANTIATE_TEST_SUITE_P(Replies, DispatchTable, ::testing::ValuesIn(dispatchCases()), [](const auto& info) {
  std::string name;
  for (const char* p = info.param.name; *p; ++p)
    name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
});

TEST(ReplyDispatcher, PartOfAGroupWaitsForTheRest) {
  LinkBench bench;
  bench.deliver(kCurrentGroup.substr(0, 300));
  EXPECT_TRUE(bench.events.empty());
  EXPECT_EQ(bench.link.rxText(), kCurrentGroup.substr(0, 300));
}

TEST(ReplyDispatcher, AnyDeliveryStopsWatchdogAndFirstHandshakeStep) {
  LinkBench bench;
  SendChain& chain = bench.chain;
  for (Timer* t : {&chain.intimer, &chain.chcon, &chain.chcon112, &chain.chcon188}) t->start();
  bench.deliver("00");  // noise
  EXPECT_FALSE(chain.intimer.enabled());
  EXPECT_FALSE(chain.chcon.enabled());
  EXPECT_TRUE(chain.chcon112.enabled());
  EXPECT_TRUE(chain.chcon188.enabled());
  bench.deliver(kCurrentGroup);
  EXPECT_FALSE(chain.chcon112.enabled());
  EXPECT_TRUE(chain.chcon188.enabled());
  bench.deliver(kNames);
  EXPECT_FALSE(chain.chcon188.enabled());
}

TEST(ReplyDispatcher, ReadoutTexts) {
  struct Case {
    uint16_t reading;
    uint8_t attenuation;
    std::string temperature, attenuationText;
  };
  const std::vector<Case> cases{
      {0, 0, ">=70 " + kDeg, "0 dB"},        {1123, 12, ">=70 " + kDeg, "12 dB"},
      {1150, 12, ">=70 " + kDeg, "12 dB"},   {1153, 1, ">=70 " + kDeg, "1 dB"},
      {1154, 1, "68 " + kDeg, "1 dB"},       {3219, 99, "32 " + kDeg, "99 dB"},
      {5118, 255, "<=10 " + kDeg, "255 dB"}, {65535, 0, "<=10 " + kDeg, "0 dB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reading);
    LinkBench bench;
    bench.deliver(pollReply(0x00, c.reading, c.attenuation));
    ASSERT_EQ(bench.events.size(), 2u);
    EXPECT_EQ(bench.events[0].what, "temperature " + c.temperature);
    EXPECT_EQ(bench.events[1].what, "attenuation " + c.attenuationText);
  }
}

TEST(ReplyDispatcher, NamesRequestGoesToTheSelectedDevice) {
  LinkBench bench;
  bench.line.setAllSilent(true);
  bench.deviceId = 0x04;
  bench.open();
  bench.deliver(kCurrentGroup);
  ASSERT_EQ(bench.hostFrames.size(), 1u);
  EXPECT_EQ(bench.hostFrames[0].bytes,
            (Bytes{0xA5, 0xA5, 0xA5, 0x04, 0xA2, 0x00, 0x26, 0x00, 0x00, 0x00, 0x80, 0xAA}));
}

}  // namespace
}  // namespace audiodsp::testing
