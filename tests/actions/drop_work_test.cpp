// Copies, moves and deletes on the worker thread, with their questions shown
// on the window's thread (here the test's), as the shells run them.
#include "actions/drop_work.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "actions/drop_outcome.h"
#include "tests/actions/actions_fixture.h"

namespace {

using testing_support::NamesIn;

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

// The drop returns before its work is done; questions come on the window's
// thread, and a settings change made while one is open counts for the rest.
TEST_F(DropWorkTest, WorkRunsOffTheWindowThreadAndAsksOnIt) {
  Quietly(2);
  const std::string a = MakeFile("src/a.txt", "new a"), b = MakeFile("src/b.txt", "new b");
  testing_support::WriteFile(copies_ + "a.txt", "old a");
  testing_support::WriteFile(copies_ + "b.txt", "old b");
  std::thread::id asked_on;
  ui_.WhileShowing([&] {
    asked_on = std::this_thread::get_id();
    SettingsRecord.overwritefile = 1;
  });
  SubmitDrop({a, b});
  EXPECT_TRUE(DropActionRunning());
  SubmitDrop({MakeFile("src/c.txt", "c")});  // queued behind the running one
  RunUntilDone();
  EXPECT_EQ(BoxTexts(), Texts{kOverwriteQuestion});
  EXPECT_EQ(ReadFile(copies_ + "a.txt") + ReadFile(copies_ + "b.txt") + ReadFile(copies_ + "c.txt"),
            "old anew bc");
  EXPECT_EQ(asked_on, std::this_thread::get_id());
  EXPECT_GT(wakes_.load(), 0);
  ASSERT_EQ(outcomes_.size(), 2u);
  EXPECT_EQ(outcomes_[0].done * 10 + outcomes_[0].skipped, 11);
  EXPECT_EQ(outcomes_[1].done, 1);
}

// The program ends while the worker waits for an answer: the question counts
// as no, no further file is begun, the queued drop is dropped, and no
// temporary is left.
TEST_F(DropWorkTest, StoppingSkipsTheRestAndLeavesNoTemporary) {
  Quietly(3);
  const std::string a = MakeFile("src/a.txt", "a"), b = MakeFile("src/b.txt", "b"),
                    c = MakeFile("src/c.txt", "c");
  testing_support::WriteFile(moved_ + "b.txt", "old b");
  ui_.WhileShowing([&] {
    SubmitDrop({MakeFile("src/d.txt", "d")});
    StopDropWork();
  });
  SubmitDrop({a, b, c});
  RunUntilDone();
  EXPECT_EQ(ReadFile(moved_ + "a.txt") + ReadFile(moved_ + "b.txt"), "aold b");
  EXPECT_TRUE(Exists(b) && Exists(c));
  EXPECT_EQ(NamesIn(moved_), (Texts{"a.txt", "b.txt"}));
  // The stop was for that work alone: the next drop runs whole, here at once.
  InstallWindowWaker(nullptr);
  SubmitDrop({c});
  EXPECT_EQ(ReadFile(moved_ + "c.txt"), "c");
}

}  // namespace
