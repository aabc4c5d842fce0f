#include "presets/initial_data.h"

#include <gtest/gtest.h>

#include "presets/group_file_format.h"
#include "presets_fixture.h"

namespace audiodsp {
namespace {

using testing::connectDemo;
using testing::distinctGroup;
using testing::FormFixture;
using testing::groupText;
using testing::simDevices;
using testing::TempDir;

void expectAllDevicesShow(FormFixture& fx, const SimGroup& group) {
  for (SimDevice& d : fx.line.devices()) EXPECT_EQ(d.currentGroup, group) << d.displayedId();
  EXPECT_EQ(fx.f().model, decodeImage(group));
  const auto sent = fx.sentHex();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), "A5A5A5FFA10028000140"), 2);
  EXPECT_EQ(std::count(sent.begin(), sent.end(), "A5A5A5FFA2002B00000076AA"), 2);
}

TEST(InitialData, FromDeviceTwelveToEveryDeviceInBroadcast) {
  FormFixture fx(simDevices({12, 20, 30}));
  fx.open();
  fx.line.device(12)->currentGroup = distinctGroup(12);
  connectDemo(fx, kBroadcastAddress);
  MainForm& f = fx.f();
  ASSERT_TRUE(f.c.RzGroupBox16->visible());
  auto& init = *f.part<InitialData>();
  init.RzEdit3.userSetText("");
  init.RzEdit3.userType("1x2");
  EXPECT_EQ(init.RzEdit3.text(), "12");
  init.RzEdit3.userKey(kKeyEnter);
  EXPECT_EQ(fx.sentHex()[0],
            "A5A5A50BA20028000000"
            "81AA");
  EXPECT_FALSE(f.c.RzGroupBox16->visible());
  fx.run(8000);
  expectAllDevicesShow(fx, distinctGroup(12));
  EXPECT_TRUE(f.c.GroupBox1->enabled());
  EXPECT_FALSE(f.c.RzGroupBox1->visible());
  EXPECT_TRUE(fx.dialogs.messages().empty());
}

TEST(InitialData, FromAFileToEveryDeviceInBroadcast) {
  TempDir dir;
  FormFixture fx(simDevices({3, 4, 5}));
  fx.open();
  connectDemo(fx, kBroadcastAddress);
  MainForm& f = fx.f();
  fx.dialogs.chooseFile(dir.write("g", groupText(distinctGroup(2), 0x40) + "\r\n"));
  f.part<InitialData>()->Button11.userClick();
  fx.run(5000);
  expectAllDevicesShow(fx, distinctGroup(2));
  EXPECT_FALSE(f.c.RzGroupBox16->visible());
  EXPECT_TRUE(f.c.GroupBox1->enabled());
}

TEST(InitialData, RefusalsKeepTheBoxOpen) {
  TempDir dir;
  FormFixture fx(simDevices({3}));
  fx.open();
  connectDemo(fx, kBroadcastAddress);
  MainForm& f = fx.f();
  auto& init = *f.part<InitialData>();
  for (const char* typed : {"0", "256", ""}) {
    SCOPED_TRACE(typed);
    fx.dialogs.clearShown();
    init.RzEdit3.userSetText(typed);
    init.Button10.userClick();
    EXPECT_EQ(fx.dialogs.messages(), std::vector<std::string>{kBadIdMessage});
    EXPECT_EQ(init.RzEdit3.text(), "1");
  }
  for (const std::string& content : {std::string(), std::string("A5A5\r\n")}) {
    fx.dialogs.clearShown();
    fx.dialogs.chooseFile(dir.write("bad", content));
    init.Button11.userClick();
    EXPECT_EQ(fx.dialogs.messages(), std::vector<std::string>{kFileDamaged});
  }
  EXPECT_TRUE(f.c.RzGroupBox16->visible());
  EXPECT_TRUE(fx.sent.empty());
}

TEST(InitialData, SilentSourceTimesOutAndALateAnswerStillBringsTheDevicesTogether) {
  FormFixture fx(simDevices({7, 8}));
  fx.open();
  fx.line.device(7)->currentGroup = distinctGroup(7);
  connectDemo(fx, kBroadcastAddress);
  MainForm& f = fx.f();
  auto& init = *f.part<InitialData>();
  fx.line.setSilent(7, true);
  init.RzEdit3.userSetText("7");
  init.Button10.userClick();
  fx.run(1600);
  EXPECT_EQ(fx.dialogs.messages(), std::vector<std::string>{kNoSourceMessage});
  EXPECT_TRUE(f.c.RzGroupBox16->visible());
  EXPECT_TRUE(f.flags.initialDataPending);
  // The device comes back and answers a repeated request of the same group.
  fx.line.setSilent(7, false);
  f.chain.writeNow(groupReadFrame(6, 0));
  fx.run(8000);
  for (SimDevice& d : fx.line.devices()) EXPECT_EQ(d.currentGroup, distinctGroup(7));
}

}  // namespace
}  // namespace audiodsp
