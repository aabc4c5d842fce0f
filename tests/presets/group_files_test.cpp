#include "presets/group_files.h"

#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "presets/group_file_format.h"
#include "presets/preset_slots.h"
#include "presets_fixture.h"

namespace audiodsp {
namespace {

using testing::connectDemo;
using testing::distinctGroup;
using testing::FormFixture;
using testing::groupText;
using testing::simDevices;
using testing::TempDir;

int countType(const std::vector<std::string>& frames, const std::string& typeAndGroup) {
  int n = 0;
  for (const std::string& h : frames) n += h.substr(8, typeAndGroup.size()) == typeAndGroup;
  return n;
}

TEST(GroupFiles, SaveOneGroupThenLoadItIntoAnotherDevice) {
  TempDir dir;
  FormFixture fx(simDevices({1, 2}));
  fx.open();
  fx.line.device(1)->currentGroup = distinctGroup(9);
  connectDemo(fx);
  MainForm& f = fx.f();
  auto& files = *f.part<GroupFiles>();
  const std::string path = dir.file("backup");
  fx.dialogs.chooseFile(path);
  files.Button6.userClick();
  EXPECT_EQ(fx.sentHex()[0],
            "A5A5A500A2002800000"
            "08AAA");
  fx.run(1000);
  ASSERT_EQ(fx.dialogs.shown().size(), 1u);
  EXPECT_EQ(fx.dialogs.shown()[0].text, "K_7146");
  const std::string saved = TempDir::read(path);
  EXPECT_EQ(saved, groupText(distinctGroup(9)) + "\r\n");
  EXPECT_TRUE(f.chain.Timer1.enabled());
  EXPECT_TRUE(f.c.GroupBox3->enabled());

  // Another device, the same file.
  f.deviceId = 1;
  f.applyImage(groupText(distinctGroup(0)));
  fx.sent.clear();
  fx.dialogs.chooseFile(path);
  files.Button7.userClick();
  ASSERT_GE(fx.sentHex().size(), 2u);
  EXPECT_EQ(fx.sentHex()[0], "A5A5A501A10028000140");
  EXPECT_EQ(fx.line.device(2)->currentGroup, fx.line.device(1)->currentGroup);
  EXPECT_EQ(f.model, decodeImage(distinctGroup(9)));
  EXPECT_TRUE(f.chain.Timer1.enabled());
  EXPECT_FALSE(f.c.RzGroupBox1->visible());
}

TEST(GroupFiles, SingleSaveWithoutAnswerResumesPollingAndSaysSo) {
  FormFixture fx;
  fx.open();
  connectDemo(fx);
  MainForm& f = fx.f();
  fx.line.setSilent(1, true);
  f.part<GroupFiles>()->Button6.userClick();
  EXPECT_FALSE(f.chain.Timer1.enabled());
  fx.run(GroupFiles::kSingleSaveTimeoutMs);
  EXPECT_EQ(fx.dialogs.messages(), std::vector<std::string>{"overtime，try again."});
  EXPECT_TRUE(f.chain.Timer1.enabled());
  EXPECT_TRUE(f.chain.sendTimer.enabled());
  EXPECT_FALSE(f.flags.singleSaveMode);
}

TEST(GroupFiles, BankSaveChangeAndLoadRestoresAllTwentySlots) {
  TempDir dir;
  FormFixture fx;
  fx.open();
  SimDevice& dev = *fx.line.device(1);
  for (int k = 0; k < 20; ++k) dev.storedGroups[k] = distinctGroup(k);
  const auto original = dev.storedGroups;
  connectDemo(fx);
  MainForm& f = fx.f();
  auto& files = *f.part<GroupFiles>();
  const std::string path = dir.file("bank");
  fx.dialogs.chooseFile(path);
  files.Button4.userClick();
  fx.run(15000);
  ASSERT_EQ(fx.dialogs.shown().size(), 1u);
  EXPECT_EQ(fx.dialogs.shown()[0].text, "8K_7146");
  std::string expected;
  for (int k = 0; k < 20; ++k)
    expected += groupText(original[k], 0, kCmdStoredGroup, uint8_t(k + 1)) + "\r\n";
  EXPECT_EQ(TempDir::read(path), expected);
  EXPECT_EQ(countType(fx.sentHex(), "A2"), 20 + countType(fx.sentHex(), "A2002B"));

  for (SimGroup& g : dev.storedGroups) g = distinctGroup(50);
  dev.presetNames[1] = SimName{'N', 'e', 'w'};
  fx.sent.clear();
  fx.dialogs.chooseFile(path);
  files.Button5.userClick();
  fx.run(35000);  // one group a second, plus the time each takes on the wire
  EXPECT_EQ(dev.storedGroups, original);
  const auto sent = fx.sentHex();
  for (int n = 1; n <= 20; ++n) {
    char header[32];
    std::snprintf(header, sizeof header, "A5A5A500A1%02X29000140", n);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), header), 1) << n;
  }
  EXPECT_EQ(f.part<PresetSlots>()->loadList.item(1), "Usr1:New");  // names asked for at the end
  EXPECT_TRUE(f.c.GroupBox3->enabled());
  EXPECT_TRUE(fx.dialogs.messages().empty());
}

