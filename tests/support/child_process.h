// Another process for tests that need one's id: one that runs until it is ended, whose id then
// names no process that runs.
#pragma once

#include <cstdint>

namespace testing_support {

class ChildProcess {
 public:
  ChildProcess();   // starts a child that does nothing until it is ended
  ~ChildProcess();  // ends it, if End has not
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  uint64_t id() const { return id_; }
  // Ends the child and waits until it is gone.
  void End();

 private:
  uint64_t id_ = 0;
  bool running_ = false;
  void* handle_ = nullptr;  // Windows: the process's handle
};

}  // namespace testing_support
