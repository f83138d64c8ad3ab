// Runs part of a test as an ordinary user, for whom folder permissions hold (root ignores them).
#pragma once

#ifndef _WIN32
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace testing_support {

constexpr unsigned kOtherUser = 65534;  // "nobody", taken when the tests run as root

// Starts body in a child process, as kOtherUser when root; the child's pid, -1 on failure. The
// child ends with body's result (0 to 127), or 255 when it could not change its user.
inline pid_t StartAsOtherUser(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) {
    const bool changed = geteuid() != 0 || (setgroups(0, nullptr) == 0 && setgid(kOtherUser) == 0 &&
                                            setuid(kOtherUser) == 0);
    _exit(changed ? body() & 0x7F : 255);
  }
  return child;
}

// body's result (0 to 127) in a child process, as kOtherUser when root; -1 on failure.
inline int RunAsOtherUser(const std::function<int()>& body) {
  const pid_t child = StartAsOtherUser(body);
  int status = 0;
  const bool ended = child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status);
  return ended && WEXITSTATUS(status) != 255 ? WEXITSTATUS(status) : -1;
}

}  // namespace testing_support
#endif