TEST(GroupFiles, LostReplyEndsTheBankSaveByTimeOutWithNothingSaved) {
  FormFixture fx;
  fx.open();
  connectDemo(fx);
  MainForm& f = fx.f();
  auto& files = *f.part<GroupFiles>();
  files.Button4.userClick();  // no file answer scripted: a save dialog would fail the test
  fx.run(13900);              // the 19th reply is in, the 20th request not yet out
  fx.line.setSilent(1, true);
  fx.run(2000);
  EXPECT_TRUE(fx.dialogs.messages().empty());
  fx.run(200);
  EXPECT_EQ(fx.dialogs.messages(), std::vector<std::string>{"overtime，try again."});
  EXPECT_EQ(files.RzMemo1.lineCount(), 19);
  EXPECT_FALSE(f.c.RzGroupBox1->visible());
  EXPECT_TRUE(f.c.GroupBox3->enabled());
  EXPECT_TRUE(f.chain.Timer1.enabled());
}

struct DamagedCase {
  const char* what;
  bool bank;  // which loader
  std::string content;
  const char* message;  // nullptr: no message, nothing sent
};

std::string line664(char fill = '0') {
  return "A5A5A500520028000140" + std::string(640, fill) + "00AA";
}
std::string bankOf(int lines, const std::string& end = "\r\n") {
  std::string s;
  for (int i = 0; i < lines; ++i) s += line664() + end;
  return s;
}

TEST(GroupFiles, DamagedFilesAreRefusedAndNothingIsSent) {
  std::string blank = line664(), letterG = line664();
  blank[100] = ' ';
  letterG[101] = 'G';
  const DamagedCase cases[] = {
      {"bank file for one group", false, bankOf(20), kFileDamaged},
      {"group file for the bank", true, bankOf(1), kFileDamaged},
      {"21st empty line", true, bankOf(20) + "\r\n", kFileDamaged},
      {"blank in a group", false, blank + "\r\n", kFileDamaged},
      {"G in a group", false, letterG, kFileDamaged},
      {"G in a bank line", true, bankOf(19) + letterG + "\r\n", kFileDamaged},
      {"one character short", false, line664().substr(1), kFileDamaged},
      {"empty file for one group", false, "", kFileDamaged},
      {"empty file for the bank", true, "", nullptr},
      {"not text", false, line664().replace(30, 1, std::string(1, '\0')), kFileDamaged},
      {"far too large", true, std::string(2 * 1024 * 1024, 'A'), kFileDamaged},
  };
  for (const DamagedCase& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    FormFixture fx;
    fx.open();
    connectDemo(fx);
    MainForm& f = fx.f();
    auto& files = *f.part<GroupFiles>();
    fx.dialogs.chooseFile(dir.write("file", c.content));
    (c.bank ? files.Button5 : files.Button7).userClick();
    fx.run(1500);
    EXPECT_EQ(fx.dialogs.messages(),
              c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    EXPECT_EQ(countType(fx.sentHex(), "A1"), 0);
    EXPECT_TRUE(f.chain.Timer1.enabled());
    EXPECT_TRUE(f.c.GroupBox3->enabled());
  }
}

TEST(GroupFiles, SplitLowerCaseGroupLoadsWithItsBytesUnchanged) {
  TempDir dir;
  FormFixture fx;
  fx.open();
  connectDemo(fx);
  std::string text = groupText(distinctGroup(4), 0x33);  // the file's own ID plays no part
  text.replace(20, 2, "07");                             // sent as it stands
  std::string lower;
  for (char ch : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  fx.dialogs.chooseFile(dir.write("split", lower.substr(0, 300) + "\n" + lower.substr(300) + "\r\n"));
  fx.f().part<GroupFiles>()->Button7.userClick();
  SimGroup expected = distinctGroup(4);
  expected[0] = 0x07;
  EXPECT_EQ(fx.line.device(1)->currentGroup, expected);
  EXPECT_TRUE(fx.dialogs.messages().empty());
}

TEST(GroupFiles, FailedWritesNameTheFileAndKeepTheOldOne) {
  TempDir dir;
  FormFixture fx;
  fx.open();
  connectDemo(fx);
  MainForm& f = fx.f();
  auto& files = *f.part<GroupFiles>();
  const std::string existing = dir.write("old", "previous contents\r\n");

  // The folder is gone.
  const std::string gone = dir.file("missing/K_7146");
  fx.dialogs.chooseFile(gone);
  files.Button6.userClick();
  fx.run(1000);
  ASSERT_EQ(fx.dialogs.messages().size(), 1u);
  EXPECT_EQ(fx.dialogs.messages()[0], saveFailedText(gone, "No such file or directory"));
  EXPECT_TRUE(f.chain.Timer1.enabled());

  // The disk takes no more than 100 bytes: the write fails half-way.
  fx.dialogs.clearShown();
  fx.dialogs.chooseFile(existing);
  fx.dialogs.answer(Answer::Yes);  // replace it
  rlimit before{};
  ::getrlimit(RLIMIT_FSIZE, &before);
  const rlimit small{100, before.rlim_max};
  auto* oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &small);
  files.Button6.userClick();
  fx.run(1000);
  ::setrlimit(RLIMIT_FSIZE, &before);
  ::signal(SIGXFSZ, oldHandler);
  ASSERT_EQ(fx.dialogs.messages().size(), 1u);
  EXPECT_EQ(fx.dialogs.messages()[0], saveFailedText(existing, "File too large"));
  EXPECT_EQ(TempDir::read(existing), "previous contents\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no stray file
}

}  // namespace
}  // namespace audiodsp
