// Watching a file descriptor from the program's event loop. Only the platform
// layer includes this.
#pragma once

#include <functional>
#include <memory>

namespace platform::native {

// Calls on_readable from the event loop, on the thread that asked, whenever
// fd has something to read, until the watch is destroyed.
class ReadWatch {
 public:
  virtual ~ReadWatch() = default;
};
// Null where the program has no event loop (the core-only builds).
std::unique_ptr<ReadWatch> WatchReadable(int fd, std::function<void()> on_readable);

}  // namespace platform::native
