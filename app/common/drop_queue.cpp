#include "app/common/drop_queue.h"

#include <utility>

#include "actions/dispatch.h"
#include "actions/drop_list.h"
#include "actions/drop_work.h"
#include "platform/memory.h"

void DropQueue::Receive(std::vector<std::string> paths) { waiting_.push_back(std::move(paths)); }

std::vector<DropOutcome> DropQueue::RunWaiting() {
  std::vector<DropOutcome> ended;
  // A drop that arrives while another runs or waits in one of its message
  // boxes (each runs its own event loop) only waits: the running action
  // keeps its list.
  if (busy_) return ended;
  // However the loop ends, no drop is left marked running but work that goes
  // on on the worker.
  struct Running {
    DropQueue& queue;
    ~Running() {
      if (!queue.working_) queue.busy_ = false;
    }
  } running{*this};
  while (!waiting_.empty()) {
    // Queued: the oldest drop becomes DropList, which nothing replaces until
    // it has been reported.
    SetDropList(std::move(waiting_.front()));
    waiting_.pop_front();
    busy_ = true;
    // Asked and worked: the action asks its questions here, on the window's
    // thread, and copies, moves and deletes on the worker.
    DispatchDrop();
    if (DropWorkRunning()) {
      working_ = true;  // reported when the window has run the end of it
      return ended;
    }
    // Reported.
    busy_ = false;
    ended.push_back(CurrentOutcome());
    Release();
  }
  return ended;
}

std::vector<DropOutcome> DropQueue::AfterWindowTasks() {
  if (!working_ || DropWorkRunning()) return {};
  working_ = false;
  busy_ = false;
  std::vector<DropOutcome> ended = {CurrentOutcome()};
  Release();
  for (DropOutcome& outcome : RunWaiting()) ended.push_back(std::move(outcome));
  return ended;
}

void DropQueue::Stopped() {
  waiting_.clear();
  if (!working_) return;
  working_ = false;
  busy_ = false;
}

void DropQueue::Release() {
  FreeArray();
  platform::ReturnFreedMemory();
}
