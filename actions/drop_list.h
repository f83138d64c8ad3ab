// The current drop: the dropped paths, in the order the platform gave them,
// and the queue of drops that arrived while an action was still running.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The paths of the current drop, slots 0 to DropCount - 1. Replaced as a whole
// by the next drop, never while an action reads it.
extern std::vector<std::string> DropList;
extern int32_t DropCount;

// Discards the current list and makes a new one of count empty slots.
void ResizeArray(int32_t count);
// Releases the current list; DropCount becomes 0.
void FreeArray();

// Hands one drop to the actions. When no action is running, the drop becomes
// DropList and DispatchDrop runs at once. A drop that arrives while an action
// waits in one of its message boxes is queued and runs after the current
// action ends, in arrival order; no drop is lost while the program runs.
void SubmitDrop(std::vector<std::string> paths);
// True while an action is running (including its message boxes and work on
// the worker thread).
bool DropActionRunning();
// The work of the last drop has ended on the worker: the next waiting drop
// runs. On the window's thread.
void ContinueDrops();
// The work was stopped because the program ends: the waiting drops are
// dropped.
void DropWorkStopped();
