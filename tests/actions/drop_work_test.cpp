// The copies, moves and deletes of a drop on the worker thread, with their
// questions shown on the window's thread (here the test's), as the shells run
// them.
#include "actions/drop_work.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "actions/drop_outcome.h"
#include "tests/actions/actions_fixture.h"

namespace {

using testing_support::Exists;
using testing_support::ReadFile;

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
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (DropActionRunning() && std::chrono::steady_clock::now() < give_up) {
      RunWindowTasks();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_FALSE(DropActionRunning());
  }

  std::atomic<int> wakes_{0};
  std::vector<DropOutcome> outcomes_;
};

// Questions come on the window's thread in their order; a settings change
// made while one is open counts for the rest of the drop.
TEST_F(DropWorkTest, WorkRunsOffTheWindowThreadAndAsksOnIt) {
  Quietly(2);
  const std::string dest = SettingsRecord.CopyDestination;
  const std::string a = MakeFile("src/a.txt", "new a");
  const std::string b = MakeFile("src/b.txt", "new b");
  testing_support::WriteFile(dest + "a.txt", "old a");
  testing_support::WriteFile(dest + "b.txt", "old b");
  const std::thread::id window = std::this_thread::get_id();
  std::thread::id asked_on;
  ui_.WhileShowing([&] {
    asked_on = std::this_thread::get_id();
    SettingsRecord.overwritefile = 1;
  });
  ui_.Answer({platform::kAnswerNo});
  Drop({a, b});
  EXPECT_TRUE(DropActionRunning());  // the drop came back before its work was done
  Drop({MakeFile("src/c.txt", "c")});  // queued behind the running one
  RunUntilDone();

  EXPECT_EQ(BoxTexts(), std::vector<std::string>{kOverwriteQuestion});
  EXPECT_EQ(ReadFile(dest + "a.txt"), "old a");  // answered no
  EXPECT_EQ(ReadFile(dest + "b.txt"), "new b");  // replaced unasked after the change
  EXPECT_EQ(ReadFile(dest + "c.txt"), "c");
  EXPECT_GT(wakes_.load(), 0);
  ASSERT_EQ(outcomes_.size(), 2u);
  EXPECT_EQ(outcomes_[0].done, 1);
  EXPECT_EQ(outcomes_[0].skipped, 1);
  EXPECT_EQ(outcomes_[1].done, 1);
  EXPECT_EQ(asked_on, window);
}

// The program ends while the worker waits for an answer: the question counts
// as no, no further file is begun, and the queued drop is dropped.
TEST_F(DropWorkTest, StoppingSkipsTheRestAndLeavesNoTemporary) {
  Quietly(3);
  const std::string dest = SettingsRecord.MoveDestination;
  const std::string a = MakeFile("src/a.txt", "a");
  const std::string b = MakeFile("src/b.txt", "b");
  const std::string c = MakeFile("src/c.txt", "c");
  testing_support::WriteFile(dest + "b.txt", "old b");
  ui_.WhileShowing([&] {
    Drop({MakeFile("src/d.txt", "d")});
    StopDropWork();
  });
  Drop({a, b, c});
  RunUntilDone();
  EXPECT_EQ(ReadFile(dest + "a.txt"), "a");
  EXPECT_EQ(ReadFile(dest + "b.txt"), "old b");
  EXPECT_TRUE(Exists(b) && Exists(c) && !Exists(dest + "c.txt") && !Exists(dest + "d.txt"));
  EXPECT_EQ(testing_support::NamesIn(dest), (std::vector<std::string>{"a.txt", "b.txt"}));
  // The stop was for that work alone: the next drop runs whole, here at once.
  InstallWindowWaker(nullptr);
  Drop({c});
  EXPECT_EQ(ReadFile(dest + "c.txt"), "c");
}

}  // namespace
