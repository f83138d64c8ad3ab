#include "actions/dispatch.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/actions/actions_fixture.h"

namespace {

using DispatchTest = ActionTest;

TEST_F(DispatchTest, UnknownModesAreReportedWithTheStoredNumber) {
  struct Case {
    int stored;
    std::string ending;
  } cases[] = {
      {0, "for  0!"},
      {5, "for  5!"},
      {7, "for  7!"},
      {-1, "for -1!"},
      {65543, "for  7!"},  // as loaded from the file: the low 16 bits
      {-32768, "for -32768!"},
  };
  const std::string file = MakeFile("keep.txt", "keep");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    SettingsRecord.CommandMode = static_cast<int16_t>(c.stored);
    const size_t before = ui_.boxes().size();
    Drop({file});
    ASSERT_EQ(ui_.boxes().size(), before + 1);
    const auto& box = ui_.boxes().back();
    EXPECT_EQ(box.text, "Hey, there isn't any CommandMode " + c.ending);
    EXPECT_EQ(box.caption, "Quorlith");
    EXPECT_EQ(box.style, platform::kBoxOk);
  }
  EXPECT_TRUE(ui_.clipboard().empty());
  EXPECT_EQ(testing_support::ReadFile(file), "keep");
}

TEST_F(DispatchTest, ANewDropReplacesTheWholeList) {
  Drop({"1", "2", "3", "4", "5"});
  Drop({"6", "7"});
  EXPECT_EQ(DropCount, 2);
  EXPECT_EQ(DropList, (std::vector<std::string>{"6", "7"}));
}

// A drop that arrives while a question is shown waits for the running action,
// which keeps working on its own list.
TEST_F(DispatchTest, DropsDuringAQuestionRunAfterwardsInArrivalOrder) {
  SettingsRecord.CommandMode = 2;
  const std::string a = MakeFile("src/a.txt", "A");
  const std::string b = MakeFile("src/b.txt", "B");
  const std::string c = MakeFile("src/c.txt", "C");
  std::vector<std::string> list_seen_during_question;
  ui_.WhileShowing([&] {
    Drop({b});
    Drop({c});
    list_seen_during_question = DropList;
    EXPECT_TRUE(DropActionRunning());
    EXPECT_FALSE(testing_support::Exists(SettingsRecord.CopyDestination + "b.txt"));
  });
  ui_.Answer({platform::kAnswerYes, platform::kAnswerNo, platform::kAnswerYes});
  Drop({a});

  EXPECT_EQ(list_seen_during_question, std::vector<std::string>{a});
  ASSERT_EQ(ui_.boxes().size(), 3u);  // one question per drop, in arrival order
  EXPECT_TRUE(testing_support::Exists(SettingsRecord.CopyDestination + "a.txt"));
  EXPECT_FALSE(testing_support::Exists(SettingsRecord.CopyDestination + "b.txt"));  // answered no
  EXPECT_TRUE(testing_support::Exists(SettingsRecord.CopyDestination + "c.txt"));
  EXPECT_EQ(DropList, std::vector<std::string>{c});
  EXPECT_FALSE(DropActionRunning());
}

}  // namespace
