#include "actions/drop_list.h"

#include <deque>
#include <utility>

#include "actions/dispatch.h"
#include "actions/drop_work.h"

std::vector<std::string> DropList;
int32_t DropCount = 0;

namespace {

// Drops that arrived while an action was running, oldest first.
std::deque<std::vector<std::string>> PendingDrops;
bool ActionRunning = false;

// Runs the waiting drops in turn, until one hands its work to the worker;
// ContinueDrops goes on when that work has ended.
void RunPendingDrops() {
  ActionRunning = true;
  // Clears the running flag however the loop ends, unless work goes on.
  struct Done {
    ~Done() {
      if (!DropWorkRunning()) ActionRunning = false;
    }
  } done;
  while (!PendingDrops.empty()) {
    std::vector<std::string> next = std::move(PendingDrops.front());
    PendingDrops.pop_front();
    ResizeArray(static_cast<int32_t>(next.size()));
    for (size_t i = 0; i < next.size(); ++i) DropList[i] = std::move(next[i]);
    DispatchDrop();
    if (DropWorkRunning()) return;
  }
}

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
  // A drop that comes in while an action runs or waits in a message box (the
  // box runs its own message loop) only queues: the running action keeps its
  // list, and the next drop is picked up when that action has ended.
  if (ActionRunning) return;
  RunPendingDrops();
}

bool DropActionRunning() { return ActionRunning; }

void ContinueDrops() { RunPendingDrops(); }

void DropWorkStopped() {
  PendingDrops.clear();
  ActionRunning = false;
}
