#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/memo.h"
#include "platform/scripted_dialogs.h"

namespace audiodsp {
namespace {

namespace fs = std::filesystem;

// A fresh directory per test, removed afterwards.
class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("audiodsp_platform_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  static std::string read(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void write(const std::string& p, const std::string& content) {
    std::ofstream(p, std::ios::binary) << content;
  }
  fs::path dir_;
};

struct SplitCase {
  std::string text;
  std::vector<std::string> lines;
};

TEST(Lines, SplitAtEveryKindOfLineBreakWithoutATrailingEmptyLine) {
  const SplitCase cases[] = {
      {"", {}},
      {"A5A5A5", {"A5A5A5"}},
      {"A5A5A5\r\n", {"A5A5A5"}},
      {"one\r\ntwo\r\n", {"one", "two"}},
      {"one\ntwo\rthree", {"one", "two", "three"}},
      {"one\r\n\r\n", {"one", ""}},  // an empty last line still counts
      {"\r\n", {""}},
      {"a\n\rb", {"a", "", "b"}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(splitLines(c.text), c.lines);
  }
}

using MemoFiles = TempDir;

TEST_F(MemoFiles, SavesEveryLineWithCrLfAndLoadsItBack) {
  Form form("Form1");
  Memo& memo = form.add<Memo>("RzMemo1");
  memo.addLine("A5A5A500520028");
  memo.addLine(std::string("\xB0\xA1", 2));  // 8-bit text goes out byte for byte
  ASSERT_TRUE(memo.saveToFile(path("K_7146")));
  EXPECT_EQ(read(path("K_7146")), std::string("A5A5A500520028\r\n\xB0\xA1\r\n", 20));
  Memo& again = form.add<Memo>("RzMemo2");
  ASSERT_TRUE(again.loadFromFile(path("K_7146")));
  EXPECT_EQ(again.lines(), memo.lines());
  EXPECT_EQ(again.text(), memo.text());
}

TEST_F(MemoFiles, LoadsFilesWrittenWithOtherLineEnds) {
  write(path("bank"), "line1\nline2\n\n");
  Form form("Form1");
  Memo& memo = form.add<Memo>("RzMemo1");
  ASSERT_TRUE(memo.loadFromFile(path("bank")));
  EXPECT_EQ(memo.lines(), (std::vector<std::string>{"line1", "line2", ""}));
}

TEST_F(MemoFiles, FailuresReportFalseAndKeepTheLines) {
  Form form("Form1");
  Memo& memo = form.add<Memo>("RzMemo1");
  memo.setLines({"kept"});
  EXPECT_FALSE(memo.loadFromFile(path("missing")));
  EXPECT_FALSE(memo.saveToFile(path("no/such/dir/file")));
  EXPECT_EQ(memo.lines(), (std::vector<std::string>{"kept"}));
}

TEST(ScriptedDialogs, RecordsEveryTextInOrderAndAnswersFromTheScript) {
  ScriptedDialogs dialogs;
  Form about("Form4", "BTL Mode");
  dialogs.answer(Answer::Yes);
  dialogs.answer(Answer::No);
  dialogs.message("No port.");
  EXPECT_EQ(dialogs.question("Notice", "Switch to BTL mode?", DialogIcon::Question, Answer::No), Answer::Yes);
  EXPECT_EQ(dialogs.question("Notice", "Cancel the BTL model?", DialogIcon::Question, Answer::No),
            Answer::No);
  dialogs.message("overtime\xEF\xBC\x8Ctry again.");
  dialogs.showModal(about);
  EXPECT_TRUE(dialogs.scriptDone());
  EXPECT_EQ(dialogs.texts(),
            (std::vector<std::string>{"No port.", "Switch to BTL mode?", "Cancel the BTL model?",
                                      "overtime\xEF\xBC\x8Ctry again."}));
  EXPECT_EQ(dialogs.messages(), (std::vector<std::string>{"No port.", "overtime\xEF\xBC\x8Ctry again."}));
  ASSERT_EQ(dialogs.shown().size(), 5u);
  EXPECT_EQ(dialogs.shown()[1], (DialogRecord{DialogRecord::Kind::Question, "Notice", "Switch to BTL mode?",
                                              DialogIcon::Question, Answer::No}));
  EXPECT_EQ(dialogs.shown()[4].kind, DialogRecord::Kind::Modal);
  EXPECT_EQ(dialogs.shown()[4].title, "BTL Mode");
}

TEST(ScriptedDialogs, AnUnscriptedQuestionOrFileDialogFailsLoudly) {
  ScriptedDialogs dialogs;
  try {
    dialogs.question("Notice", "Switch to BTL mode?", DialogIcon::Question, Answer::No);
    FAIL() << "no exception";
  } catch (const UnscriptedDialog& e) {
    EXPECT_NE(std::string(e.what()).find("Switch to BTL mode?"), std::string::npos);
  }
  EXPECT_THROW(dialogs.openFile({"", "K_7146", "K_7146\xE6\x96\x87\xE6\xA1\xA3", "", ""}), UnscriptedDialog);
  EXPECT_THROW(dialogs.saveFile({"", "8K_7146", "", "", ""}), UnscriptedDialog);
  // What was shown is still on record.
  EXPECT_EQ(dialogs.shown().size(), 3u);
}

using SaveDialog = TempDir;

TEST_F(SaveDialog, ExistingFileAsksBeforeReplacingAndNoChoosesAgain) {
  write(path("K_7146"), "old");
  ScriptedDialogs dialogs;
  const FileDialogSpec spec{"", "K_7146", "K_7146\xE6\x96\x87\xE6\xA1\xA3", "", ""};
  dialogs.chooseFile(path("K_7146"));
  dialogs.answer(Answer::No);
  dialogs.chooseFile(path("K_7146"));
  dialogs.answer(Answer::Yes);
  EXPECT_EQ(dialogs.saveFile(spec), path("K_7146"));
  EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{replaceQuestionText(path("K_7146")),
                                                       replaceQuestionText(path("K_7146"))}));
  EXPECT_EQ(dialogs.texts()[0], "K_7146 already exists.\nDo you want to replace it?");
  EXPECT_EQ(dialogs.shown()[0].kind, DialogRecord::Kind::SaveFile);
  EXPECT_EQ(dialogs.shown()[0].text, "K_7146");
  EXPECT_TRUE(dialogs.scriptDone());
}

