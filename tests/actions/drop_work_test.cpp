// Drops: the dispatch by mode, the queue of drops that come while an action
// runs, and the worker whose questions show on the window's (the test's) thread.
#include "actions/drop_work.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "actions/drop_outcome.h"
#include "tests/actions/actions_fixture.h"

namespace {

using testing_support::NamesIn;
using testing_support::WriteFile;

TEST_F(ActionTest, UnknownModesAreReportedWithTheStoredNumber) {
  const std::string file = MakeFile("keep.txt", "keep");
  for (int16_t mode : {0, 5, -1, -32768}) {
    SettingsRecord.CommandMode = mode;
    SubmitDrop({file});
  }
  EXPECT_EQ(BoxTexts(), (Texts{"Hey, there isn't any CommandMode for  0!",
                               "Hey, there isn't any CommandMode for  5!",
                               "Hey, there isn't any CommandMode for -1!",
                               "Hey, there isn't any CommandMode for -32768!"}));
  EXPECT_EQ(ui_.boxes().back().caption + ReadFile(file), "Quorlithkeep");
  EXPECT_EQ(ui_.boxes().back().style, platform::kBoxOk);
  EXPECT_TRUE(ui_.clipboard().empty());
}

class DropWorkTest : public ActionTest {
 protected:
  void SetUp() override {
    ActionTest::SetUp();
    InstallWindowWaker([this] { ++wakes_; });
    SetOutcomeListener([this](const DropOutcome& outcome) { outcomes_.push_back(outcome); });
  }
  void TearDown() override {
    StopDropWork();
    InstallWindowWaker(nullptr);
    SetOutcomeListener(nullptr);
    ActionTest::TearDown();
  }
  // The window's loop: runs what the worker hands over until the drops end.
  void RunUntilDone() {
    for (int i = 0; i < 20000 && DropActionRunning(); ++i) {
      RunWindowTasks();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_FALSE(DropActionRunning());
  }
  std::atomic<int> wakes_{0};
  std::vector<DropOutcome> outcomes_;
};

// The drop returns at once; its question shows on the window's thread, where
// drops wait in order and a settings change counts for the rest of the drop.
TEST_F(DropWorkTest, WorkRunsOffTheWindowThreadAndAsksOnIt) {
  Quietly(2);
  const std::string a = MakeFile("a.txt", "new a"), b = MakeFile("b.txt", "new b");
  WriteFile(copies_ + "a.txt", "old a");
  WriteFile(copies_ + "b.txt", "old b");
  std::thread::id asked_on;
  Texts list_during_question;
  ui_.WhileShowing([&] {
    asked_on = std::this_thread::get_id();
    SettingsRecord.overwritefile = 1;
    SubmitDrop({MakeFile("c.txt", "c")});
    SubmitDrop({MakeFile("2/c.txt", "second c")});
    list_during_question = DropList;
  });
  SubmitDrop({a, b});
  EXPECT_TRUE(DropActionRunning());
  RunUntilDone();
  EXPECT_EQ(BoxTexts(), Texts{kOverwriteQuestion});
  EXPECT_EQ(ReadFile(copies_ + "a.txt") + "|" + ReadFile(copies_ + "b.txt") + "|" +
                ReadFile(copies_ + "c.txt"),
            "old a|new b|second c");
  EXPECT_EQ(list_during_question, (Texts{a, b}));
  EXPECT_EQ(asked_on, std::this_thread::get_id());
  EXPECT_GT(wakes_.load(), 0);
  ASSERT_EQ(outcomes_.size(), 3u);
  EXPECT_EQ(outcomes_[0].done * 10 + outcomes_[0].skipped, 11);
}

// The program ends while the worker waits for an answer: the question counts
// as no, no further file is begun, the queued drop goes, no temporary stays.
TEST_F(DropWorkTest, StoppingSkipsTheRestAndLeavesNoTemporary) {
  Quietly(3);
  const std::string a = MakeFile("a.txt", "a"), b = MakeFile("b.txt", "b"), c = MakeFile("c", "c");
  WriteFile(moved_ + "b.txt", "old b");
  ui_.WhileShowing([&] {
    SubmitDrop({MakeFile("d.txt", "d")});
    StopDropWork();
  });
  SubmitDrop({a, b, c});
  RunUntilDone();
  EXPECT_EQ(ReadFile(moved_ + "a.txt") + ReadFile(moved_ + "b.txt"), "aold b");
  EXPECT_TRUE(Exists(b) && Exists(c));
  EXPECT_EQ(NamesIn(moved_), (Texts{"a.txt", "b.txt"}));
  InstallWindowWaker(nullptr);  // the stop was for that work alone: the next drop runs whole
  SubmitDrop({c});
  EXPECT_EQ(ReadFile(moved_ + "c"), "c");
}

}  // namespace
