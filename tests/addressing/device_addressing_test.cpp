#include "addressing/device_addressing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/frame_codec.h"
#include "support/form_fixture.h"

namespace audiodsp {
namespace {

using testing::FormFixture;
using testing::simDevices;

// A window past its start-up search, with what that search sent and showed forgotten.
struct Started : FormFixture {
  explicit Started(SimConfig cfg) : FormFixture(std::move(cfg)) {
    open();
    run(6000);
    sent.clear();
    dialogs.clearShown();
  }
  void pickDevice(int number) { f().c.RzComboBox6->userSelect(number - 1); }
  void connect() {
    f().c.Button3->userClick();
    run(3000);
  }
  Edit& newId() { return get<Edit>("RzEdit2"); }
  size_t count(const std::string& hex) const {
    size_t n = 0;
    for (const std::string& s : sentHex()) n += s == hex;
    return n;
  }
};

TEST(DeviceAddressing, PickingADeviceRetargetsTheNextPoll) {
  Started fx(simDevices({12}));
  fx.pickDevice(12);
  EXPECT_EQ(fx.f().deviceId, 11);
  EXPECT_EQ(fx.f().displayedDeviceId, 12);
  EXPECT_EQ(fx.newId().text(), "12");
  EXPECT_TRUE(fx.sent.empty());
  fx.connect();
  EXPECT_EQ(fx.sentHex().front(), toHex(groupReadFrame(11, 0)));
  EXPECT_GE(fx.count(toHex(pollFrame(11))), 2u);
}

TEST(DeviceAddressing, AssigningSevenToDeviceThreeSendsOneSystemBlockAndConfirmsOnce) {
  Started fx(simDevices({3}));
  MainForm& f = fx.f();
  fx.pickDevice(3);
  fx.connect();
  fx.sent.clear();
  fx.newId().userSetText("7");
  fx.get<Button>("Button1").userClick();
  EXPECT_EQ(f.deviceId, 6);
  EXPECT_EQ(f.c.RzComboBox6->text(), "7");
  fx.run(3000);

  std::vector<std::string> system;
  for (const std::string& s : fx.sentHex())
    if (s.substr(8, 6) == "A10021") system.push_back(s);
  ASSERT_EQ(system.size(), 1u);
  EXPECT_EQ(system[0].substr(6, 2), "02");   // to the old address
  EXPECT_EQ(system[0].substr(26, 2), "07");  // data byte 3: the new number
  EXPECT_EQ(fx.sentHex().back(), toHex(pollFrame(6)));
  EXPECT_EQ(fx.count(toHex(pollFrame(2))), 0u);
  EXPECT_EQ(fx.dialogs.messages(), std::vector<std::string>{"DeviceID change to 7"});
  EXPECT_TRUE(f.portOpen());  // the device answers under its new number
  EXPECT_EQ(fx.line.device(7)->displayedId(), 7);
}

TEST(DeviceAddressing, KeyFilterPassesDigitsAndBackspaceAndEnterAssigns) {
  Started fx(simDevices({1}));
  fx.connect();
  fx.newId().userSetText("");
  fx.newId().userType("2a-5\b9");
  EXPECT_EQ(fx.newId().text(), "29");
  fx.sent.clear();
  fx.newId().userKey(kKeyEnter);
  EXPECT_EQ(fx.newId().text(), "29");
  EXPECT_EQ(fx.f().deviceId, 28);
  EXPECT_EQ(fx.f().displayedDeviceId, 29);
}

struct BadIdCase {
  const char* typed;
};

class BadId : public ::testing::TestWithParam<BadIdCase> {};

TEST_P(BadId, RestoresTheFieldAndSendsNothing) {
  Started fx(simDevices({1}));
  fx.connect();
  fx.sent.clear();
  fx.dialogs.clearShown();
  fx.newId().userSetText(GetParam().typed);
  fx.get<Button>("Button1").userClick();
  EXPECT_EQ(fx.newId().text(), "1");
  EXPECT_EQ(fx.dialogs.messages(), std::vector<std::string>{"Please input 1~255 number."});
  EXPECT_EQ(fx.f().deviceId, 0);
  fx.run(1000);
  for (const std::string& s : fx.sentHex()) EXPECT_EQ(s, toHex(pollFrame(0)));
}

INSTANTIATE_TEST_SUITE_P(Typed, BadId, ::testing::Values(BadIdCase{"0"}, BadIdCase{"256"}, BadIdCase{""}));

TEST(DeviceAddressing, TwoHundredFiftyFiveIsAcceptedAndAssignmentNeedsAnOpenPort) {
  Started fx(simDevices({1}));
  fx.get<Button>("Button1").userClick();
  EXPECT_EQ(fx.dialogs.messages(), std::vector<std::string>{"Disconnect."});
  fx.connect();
  fx.newId().userSetText("255");
  fx.get<Button>("Button1").userClick();
  EXPECT_EQ(fx.f().deviceId, 254);
  EXPECT_EQ(fx.f().c.RzComboBox6->text(), "255");
}

TEST(DeviceAddressing, BroadcastOnAndOffWithDeviceTwelve) {
  Started fx(simDevices({12}));
  MainForm& f = fx.f();
  Button& broadcast = fx.get<Button>("RzButton8");
  EXPECT_EQ(broadcast.caption(), "Broadcast\rMode");
  fx.pickDevice(12);
  broadcast.userClick();
  EXPECT_EQ(f.deviceId, 0xFF);
  EXPECT_TRUE(f.broadcastOn);
  EXPECT_EQ(broadcast.color(), colors::kGreen);
  EXPECT_EQ(f.c.Button3->top(), 31);
  EXPECT_EQ(f.c.Image15->top(), 29);
  EXPECT_EQ(f.c.GroupBox2->width(), 215);
  EXPECT_FALSE(f.c.GroupBox3->visible());
  EXPECT_FALSE(f.c.RzComboBox6->visible());
  EXPECT_FALSE(f.c.RzLabel10->visible());

  fx.dialogs.answer(Answer::Yes);
  f.c.Button3->userClick();
  fx.get<Button>("Button1").userClick();  // out of reach behind the exchange lock
  EXPECT_FALSE(f.sendTable.pending(29));
  f.part<DeviceAddressing>()->assign();  // the assignment itself goes to everyone
  EXPECT_EQ(f.deviceId, 0xFF);
  EXPECT_EQ(f.c.RzComboBox6->text(), "12");
  // Queued for the first transmit pass, which the initial-data exchange starts.
  EXPECT_TRUE(f.sendTable.pending(29));
  EXPECT_EQ(f.sendTable.frame(29)[3], 0xFF);
  EXPECT_EQ(f.sendTable.frame(29)[13], 12);
  f.part<DeviceAddressing>()->broadcastSwitch();
  EXPECT_EQ(fx.dialogs.messages().back(), "Please disconnect.");
  EXPECT_EQ(f.deviceId, 0xFF);
  f.connectCommand();

  fx.sent.clear();
  broadcast.userClick();
  EXPECT_EQ(f.deviceId, 11);
  EXPECT_FALSE(f.broadcastOn);
  EXPECT_EQ(broadcast.color(), colors::kLightGrey);
  EXPECT_EQ(f.c.Button3->top(), 55);
  EXPECT_EQ(f.c.Image15->top(), 54);
  EXPECT_EQ(f.c.GroupBox2->width(), 600);
  EXPECT_TRUE(f.c.GroupBox3->visible());
  EXPECT_TRUE(f.c.RzComboBox6->visible());
  const std::vector<std::string> messages = fx.dialogs.messages();
  EXPECT_EQ(messages.front(), "The broadcast mode has been opened.");
  EXPECT_EQ(messages.back(), "The broadcast mode is off.");
  fx.run(2000);  // the button is given back two seconds after the disconnect
  fx.connect();
  ASSERT_FALSE(fx.sent.empty());
  EXPECT_EQ(fx.sentHex().front(), toHex(groupReadFrame(11, 0)));
}

}  // namespace
}  // namespace audiodsp
