// The end of the session on Linux: the signals by which the system, the
// terminal or the user asks the program to end (SIGTERM, SIGINT, SIGHUP).
#pragma once

#include <functional>
#include <memory>

namespace platform {

class SessionEndWatch {
 public:
  virtual ~SessionEndWatch() = default;
};

// Calls on_end with the signal's number, on this thread and from its event
// loop, each time the process receives one of the three, until the watch is
// destroyed; a second signal of the same kind comes as a second call. A
// signal that was ignored when the watch was made (a start under nohup)
// stays ignored. Destroying the watch gives each signal back what it had
// before: without a watch a signal ends the program as the system's default
// does. One watch at a time; null while another is alive, or where there is
// no event loop. The watch may be destroyed from within on_end.
std::unique_ptr<SessionEndWatch> WatchSessionEnd(std::function<void(int signal)> on_end);

}  // namespace platform
