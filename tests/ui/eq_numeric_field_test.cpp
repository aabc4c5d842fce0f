// The committing numeric fields: reading typed numbers, the key filters, and the snapshot, focus and
// Enter wiring that decides when a field commits.
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "ui/numeric_field.h"

namespace audiodsp {
namespace {

TEST(ParseDecimal, ReadsPlainDecimalsAndRejectsTheRest) {
  struct Case {
    const char* text;
    std::optional<double> value;
  };
  const std::vector<Case> cases = {
      {"50", 50.0}, {"19.7", 19.7}, {"-0.1", -0.1}, {".5", 0.5},  {"5.", 5.0},        {"-", {}},  {".", {}},
      {"", {}},     {"1.2.3", {}},  {"--1", {}},    {"1-", {}},   {"abc", {}},        {" 5", {}}, {"1e3", {}},
      {"-.", {}},   {"0", 0.0},     {"007", 7.0},   {"0.3", 0.3}, {"21900", 21900.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parseDecimal(c.text), c.value);
  }
}

TEST(ParseDecimal, HugeNumbersReadAsTheLargestDoubleAndTinyOnesAsZero) {
  const std::string huge(400, '9');
  EXPECT_EQ(parseDecimal(huge), std::numeric_limits<double>::max());
  EXPECT_EQ(parseDecimal("-" + huge), -std::numeric_limits<double>::max());
  EXPECT_EQ(parseDecimal("0." + std::string(400, '0') + "1"), 0.0);
}

TEST(PassesKey, DigitsPointBackspaceEnterAndTheMinusOnlyForSignedFields) {
  for (char key : std::string("0123456789.\b\r")) {
    SCOPED_TRACE(static_cast<int>(key));
    EXPECT_TRUE(passesKey(key, KeySet::Unsigned));
    EXPECT_TRUE(passesKey(key, KeySet::Signed));
  }
  EXPECT_FALSE(passesKey('-', KeySet::Unsigned));
  EXPECT_TRUE(passesKey('-', KeySet::Signed));
  for (char key : std::string("aZ+, e\t\x1b")) {
    SCOPED_TRACE(static_cast<int>(key));
    EXPECT_FALSE(passesKey(key, KeySet::Unsigned));
    EXPECT_FALSE(passesKey(key, KeySet::Signed));
  }
}

// Two committing fields and a plain button on one form; each commit records the text it found, marked
// "!" when it stored nothing (text unchanged or unreadable).
class CommitFieldTest : public ::testing::Test {
 protected:
  CommitFieldTest() {
    a.setText("1");
    b.setText("2");
    for (Edit* e : {&a, &b}) {
      hookCommitField(*e, snapshot, KeySet::Signed, [this, e] {
        const std::string typed = e->text();
        const std::optional<double> v = readChangedText(*e, snapshot);
        commits.push_back(e->name() + ":" + typed + (v ? "" : "!"));
        return v.has_value();
      });
    }
  }

  Form form{"F"};
  Edit& a = form.add<Edit>("A");
  Edit& b = form.add<Edit>("B");
  Button& other = form.add<Button>("Other");
  FieldSnapshot snapshot;
  std::vector<std::string> commits;
};

TEST_F(CommitFieldTest, FocusEntryTakesTheSnapshotOnlyWhenArmed) {
  form.userFocus(a);
  EXPECT_EQ(snapshot.prevText, "1");
  EXPECT_FALSE(snapshot.armed);
  // The exit arms first; the entry into B then takes B's text.
  form.userFocus(b);
  EXPECT_EQ(snapshot.prevText, "2");
  snapshot.armed = false;
  snapshot.prevText = "kept";
  form.setFocus(a);  // the exit of B arms again, so A's entry takes "1"
  EXPECT_EQ(snapshot.prevText, "1");
}

TEST_F(CommitFieldTest, DroppedKeysNeverReachTheText) {
  a.userClick();
  a.userType("x-2.+5");
  EXPECT_EQ(a.text(), "1-2.5");
}

TEST_F(CommitFieldTest, EnterCommitsAndRenewsTheSnapshotSoASecondEnterFindsItUnchanged) {
  a.userClick();
  a.userType("5\r");
  EXPECT_EQ(a.text(), "15");  // Enter inserts nothing
  EXPECT_EQ(snapshot.prevText, "15");
  a.userKey(kKeyEnter);
  other.userClick();  // focus loss commits once more, against the renewed snapshot
  EXPECT_EQ(commits, (std::vector<std::string>{"A:15", "A:15!", "A:15!"}));
}

TEST_F(CommitFieldTest, UnreadableTextReturnsToTheSnapshotAndKeepsIt) {
  form.userFocus(a);
  a.userSetText("-");
  a.userKey(kKeyEnter);
  EXPECT_EQ(a.text(), "1");
  EXPECT_EQ(snapshot.prevText, "1");
  a.userSetText("1..");
  other.userClick();
  EXPECT_EQ(a.text(), "1");
  EXPECT_EQ(commits, (std::vector<std::string>{"A:-!", "A:1..!"}));
}

}  // namespace
}  // namespace audiodsp
