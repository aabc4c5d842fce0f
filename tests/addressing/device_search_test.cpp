#include "addressing/device_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/frame_codec.h"
#include "support/form_fixture.h"

namespace audiodsp {
namespace {

using testing::FormFixture;
using testing::simDevices;

constexpr const char* kSecondPath = "/dev/audiodsp-second";

// The fixture's line on COM3 and a second simulated line on COM12.
struct TwoLines : FormFixture {
  explicit TwoLines(std::vector<int> onCom3, std::vector<int> onCom12)
      : FormFixture(simDevices(std::move(onCom3)),
                    {{"COM3", "/dev/audiodsp-demo", ""}, {"COM12", kSecondPath, ""}}),
        line2(simDevices(std::move(onCom12))),
        wire2(loop, line2) {
    wire2.onWire = [this](const WireEvent& e) {
      if (e.fromHost) sent2.push_back(e);
    };
    open();
    f().link.routePath(kSecondPath, wire2);
  }
  DeviceSearch& search() { return *f().part<DeviceSearch>(); }
  std::vector<std::string> result() { return get<Memo>("Memo1").lines(); }
  std::string label() { return get<Label>("RzLabel6").caption(); }

  VirtualLine line2;
  SimSerialDevice wire2;
  std::vector<WireEvent> sent2;
};

std::string probe(uint8_t address) {
  return toHex(pollFrame(address));
}

TEST(StartupSearch, ProbesTheFirstTenAddressesAndListsTheDevicesFound) {
  FormFixture fx(simDevices({1, 2, 7}));
  MainForm& f = fx.open();
  fx.run(10 + 10 * 520);

  const std::vector<std::string> hex = fx.sentHex();
  ASSERT_EQ(hex.size(), 10u);
  EXPECT_EQ(hex[0], "A5A5A500A2002B00000089AA");
  EXPECT_EQ(hex[9], "A5A5A509A2002B00000080AA");
  EXPECT_GE(fx.sent[0].startMicros, 510'000u);
  for (size_t a = 0; a < hex.size(); ++a) {
    SCOPED_TRACE(a);
    EXPECT_EQ(hex[a], probe(static_cast<uint8_t>(a)));
    if (a > 0) {
      const uint64_t gap = fx.sent[a].startMicros - fx.sent[a - 1].endMicros;
      EXPECT_GE(gap, 499'000u);  // the wait starts on the next whole millisecond
      EXPECT_LT(gap, 501'100u);
    }
  }
  EXPECT_EQ(fx.get<Label>("RzLabel6").caption(), "search result :     ");
  EXPECT_EQ(fx.get<Memo>("Memo1").lines(),
            std::vector<std::string>{"COM3--Device ID1 , COM3--Device ID2 , COM3--Device ID7 , "});
  EXPECT_TRUE(fx.get<Memo>("Memo1").visible());
  for (Control* shown : {static_cast<Control*>(f.c.GroupBox1), static_cast<Control*>(f.c.GroupBox2),
                         static_cast<Control*>(f.c.GroupBox3), static_cast<Control*>(f.c.FileMenu),
                         static_cast<Control*>(f.c.HelpMenu), static_cast<Control*>(f.c.RzGroupBox2)})
    EXPECT_TRUE(shown->visible()) << shown->name();
  EXPECT_FALSE(f.c.RzGroupBox3->visible());
  EXPECT_EQ(f.currentPanel, kSearchResultPanel);
  EXPECT_FALSE(f.portOpen());
  EXPECT_FALSE(f.flags.searchRunning);
  EXPECT_EQ(f.link.portNumber(), -1);
  fx.run(10'000);
  EXPECT_EQ(fx.sent.size(), 10u);  // it runs once
}

TEST(StartupSearch, EmptyPortListSendsNothingAndFindsNone) {
  FormFixture fx(simDevices({1}), {});
  fx.open();
  fx.run(1000);
  EXPECT_TRUE(fx.sent.empty());
  EXPECT_EQ(fx.get<Label>("RzLabel6").caption(), "search result :none     ");
  EXPECT_FALSE(fx.get<Memo>("Memo1").visible());
  EXPECT_TRUE(fx.f().c.GroupBox2->visible());
}

TEST(StartupSearch, HitsAboveComTenAreRecordedButNotListed) {
  TwoLines fx({2}, {5});
  fx.run(10 + 20 * 520 + 200);
  EXPECT_EQ(fx.sent2.size(), 10u);
  EXPECT_TRUE(fx.search().hit(12, 4));
  EXPECT_TRUE(fx.search().hit(3, 1));
  EXPECT_EQ(fx.result(), std::vector<std::string>{"COM3--Device ID2 , "});
}

TEST(FullSearch, BothPortsAllAddressesFiveEntriesToALineAfterTheFirstFour) {
  TwoLines fx({1, 2, 3, 200}, {5, 12, 256 - 1});
  fx.run(6000);
  MainForm& f = fx.f();
  fx.sent.clear();
  fx.sent2.clear();
  fx.get<Button>("Button8").userClick();
  EXPECT_EQ(fx.sent2.size(), 256u);
  EXPECT_EQ(fx.sent.size(), 256u);
  EXPECT_EQ(fx.sentHex()[255], "A5A5A5FFA2002B00000076AA");
  EXPECT_EQ(fx.result(), (std::vector<std::string>{
                             "COM3--Device ID1 , COM3--Device ID2 , COM3--Device ID3 , COM3--Device ID200 , ",
                             "COM12--Device ID5 , COM12--Device ID12 , COM12--Device ID255 , ",
                         }));
  EXPECT_EQ(fx.label(), "search result :     ");
  EXPECT_FALSE(f.portOpen());
  EXPECT_EQ(f.c.RzProgressBar2->percent(), 0);
  EXPECT_FALSE(f.c.RzGroupBox3->visible());
  EXPECT_TRUE(f.c.RzGroupBox2->visible());
  EXPECT_TRUE(f.c.GroupBox1->enabled());
  EXPECT_TRUE(f.c.FileMenu->enabled());
}

TEST(FullSearch, CancelDuringTheFirstPortListsWhatWasFoundAndUnlocks) {
  TwoLines fx({2, 9}, {5});
  fx.run(6000);
  MainForm& f = fx.f();
  fx.sent.clear();
  fx.sent2.clear();
  bool lockedAtCancel = false;
  // COM3, the last entry of the list (COM12 sorts first), comes first; cancel as its sixth probe
  // goes out.
  fx.wire.onWire = [&](const WireEvent& e) {
    if (!e.fromHost) return;
    fx.sent.push_back(e);
    if (fx.sent.size() != 6) return;
    lockedAtCancel = !f.c.GroupBox2->enabled() && !f.c.HelpMenu->enabled();
    fx.get<Button>("Button2").userClick();
  };
  fx.get<Button>("Button8").userClick();
  EXPECT_TRUE(lockedAtCancel);
  EXPECT_EQ(fx.sent.size(), 6u);
  EXPECT_TRUE(fx.sent2.empty());  // COM12 is never opened
  EXPECT_EQ(fx.result(), std::vector<std::string>{"COM3--Device ID2 , "});
  EXPECT_TRUE(f.c.GroupBox2->enabled());
  EXPECT_FALSE(f.portOpen());
}

TEST(FullSearch, WhileConnectedAsksToDisconnectAndChangesNothing) {
  FormFixture fx(simDevices({1}));
  MainForm& f = fx.open();
  fx.run(6000);
  f.c.Button3->userClick();
  fx.run(2000);
  fx.sent.clear();
  fx.dialogs.clearShown();
  fx.get<Button>("Button8").userClick();
  EXPECT_EQ(fx.dialogs.messages(), std::vector<std::string>{"please disconnect and try again."});
  EXPECT_TRUE(f.portOpen());
  EXPECT_TRUE(f.c.GroupBox2->enabled());
  fx.run(1000);
  for (const std::string& s : fx.sentHex()) EXPECT_EQ(s, probe(0));  // the usual polls only
  EXPECT_EQ(fx.get<Memo>("Memo1").lines(), std::vector<std::string>{"COM3--Device ID1 , "});
}

TEST(SearchResult, ButtonReopensTheBoxAsPanelFour) {
  FormFixture fx(simDevices({1}));
  MainForm& f = fx.open();
  fx.run(6000);
  f.c.RzButton41->userClick();
  EXPECT_FALSE(f.c.RzGroupBox2->visible());
  fx.get<Button>("Button9").userClick();
  EXPECT_TRUE(f.c.RzGroupBox2->visible());
  EXPECT_FALSE(f.c.RzGroupBox8->visible());
  EXPECT_EQ(f.currentPanel, kSearchResultPanel);
}

}  // namespace
}  // namespace audiodsp
