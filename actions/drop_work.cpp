#include "actions/drop_work.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "settings/settings_record.h"
#include "text/file_system.h"

namespace {

// A message box the worker waits for.
struct Question {
  std::string text;
  std::string caption;
  uint32_t style;
  int answer = 0;
  bool answered = false;
  bool abandoned = false;  // the work was stopped meanwhile
};

std::mutex lock;
std::condition_variable changed;
WindowWaker waker;                        // guarded by lock
std::deque<std::function<void()>> tasks;  // guarded by lock
bool stop_requested = false;              // guarded by lock
std::atomic<bool> stop_now{false};        // read at every block of a copy
std::shared_ptr<Question> waiting;        // guarded by lock

std::thread worker;
// The worker's settings: written only while it waits for a question, or
// before it starts.
Settings snapshot;
thread_local bool on_worker = false;

// Hands a task to the window's thread.
void PostToWindow(std::function<void()> task) {
  WindowWaker wake;
  {
    const std::lock_guard<std::mutex> guard(lock);
    tasks.push_back(std::move(task));
    wake = waker;
  }
  if (wake) wake();
}

// On the window's thread, once the worker has ended: the drop is over.
void FinishWork() {
  if (worker.joinable()) worker.join();
}

}  // namespace

void InstallWindowWaker(WindowWaker new_waker) {
  const std::lock_guard<std::mutex> guard(lock);
  waker = std::move(new_waker);
}

void RunWindowTasks() {
  for (;;) {
    std::function<void()> task;
    {
      const std::lock_guard<std::mutex> guard(lock);
      if (tasks.empty()) return;
      task = std::move(tasks.front());
      tasks.pop_front();
    }
    // Not under the lock: a task may show a box, whose own event loop runs
    // tasks in turn.
    task();
  }
}

const Settings& ActionSettings() { return on_worker ? snapshot : SettingsRecord; }

int AskUser(TextArg text, TextArg caption, uint32_t style) {
  if (!on_worker) return ShowMessage(text, caption, style);
  auto question = std::make_shared<Question>(Question{text, caption, style});
  {
    const std::lock_guard<std::mutex> guard(lock);
    if (stop_requested) return 0;
    waiting = question;
  }
  PostToWindow([question] {
    {
      const std::lock_guard<std::mutex> guard(lock);
      if (question->abandoned) return;
    }
    const int answer = ShowMessage(question->text, question->caption, question->style);
    const std::lock_guard<std::mutex> guard(lock);
    if (question->abandoned) return;
    question->answer = answer;
    question->answered = true;
    snapshot = SettingsRecord;
    changed.notify_all();
  });
  std::unique_lock<std::mutex> guard(lock);
  changed.wait(guard, [&] { return question->answered || question->abandoned; });
  waiting.reset();
  return question->answered ? question->answer : 0;
}

bool StopRequested() {
  const std::lock_guard<std::mutex> guard(lock);
  return stop_requested;
}

bool StopNowRequested() { return stop_now.load(std::memory_order_relaxed); }

bool RunOffWindowThread(void (*action)()) {
  {
    const std::lock_guard<std::mutex> guard(lock);
    if (!waker) return false;
    stop_requested = false;
  }
  stop_now = false;
  snapshot = SettingsRecord;
  worker = std::thread([action] {
    on_worker = true;
    action();
    PostToWindow(FinishWork);
  });
  return true;
}

bool DropWorkRunning() { return worker.joinable(); }

void AskDropWorkToStop(StopAt at) {
  if (!worker.joinable()) return;
  if (at == StopAt::kNextBlock) stop_now = true;
  const std::lock_guard<std::mutex> guard(lock);
  stop_requested = true;
  if (waiting) waiting->abandoned = true;
  changed.notify_all();
}

void StopDropWork(StopAt at) {
  if (!worker.joinable()) return;
  AskDropWorkToStop(at);
  worker.join();
  {
    // The stop was for the work that ran; what comes after starts afresh.
    const std::lock_guard<std::mutex> guard(lock);
    tasks.clear();
    stop_requested = false;
  }
  stop_now = false;
}
