// Where the copies, moves and deletes of a drop run. When the shell has
// installed a waker they run on a worker thread, so the window stays free
// while they work; everything the user sees (questions, failure boxes) is
// still shown on the window's thread, in the same order, while the worker
// waits for the answer. Without a waker (the core's own tests) they run at
// once on the calling thread, as everything else does.
#pragma once

#include <cstdint>
#include <functional>

#include "text/text_arg.h"

struct Settings;

// Makes the window's thread call RunWindowTasks() soon; callable from any
// thread. An empty waker takes the worker away again.
using WindowWaker = std::function<void()>;
void InstallWindowWaker(WindowWaker waker);
// On the window's thread: runs what the worker handed over.
void RunWindowTasks();

// For the actions, on whichever thread runs them:
// The settings the running action reads: SettingsRecord itself on the
// window's thread; on the worker a copy taken when the work began and taken
// afresh each time a question has been answered (a Reload Settings during a
// question then counts for the rest of the drop, any other with the next).
const Settings& ActionSettings();
// A message box for the running action, shown on the window's thread.
// Once the work is asked to stop, no box is shown: a question counts as
// answered no, a report as seen.
int AskUser(TextArg text, TextArg caption, uint32_t style);
// True once the program has asked the work to stop (it is ending): no
// further file is begun.
bool StopRequested();
// True once the work must stop at once (the session ends, the program was
// told to end): the file being copied is given up at its next block, its
// temporary removed, and the files finished so far stay.
bool StopNowRequested();

// For the dispatch: runs action on the worker when a waker is installed
// (true: it runs now and ends later), else at once (false).
bool RunOffWindowThread(void (*action)());
// True while work runs on the worker.
bool DropWorkRunning();
// How far running work goes when the program ends.
enum class StopAt {
  kAfterCurrentFile,  // Exit, a close: the file being copied is finished
  kNextBlock,         // the session ends: it is given up at its next block
};
// Asks running work to stop, without waiting: for a shell whose window takes
// a while to go (a window manager's unmap).
void AskDropWorkToStop(StopAt at = StopAt::kAfterCurrentFile);
// On the window's thread, when the program ends: asks the work to stop and
// waits for it.
void StopDropWork(StopAt at = StopAt::kAfterCurrentFile);
