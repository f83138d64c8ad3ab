// The way of a drop, whatever brought it (a drag, the paths of a later
// start, a paste): received, queued, asked, worked, reported. One drop runs
// at a time; what arrives meanwhile, also while a question is open, waits its
// turn and then runs whole, with its own questions, in arrival order.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "actions/drop_outcome.h"

class DropQueue {
 public:
  // Received: the paths of one drop, in their order, wait their turn.
  void Receive(std::vector<std::string> paths);
  // Runs the waiting drops in turn until one hands its work to the worker
  // thread or none is left; returns what each drop that ended came to.
  // Entered again from a question's event loop, it leaves the running drop
  // alone and returns nothing.
  std::vector<DropOutcome> RunWaiting();
  // After the window's thread ran what the worker handed it: the outcome of
  // the drop whose work has ended, and of the waiting ones that ran after it.
  std::vector<DropOutcome> AfterWindowTasks();

  // True from a drop's start to its report: its questions and its work.
  bool Busy() const { return busy_; }
  size_t Waiting() const { return waiting_.size(); }
  // The work was stopped (the program ends): the drop that worked is over
  // unreported, and the waiting drops are let go.
  void Stopped();

 private:
  // A drop's outcome was reported: its list and what its action used go
  // back to the system.
  static void Release();

  std::deque<std::vector<std::string>> waiting_;
  bool busy_ = false;     // a drop runs (maybe inside its own questions)
  bool working_ = false;  // its work runs on the worker thread
};