TEST_F(SaveDialog, NewFileAndCancelAskNothing) {
  ScriptedDialogs dialogs;
  const FileDialogSpec spec{"", "8K_7146", "", "", ""};
  dialogs.chooseFile(path("bank"));
  dialogs.cancelFile();
  EXPECT_EQ(dialogs.saveFile(spec), path("bank"));
  EXPECT_EQ(dialogs.saveFile(spec), std::nullopt);
  EXPECT_TRUE(dialogs.texts().empty());
}

TEST_F(SaveDialog, NameWithoutExtensionGetsTheDefaultOne) {
  write(path("trace.txt"), "old");
  ScriptedDialogs dialogs;
  const FileDialogSpec spec{"Save trace", "trace", "Text files", "*.txt", "txt"};
  dialogs.chooseFile(path("trace"));
  dialogs.answer(Answer::Yes);
  dialogs.chooseFile(path("other.log"));
  EXPECT_EQ(dialogs.saveFile(spec), path("trace.txt"));
  EXPECT_EQ(dialogs.texts(),
            (std::vector<std::string>{"trace.txt already exists.\nDo you want to replace it?"}));
  EXPECT_EQ(dialogs.saveFile(spec), path("other.log"));
}

TEST(ScriptedDialogs, OpenFileAnswersPathOrCancel) {
  ScriptedDialogs dialogs;
  dialogs.chooseFile("/tmp/K_7146");
  dialogs.cancelFile();
  const FileDialogSpec spec{"", "K_7146", "K_7146\xE6\x96\x87\xE6\xA1\xA3", "", ""};
  EXPECT_EQ(dialogs.openFile(spec), "/tmp/K_7146");
  EXPECT_EQ(dialogs.openFile(spec), std::nullopt);
  EXPECT_TRUE(dialogs.texts().empty());  // file dialogs show no message text
  EXPECT_EQ(dialogs.shown().size(), 2u);
}

}  // namespace
}  // namespace audiodsp
