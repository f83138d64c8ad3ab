#include "actions/drop_list.h"

#include <deque>
#include <utility>

#include "actions/dispatch.h"

std::vector<std::string> DropList;
int32_t DropCount = 0;

namespace {

// Drops that arrived while an action was running, oldest first.
std::deque<std::vector<std::string>> PendingDrops;
bool ActionRunning = false;

// Clears the running flag however the action ends.
struct RunningGuard {
  RunningGuard() { ActionRunning = true; }
  ~RunningGuard() { ActionRunning = false; }
};

}  // namespace

void ResizeArray(int32_t count) {
  FreeArray();
  if (count < 0) count = 0;
  DropList.resize(static_cast<size_t>(count));
  DropCount = count;
}

void FreeArray() {
  std::vector<std::string>().swap(DropList);
  DropCount = 0;
}

void SubmitDrop(std::vector<std::string> paths) {
  PendingDrops.push_back(std::move(paths));
  // A drop that comes in while an action waits in a message box (the box runs
  // its own message loop) only queues: the running action keeps its list, and
  // the loop below picks the new drop up when that action has ended.
  if (ActionRunning) return;
  RunningGuard running;
  while (!PendingDrops.empty()) {
    std::vector<std::string> next = std::move(PendingDrops.front());
    PendingDrops.pop_front();
    ResizeArray(static_cast<int32_t>(next.size()));
    for (size_t i = 0; i < next.size(); ++i) DropList[i] = std::move(next[i]);
    DispatchDrop();
  }
}

bool DropActionRunning() { return ActionRunning; }
