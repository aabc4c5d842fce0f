#include "presets/preset_slots.h"

#include <gtest/gtest.h>

#include "presets_fixture.h"

namespace audiodsp {
namespace {

using testing::connectDemo;
using testing::FormFixture;

SimName nameOf(const std::string& s) {
  SimName n{};
  std::copy(s.begin(), s.end(), n.begin());
  return n;
}

TEST(PresetSlots, NamesReplyFillsBothListsAndTheNameField) {
  FormFixture fx;
  fx.open();
  fx.line.device(1)->presetNames[0] = nameOf("Stage");
  fx.line.device(1)->presetNames[2] = nameOf("Live");
  fx.line.device(1)->presetNames[19] = nameOf("ABCDEFGHIJKLMNOPQRST");  // all 20 bytes used
  connectDemo(fx);
  auto& slots = *fx.f().part<PresetSlots>();
  ASSERT_EQ(slots.loadList.itemCount(), 8);
  EXPECT_EQ(slots.loadList.item(0), "Usr0:Stage");
  EXPECT_EQ(slots.loadList.item(2), "Usr2:Live");
  EXPECT_EQ(slots.loadList.item(4), "Pre4:");
  EXPECT_EQ(slots.loadList.itemIndex(), 0);
  EXPECT_EQ(slots.saveList.item(5), "Pre5:");
  EXPECT_EQ(slots.nameField.text(), "Stage");
  EXPECT_EQ(slots.presetNames()[2], std::string("Live") + std::string(16, '\0'));
  EXPECT_EQ(slots.presetNames()[19], "ABCDEFGHIJKLMNOPQRST");
  EXPECT_TRUE(fx.f().chain.Timer1.enabled());
}

TEST(PresetSlots, SaveTrimsSendsTheStoreFrameAndReportsTheAcknowledgement) {
  FormFixture fx;
  fx.open();
  connectDemo(fx);
  MainForm& f = fx.f();
  auto& slots = *f.part<PresetSlots>();
  slots.loadList.setItemIndex(2);
  slots.saveList.userSelect(5);
  slots.nameField.userSetText(" Band 1 ");
  slots.saveButton.userClick();
  ASSERT_FALSE(fx.sent.empty());
  std::vector<uint8_t> name{'B', 'a', 'n', 'd', ' ', '1'};
  name.resize(20, 0);
  EXPECT_EQ(fx.sentHex()[0], toHex(buildFrame(0, 0xA1, 0x06, 0x27, 0x00, name)));
  EXPECT_EQ(fx.sentHex()[0].substr(10, 2), "06");
  EXPECT_EQ(slots.nameField.text(), "Band 1");
  EXPECT_EQ(slots.loadList.item(5), "Pre5:Band 1");
  EXPECT_EQ(slots.loadList.itemIndex(), 2);
  EXPECT_TRUE(f.chain.Timer1.enabled());  // resumed 100 ms after the frame, whatever comes back
  fx.run(500);
  EXPECT_EQ(fx.dialogs.messages(), std::vector<std::string>{"Successfully save."});
  EXPECT_EQ(fx.line.device(1)->presetNames[5], nameOf("Band 1"));
  // The settings block is read again after the acknowledgement.
  fx.run(1000);
  bool systemRead = false;
  for (const std::string& h : fx.sentHex()) systemRead |= h.substr(8, 6) == "A20021";
  EXPECT_TRUE(systemRead);
}

TEST(PresetSlots, NameFieldFiltersKeysEnterSavesAndTheFirstClickSelectsAll) {
  FormFixture fx;
  fx.open();
  connectDemo(fx);
  auto& slots = *fx.f().part<PresetSlots>();
  slots.nameField.userSetText("");
  slots.nameField.userType("Ab~\x01");
  slots.nameField.userKey(static_cast<char>(0xE4));  // first byte of a Chinese character
  EXPECT_EQ(slots.nameField.text(), "Ab~");
  slots.nameField.userKey(kKeyEnter);
  EXPECT_EQ(slots.nameField.text(), "Ab~");
  ASSERT_EQ(fx.sentHex().size(), 1u);
  EXPECT_EQ(fx.sentHex()[0].substr(8, 6), "A10127");
  fx.f().c.RzComboBox6->userClick();  // focus leaves the field
  slots.nameField.userClickAt(1);
  EXPECT_EQ(slots.nameField.selLength(), 3u);
  slots.nameField.userClickAt(1);
  EXPECT_EQ(slots.nameField.selLength(), 0u);
}

TEST(PresetSlots, LoadRecallsTheStoredGroupIntoTheEditor) {
  FormFixture fx;
  fx.open();
  connectDemo(fx);
  MainForm& f = fx.f();
  SimDevice& dev = *fx.line.device(1);
  dev.storedGroups[3] = testing::distinctGroup(7);
  auto& slots = *f.part<PresetSlots>();
  slots.loadList.userSelect(3);
  slots.loadButton.userClick();
  EXPECT_EQ(fx.sentHex()[0],
            "A5A5A500A20428000000"
            "8E"
            "AA");
  EXPECT_TRUE(f.c.RzGroupBox1->visible());
  EXPECT_FALSE(f.c.RzGroupBox4->enabled());
  fx.run(2000);
  EXPECT_EQ(dev.currentGroup, dev.storedGroups[3]);
  EXPECT_EQ(f.model, decodeImage(dev.storedGroups[3]));
  EXPECT_FALSE(f.c.RzGroupBox1->visible());
  EXPECT_TRUE(f.c.RzGroupBox4->enabled());
  EXPECT_FALSE(slots.Timer22.enabled());
  EXPECT_EQ(dev.systemBlock[0], 4);
  bool systemRead = false;
  for (const std::string& h : fx.sentHex()) systemRead |= h.substr(8, 6) == "A20021";
  EXPECT_TRUE(systemRead);
  EXPECT_TRUE(fx.dialogs.messages().empty());
}

TEST(PresetSlots, LoadWithoutAnswerTimesOutAndKeepsTheModel) {
  FormFixture fx;
  fx.open();
  connectDemo(fx);
  MainForm& f = fx.f();
  const ParamModel before = f.model;
  fx.line.device(1)->storedGroups[0] = testing::distinctGroup(3);
  fx.line.setSilent(1, true);
  f.part<PresetSlots>()->loadButton.userClick();
  fx.run(9900);
  EXPECT_TRUE(fx.dialogs.messages().empty());
  EXPECT_EQ(f.c.RzProgressBar1->percent(), 100);
  fx.run(200);
  EXPECT_EQ(fx.dialogs.messages(), std::vector<std::string>{"overtime，try again."});
  EXPECT_FALSE(f.flags.presetLoadPending);
  EXPECT_FALSE(f.c.RzGroupBox1->visible());
  EXPECT_TRUE(f.c.GroupBox1->enabled());
  EXPECT_TRUE(f.chain.Timer1.enabled());
  EXPECT_EQ(f.model, before);
}

TEST(PresetSlots, NothingHappensWithoutAPort) {
  FormFixture fx;
  MainForm& f = fx.open();
  auto& slots = *f.part<PresetSlots>();
  slots.loadButton.userClick();
  slots.saveButton.userClick();
  EXPECT_TRUE(fx.sent.empty());
  EXPECT_FALSE(f.flags.presetLoadPending);
  EXPECT_FALSE(f.flags.saveAckPending);
}

}  // namespace
}  // namespace audiodsp
