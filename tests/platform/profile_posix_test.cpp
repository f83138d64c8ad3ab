// The safety of the file replacement behind ProfileWriteText on Linux.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "tests/platform/files_test_helpers.h"
#include "tests/support/temp_folder.h"

namespace {

using files_test::NamesIn;
using namespace testing_support;
using Names = std::vector<std::string>;

const std::string kSettings = "[S]\nk=1\n; keep me\n";

// A write that cannot complete leaves the old file byte for byte and no
// temporary. Root writes regardless of permissions, so those writes are made
// by a child that has become "nobody"; a file-size limit makes the write of
// the temporary fail halfway, as a full disk would, even for root.
TEST(ProfileFilePosix, FailedWritesKeepTheFile) {
  const struct {
    const char* name;
    mode_t folder_mode, file_mode;
    bool size_limit;
  } cases[] = {{"read-only folder", 0555, 0644, false},
               {"unreadable file", 0777, 0222, false},
               {"file-size limit", 0755, 0644, true}};
  constexpr int kWriteFailed = 0, kWriteSucceeded = 1, kNoSetup = 2;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const std::string locked = folder / "locked";
    const std::string path = locked + "/Quorlith.ini";
    WriteFile(path, kSettings);
    ASSERT_EQ(chmod(path.c_str(), c.file_mode), 0);
    ASSERT_EQ(chmod(locked.c_str(), c.folder_mode), 0);
    const pid_t child = fork();
    if (child == 0) {
      signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{8, 8};
      const bool ready =
          c.size_limit ? setrlimit(RLIMIT_FSIZE, &limit) == 0
                       : geteuid() != 0 || (setgroups(0, nullptr) == 0 && setgid(65534) == 0 &&
                                            setuid(65534) == 0);
      if (!ready) _exit(kNoSetup);
      _exit(platform::ProfileWriteText(path, "S", "k", "2") ? kWriteSucceeded : kWriteFailed);
    }
    int status = 0;
    waitpid(child, &status, 0);
    chmod(locked.c_str(), 0755);
    chmod(path.c_str(), 0644);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), kNoSetup) << "could not set up the child";
    EXPECT_EQ(WEXITSTATUS(status), kWriteFailed);
    EXPECT_EQ(ReadFile(path), kSettings);
    EXPECT_EQ(NamesIn(locked), Names{"Quorlith.ini"});
  }
}

// A settings file that is a link stays one, and the file it points to keeps
// its permissions: the temporary's 0600 must not replace them.
TEST(ProfileFilePosix, WritesThroughALinkKeepingPermissions) {
  TempFolder folder;
  const std::string real = folder / "real/Quorlith.ini";
  const std::string link = folder / "Quorlith.ini";
  WriteFile(real, kSettings);
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);
  EXPECT_TRUE(platform::ProfileWriteText(link, "S", "k", "2"));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadFile(real), "[S]\nk=2\n; keep me\n");
  struct stat info {};
  ASSERT_EQ(stat(real.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(NamesIn(folder / "real"), Names{"Quorlith.ini"});
}

}  // namespace
