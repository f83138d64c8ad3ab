// The way of a drop: one at a time, work off the window's thread, questions on it, drops that
// arrive meanwhile queued in order, and a stop that drops the queue.
#include <atomic>
#include <chrono>
#include <thread>

#include "actions/drop_work.h"
#include "app/common/drop_queue.h"
#include "tests/actions/actions_fixture.h"

namespace {

using testing_support::NamesIn;
using testing_support::WriteFile;

class DropQueueTest : public ActionTest {
 protected:
  void SetUp() override {
    ActionTest::SetUp();
    InstallWindowWaker([this] { ++wakes_; });
  }
  void TearDown() override {
    StopDropWork();
    queue_.Stopped();
    InstallWindowWaker(nullptr);
    ActionTest::TearDown();
  }
  void Drop(std::vector<std::string> paths) {
    queue_.Receive(std::move(paths));
    Keep(queue_.RunWaiting());
  }
  void Keep(const std::vector<DropOutcome>& ended) {
    outcomes_.insert(outcomes_.end(), ended.begin(), ended.end());
  }
  // The window's loop: runs what the worker hands over until the drops end.
  void RunUntilDone() {
    for (int i = 0; i < 20000 && queue_.Busy(); ++i) {
      RunWindowTasks();
      Keep(queue_.AfterWindowTasks());
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_FALSE(queue_.Busy());
  }
  DropQueue queue_;
  std::atomic<int> wakes_{0};
  std::vector<DropOutcome> outcomes_;
};

// Work runs on the worker, asks on the window's thread; drops wait there in order.
TEST_F(DropQueueTest, WorkRunsOffTheWindowThreadAndAsksOnIt) {
  Quietly(2);
  const std::string a = MakeFile("a.txt", "new a"), b = MakeFile("b.txt", "new b");
  WriteFile(copies_ + "a.txt", "old a");
  WriteFile(copies_ + "b.txt", "old b");
  std::thread::id asked_on;
  Texts list_during_question;
  ui_.WhileShowing([&] {
    asked_on = std::this_thread::get_id();
    SettingsRecord.overwritefile = 1;
    Drop({MakeFile("c.txt", "c")});
    Drop({MakeFile("2/c.txt", "second c")});
    list_during_question = DropList;
  });
  Drop({a, b});
  EXPECT_TRUE(queue_.Busy());
  RunUntilDone();
  EXPECT_EQ(BoxTexts(), Texts{kOverwriteQuestion});
  EXPECT_EQ(ReadFile(copies_ + "a.txt") + "|" + ReadFile(copies_ + "b.txt") + "|" +
                ReadFile(copies_ + "c.txt"),
            "old a|new b|second c");
  EXPECT_EQ(list_during_question, (Texts{a, b}));
  EXPECT_EQ(DropCount + DropList.capacity(), 0u);  // released once reported
  EXPECT_EQ(asked_on, std::this_thread::get_id());
  EXPECT_GT(wakes_.load(), 0);
  ASSERT_EQ(outcomes_.size(), 3u);
  EXPECT_EQ(outcomes_[0].done * 10 + outcomes_[0].skipped, 11);
}

// Ending during a question answers no, begins no further file, drops the queue.
TEST_F(DropQueueTest, StoppingSkipsTheRestAndLeavesNoTemporary) {
  Quietly(3);
  const std::string a = MakeFile("a.txt", "a"), b = MakeFile("b.txt", "b"), c = MakeFile("c", "c");
  WriteFile(moved_ + "b.txt", "old b");
  ui_.WhileShowing([&] {
    Drop({MakeFile("d.txt", "d")});
    StopDropWork();
    queue_.Stopped();
  });
  Drop({a, b, c});
  RunUntilDone();
  EXPECT_EQ(ReadFile(moved_ + "a.txt") + ReadFile(moved_ + "b.txt"), "aold b");
  EXPECT_TRUE(Exists(b) && Exists(c));
  EXPECT_EQ(NamesIn(moved_), (Texts{"a.txt", "b.txt"}));
  InstallWindowWaker(nullptr);  // the stop was for that work alone: the next drop runs whole
  Drop({c});
  EXPECT_EQ(ReadFile(moved_ + "c"), "c");
  EXPECT_EQ(DropCount + DropList.capacity(), 0u);
}

}  // namespace
