// Replacing the settings file on Linux: all or nothing, through a link, keeping its mode.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "tests/support/other_user.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace testing_support;
using Names = std::vector<std::string>;

// A write that cannot complete leaves the old file and no temporary. An
// ordinary user writes (root ignores modes); a size limit fails the
// temporary halfway, as a full disk would.
TEST(ProfilePosix, FailedWritesKeepTheFile) {
  const struct {
    mode_t folder_mode, file_mode;
    bool size_limit;
  } rows[] = {{0555, 0666, false}, {0777, 0222, false}, {0777, 0444, false}, {0777, 0666, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << std::oct << row.folder_mode << " " << row.file_mode);
    TempFolder temp;
    const std::string path = temp / "locked/Quorlith.ini";
    WriteFile(path, "[S]\nk=1\n; keep me\n");
    ASSERT_EQ(chmod(path.c_str(), row.file_mode), 0);
    ASSERT_EQ(chmod((temp / "locked").c_str(), row.folder_mode), 0);
    EXPECT_EQ(RunAsOtherUser([&] {
                const rlimit limit{8, 8};
                signal(SIGXFSZ, SIG_IGN);
                if (row.size_limit && setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
                return platform::ProfileWriteText(path, "S", "k", "2") ? 1 : 0;
              }),
              0);
    chmod((temp / "locked").c_str(), 0755);
    EXPECT_EQ(ReadFile(path), "[S]\nk=1\n; keep me\n");
    EXPECT_EQ(NamesIn(temp / "locked"), Names{"Quorlith.ini"});
  }
}

// A link stays a link and its file keeps its mode (not the temporary's 0600);
// a dangling link is refused; a new file gets 0666 less the umask.
TEST(ProfilePosix, LinksAndModes) {
  TempFolder temp;
  const std::string real = temp / "real/Quorlith.ini", link = temp / "Quorlith.ini";
  WriteFile(real, "[S]\nk=1\n");
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  std::filesystem::create_symlink(real, link);
  std::filesystem::create_symlink(temp / "nowhere", temp / "dangling.ini");
  EXPECT_TRUE(platform::ProfileWriteText(link, "S", "k", "2"));
  EXPECT_FALSE(platform::ProfileWriteText(temp / "dangling.ini", "S", "k", "2"));
  const mode_t mask = umask(027);
  EXPECT_TRUE(platform::ProfileWriteText(temp / "real/new.ini", "S", "k", "2"));
  umask(mask);
  EXPECT_EQ(ReadFile(real), "[S]\nk=2\n");
  EXPECT_EQ(ReadFile(temp / "real/new.ini"), "[S]\nk=2\n");
  EXPECT_EQ(NamesIn(temp.path()), (Names{"Quorlith.ini", "dangling.ini", "real"}));
  EXPECT_EQ(NamesIn(temp / "real"), (Names{"Quorlith.ini", "new.ini"}));
  for (const std::string& path : {link, temp / "real/new.ini"}) {
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640)) << path;
  }
  EXPECT_TRUE(std::filesystem::is_symlink(link));
}

}  // namespace
