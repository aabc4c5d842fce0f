#include "ui/connection_control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/frame_codec.h"
#include "support/form_fixture.h"

namespace audiodsp {
namespace {

using testing::FormFixture;
using testing::simDevices;

const std::string kGroupRead0 = toHex(groupReadFrame(0, 0));
const std::string kNames0 = toHex(namesRequestFrame(0));
const std::string kSystemRead0 = toHex(systemReadFrame(0));
const std::string kPoll0 = toHex(pollFrame(0));

// A window past its start-up search, with what that search sent forgotten.
struct Started : FormFixture {
  explicit Started(SimConfig cfg = simDevices({1}),
                   std::vector<PortInfo> list = {{"COM3", "/dev/audiodsp-demo", "simulated line"}})
      : FormFixture(std::move(cfg), std::move(list)) {
    open();
    run(6000);
    sent.clear();
    dialogs.clearShown();
  }
  Button& button3() { return *f().c.Button3; }
  std::string status() { return f().c.StatusBar1->panelText(0); }
  // Frames sent from `from` on, with their start times in ms since `t0`.
  std::vector<std::pair<uint64_t, std::string>> timed(uint64_t t0) {
    std::vector<std::pair<uint64_t, std::string>> out;
    const std::vector<std::string> hex = sentHex();
    for (size_t i = 0; i < sent.size(); ++i) out.emplace_back(sent[i].startMicros / 1000 - t0, hex[i]);
    return out;
  }
};

TEST(Connection, HandshakeReadsGroupNamesAndSystemBlockThenPollsEvery500ms) {
  Started fx;
  MainForm& f = fx.f();
  const uint64_t t0 = fx.loop.micros() / 1000;
  fx.button3().userClick();
  EXPECT_EQ(fx.button3().caption(), "Connect");
  EXPECT_EQ(fx.status(), "  Connect COM3");
  EXPECT_FALSE(fx.button3().enabled());
  fx.run(3000);

  const auto frames = fx.timed(t0);
  ASSERT_GE(frames.size(), 6u);
  EXPECT_EQ(frames[0], (std::pair<uint64_t, std::string>{0, kGroupRead0}));
  EXPECT_EQ(frames[1].second, kNames0);
  EXPECT_EQ(frames[2].second, kSystemRead0);
  for (size_t i = 3; i < frames.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(frames[i].second, kPoll0);
    if (i > 3) {
      EXPECT_EQ(frames[i].first - frames[i - 1].first, 500u);
    }
  }
  EXPECT_TRUE(fx.dialogs.shown().empty());
  EXPECT_FALSE(f.c.RzComboBox1->enabled());
  EXPECT_FALSE(f.c.RzComboBox6->enabled());
  EXPECT_EQ(f.c.RzLabel32->caption(), "0 dB");
  EXPECT_FALSE(f.c.RzLabel29->caption().empty());
  EXPECT_TRUE(fx.button3().enabled());  // Timer6 gave it back after 2 s
}

TEST(Connection, DisconnectClosesTheLinkAndStopsThePolls) {
  Started fx;
  MainForm& f = fx.f();
  fx.button3().userClick();
  fx.run(3000);
  fx.button3().userClick();
  EXPECT_FALSE(f.portOpen());
  EXPECT_EQ(fx.button3().caption(), "Disconnect");
  EXPECT_EQ(fx.status(), "  Disconnect");
  EXPECT_TRUE(f.c.RzComboBox1->enabled());
  EXPECT_TRUE(f.c.RzComboBox6->enabled());
  fx.sent.clear();
  fx.run(5000);
  EXPECT_TRUE(fx.sent.empty());
  EXPECT_TRUE(fx.dialogs.shown().empty());
}

TEST(Connection, SecondPressWithinTwoSecondsIsIgnored) {
  Started fx;
  const uint64_t pressed = fx.loop.micros();
  fx.button3().userClick();  // its group read takes time on the wire, so time moves on here
  fx.run(1950);
  EXPECT_FALSE(fx.button3().enabled());
  fx.button3().userClick();
  EXPECT_TRUE(fx.f().portOpen());
  EXPECT_EQ(fx.button3().caption(), "Connect");
  fx.run(static_cast<uint32_t>((pressed + 2'000'000 - fx.loop.micros()) / 1000 + 1));
  EXPECT_TRUE(fx.button3().enabled());
  fx.button3().userClick();
  EXPECT_FALSE(fx.f().portOpen());
}

struct NoPortCase {
  const char* title;
  std::vector<PortInfo> ports;
  const char* reason;  // second status panel
};

class NoPort : public ::testing::TestWithParam<NoPortCase> {};

TEST_P(NoPort, NothingOpensAndTheReasonIsShown) {
  Started fx(simDevices({1}), GetParam().ports);
  fx.button3().userClick();
  EXPECT_FALSE(fx.f().portOpen());
  EXPECT_EQ(fx.dialogs.messages(), std::vector<std::string>{"No port."});
  EXPECT_EQ(fx.button3().caption(), "Disconnect");
  EXPECT_EQ(fx.f().link.portNumber(), 0);
  EXPECT_EQ(fx.f().c.StatusBar1->panelText(1), GetParam().reason);
  EXPECT_TRUE(fx.sent.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, NoPort,
                         ::testing::Values(NoPortCase{"empty list", {}, "no port chosen"},
                                           NoPortCase{"name without a number",
                                                      {{"COMX", "/dev/audiodsp-demo", ""}},
                                                      "COMX: No such device"}),
                         [](const auto& info) {
                           return info.index == 0 ? std::string("EmptyList") : std::string("NotANumber");
                         });

TEST(Connection, SilentDeviceEndsTheHandshakeWithTheFirstTimeout) {
  Started fx;
  fx.line.setAllSilent(true);
  fx.button3().userClick();
  fx.run(799);
  EXPECT_TRUE(fx.f().portOpen());
  fx.run(2);
  EXPECT_FALSE(fx.f().portOpen());
  EXPECT_EQ(fx.dialogs.messages(),
            std::vector<std::string>{"overtime,please make suer the device id correct."});
  EXPECT_EQ(fx.button3().caption(), "Disconnect");
  fx.run(5000);  // the later handshake timers were stopped with the first
  EXPECT_EQ(fx.dialogs.messages().size(), 1u);
  EXPECT_EQ(fx.sent.size(), 1u);
}

TEST(Connection, LostPortDisconnectsWithinThreeSeconds) {
  Started fx;
  fx.button3().userClick();
  fx.run(3000);
  fx.ports.set({});  // the adapter was pulled
  fx.run(3000);
  EXPECT_FALSE(fx.f().portOpen());
  EXPECT_EQ(fx.button3().caption(), "Disconnect");
  const std::vector<std::string> messages = fx.dialogs.messages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back(), "No port.");
}

TEST(Connection, BroadcastNoticeAnsweredNoOpensAndClosesAgain) {
  Started fx(simDevices({12}));
  fx.get<Button>("RzButton8").userClick();
  fx.dialogs.clearShown();
  fx.dialogs.answer(Answer::No);
  fx.button3().userClick();
  EXPECT_FALSE(fx.f().portOpen());
  EXPECT_EQ(fx.button3().caption(), "Disconnect");
  ASSERT_EQ(fx.dialogs.shown().size(), 1u);
  EXPECT_EQ(fx.dialogs.shown()[0],
            (DialogRecord{DialogRecord::Kind::Question, "Notice",
                          "In broadcast mode must put all equipment unified data, otherwise cannot broadcast "
                          "mode.",
                          DialogIcon::Question, Answer::No}));
  EXPECT_TRUE(fx.sent.empty());
}

TEST(Connection, BroadcastNoticeAnsweredYesLocksTheWindowAndOpensTheInitialDataBox) {
  Started fx(simDevices({12}));
  MainForm& f = fx.f();
  fx.get<Button>("RzButton8").userClick();
  fx.dialogs.answer(Answer::Yes);
  fx.button3().userClick();
  EXPECT_TRUE(f.portOpen());
  EXPECT_EQ(fx.button3().caption(), "Connect");
  EXPECT_TRUE(f.c.RzGroupBox16->visible());
  EXPECT_EQ(f.c.RzGroupBox16->left(), 208);
  EXPECT_EQ(f.c.RzGroupBox16->top(), 232);
  for (Control* locked : {static_cast<Control*>(f.c.GroupBox1), static_cast<Control*>(f.c.GroupBox2),
                          static_cast<Control*>(f.c.RzGroupBox4), static_cast<Control*>(f.c.FileMenu)})
    EXPECT_FALSE(locked->enabled()) << locked->name();
  fx.run(5000);
  EXPECT_TRUE(fx.sent.empty());  // no group read and no poll until the initial data is done
  EXPECT_TRUE(f.portOpen());
  // The close glyph of the initial data box disconnects through the command.
  f.connectCommand();
  EXPECT_FALSE(f.portOpen());
  EXPECT_FALSE(f.c.RzGroupBox16->visible());
  EXPECT_TRUE(f.c.FileMenu->enabled());
}

TEST(PortList, SortedAsTextLastSelectedAndNewAdapterSeenWithinThreeSeconds) {
  Started fx(simDevices({1}),
             {{"COM2", "/dev/ttyS1", ""}, {"COM10", "/dev/ttyUSB0", ""}, {"COM1", "/dev/ttyS0", ""}});
  MainForm& f = fx.f();
  ConnectionControl& cc = *f.part<ConnectionControl>();
  EXPECT_EQ(f.c.RzComboBox1->items(), (std::vector<std::string>{"COM1", "COM10", "COM2"}));
  EXPECT_EQ(f.c.RzComboBox1->text(), "COM2");
  EXPECT_EQ(cc.portNumbers(), (std::vector<int>{1, 10, 2}));

  fx.ports.set({{"COM2", "/dev/ttyS1", ""},
                {"COM10", "/dev/ttyUSB0", ""},
                {"COM1", "/dev/ttyS0", ""},
                {"COM11", "/dev/ttyACM0", ""}});
  fx.run(3000);
  EXPECT_EQ(f.c.RzComboBox1->items(), (std::vector<std::string>{"COM1", "COM10", "COM11", "COM2"}));
  EXPECT_EQ(f.c.RzComboBox1->text(), "COM2");
  EXPECT_EQ(cc.portNumbers(), (std::vector<int>{1, 10, 11, 2}));
  EXPECT_EQ(f.link.portMap().at(11), "/dev/ttyACM0");
}

}  // namespace
}  // namespace audiodsp
