#ifndef _WIN32

#include "tests/support/other_user.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

int RunAsOtherUser(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 &&
        (setgroups(0, nullptr) != 0 || setgid(kOtherUser) != 0 || setuid(kOtherUser) != 0)) {
      _exit(255);
    }
    _exit(body() & 0x7F);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return -1;
  if (!WIFEXITED(status) || WEXITSTATUS(status) == 255) return -1;
  return WEXITSTATUS(status);
}

}  // namespace testing_support

#endif
