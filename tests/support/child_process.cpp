#include "tests/support/child_process.h"

#ifdef _WIN32
#include <windows.h>

#include <string>

#include "platform/win32/owned_handle.h"
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace testing_support {

#ifdef _WIN32
// This test program again, suspended before it runs a single instruction of its own.
ChildProcess::ChildProcess() {
  wchar_t self[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_list_tests";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                     nullptr, &startup, &started)) {
    const platform::win32::OwnedHandle thread(started.hThread);  // not needed
    handle_ = started.hProcess;
    id_ = started.dwProcessId;
    running_ = true;
  }
}

void ChildProcess::End() {
  if (!running_) return;
  const platform::win32::OwnedHandle process(handle_);
  TerminateProcess(process.get(), 1);
  WaitForSingleObject(process.get(), INFINITE);
  running_ = false;
}
#else
ChildProcess::ChildProcess() {
  const pid_t child = fork();
  if (child == 0) {
    for (;;) pause();
  }
  running_ = child > 0;
  if (running_) id_ = static_cast<uint64_t>(child);
}

void ChildProcess::End() {
  if (!running_) return;
  kill(static_cast<pid_t>(id_), SIGKILL);
  waitpid(static_cast<pid_t>(id_), nullptr, 0);
  running_ = false;
}
#endif

ChildProcess::~ChildProcess() { End(); }

}  // namespace testing_support
