#include "actions/dispatch.h"

#include "tests/actions/actions_fixture.h"

namespace {

using DispatchTest = ActionTest;

TEST_F(DispatchTest, UnknownModesAreReportedWithTheStoredNumber) {
  const std::string file = MakeFile("keep.txt", "keep");
  for (int16_t mode : {0, 5, -1, -32768}) {
    SCOPED_TRACE(mode);
    SettingsRecord.CommandMode = mode;
    SubmitDrop({file});
    ASSERT_FALSE(ui_.boxes().empty());
    EXPECT_EQ(ui_.boxes().back().caption, "Quorlith");
    EXPECT_EQ(ui_.boxes().back().style, platform::kBoxOk);
  }
  // A non-negative number gets a blank before it, as the number format puts it.
  EXPECT_EQ(BoxTexts(), (Texts{"Hey, there isn't any CommandMode for  0!",
                               "Hey, there isn't any CommandMode for  5!",
                               "Hey, there isn't any CommandMode for -1!",
                               "Hey, there isn't any CommandMode for -32768!"}));
  EXPECT_TRUE(ui_.clipboard().empty());
  EXPECT_EQ(ReadFile(file), "keep");
}

// A drop that arrives while a question is shown waits for the running action,
// which keeps its own list; the waiting drops run afterwards in arrival order.
TEST_F(DispatchTest, DropsDuringAQuestionRunAfterwardsInArrivalOrder) {
  SettingsRecord.CommandMode = 2;
  const std::string a = MakeFile("src/a.txt", "A"), b = MakeFile("src/b.txt", "B"),
                    c = MakeFile("src/c.txt", "C");
  Texts list_during_question;
  ui_.WhileShowing([&] {
    SubmitDrop({b});
    SubmitDrop({c});
    list_during_question = DropList;
    EXPECT_TRUE(DropActionRunning());
  });
  ui_.Answer({kYes, kNo, kYes});
  SubmitDrop({a});
  EXPECT_EQ(list_during_question, Texts{a});
  EXPECT_EQ(ui_.boxes().size(), 3u);
  EXPECT_EQ(testing_support::NamesIn(copies_), (Texts{"a.txt", "c.txt"}));  // b answered no
  EXPECT_EQ(DropList, Texts{c});
  EXPECT_EQ(DropCount, 1);
  EXPECT_FALSE(DropActionRunning());
}

}  // namespace
