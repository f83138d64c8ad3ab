// What only Linux has: links, permission bits, times in nanoseconds, named
// pipes, UTF-8 names; the user's folders by the XDG rules and the
// freedesktop.org Trash, with HOME and the XDG variables pointed at temporary
// folders so that the user's own are never touched.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/file_ops.h"
#include "platform/file_query.h"
#include "platform/known_folders.h"
#include "tests/platform/files_test_helpers.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace testing_support;
using files_test::NamesIn;
using Names = std::vector<std::string>;

struct stat StatOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
  return info;
}

TEST(FilesLinks, CopyKeepsPermissionsAndTimes) {
  TempFolder temp;
  const std::string source = temp / "source.sh";
  WriteFile(source, "#!/bin/sh\n");
  WriteFile(temp / "target.sh", "old");  // replaced: its own mode must not stay
  ASSERT_EQ(chmod(source.c_str(), 0751), 0);
  const timespec times[2] = {{1'000'000'000, 123'456'789}, {1'234'567'890, 987'654'321}};
  ASSERT_EQ(utimensat(AT_FDCWD, source.c_str(), times, 0), 0);

  ASSERT_TRUE(platform::CopyFileTo(source, temp / "target.sh", platform::ExistingTarget::kReplace));
  const struct stat copy = StatOf(temp / "target.sh");
  EXPECT_EQ(copy.st_mode & 07777, 0751u);
  EXPECT_EQ(copy.st_mtim.tv_sec, times[1].tv_sec);
  EXPECT_EQ(copy.st_mtim.tv_nsec, times[1].tv_nsec);
  EXPECT_EQ(ReadFile(temp / "target.sh"), "#!/bin/sh\n");
  EXPECT_EQ(NamesIn(temp.path()), (Names{"source.sh", "target.sh"}));
}

TEST(FilesLinks, CopyFollowsALinkAndRefusesAPipe) {
  TempFolder temp;
  WriteFile(temp / "real.txt", "real content");
  fs::create_symlink(temp / "real.txt", temp / "link.txt");
  ASSERT_TRUE(
      platform::CopyFileTo(temp / "link.txt", temp / "copy.txt", platform::ExistingTarget::kKeep));
  EXPECT_TRUE(S_ISREG(StatOf(temp / "copy.txt").st_mode));
  EXPECT_EQ(ReadFile(temp / "copy.txt"), "real content");
  EXPECT_TRUE(S_ISLNK(StatOf(temp / "link.txt").st_mode));

  // A pipe without a writer would block a plain open for reading.
  ASSERT_EQ(mkfifo((temp / "pipe").c_str(), 0600), 0);
  EXPECT_FALSE(
      platform::CopyFileTo(temp / "pipe", temp / "target", platform::ExistingTarget::kKeep));
  EXPECT_EQ(NamesIn(temp.path()), (Names{"copy.txt", "link.txt", "pipe", "real.txt"}));
}

TEST(FilesLinks, LinksAndIdentity) {
  TempFolder temp;
  WriteFile(temp / "file.txt", "x");
  ASSERT_EQ(link((temp / "file.txt").c_str(), (temp / "hard.txt").c_str()), 0);
  fs::create_symlink(temp / "file.txt", temp / "soft.txt");
  fs::create_symlink(temp / "missing.txt", temp / "dangling");
  EXPECT_TRUE(platform::IsSameFile(temp / "hard.txt", temp / "file.txt"));
  EXPECT_TRUE(platform::IsSameFile(temp / "soft.txt", temp / "file.txt"));
  // A dangling link is an entry a copy would replace: it exists.
  EXPECT_TRUE(platform::PathExists(temp / "dangling"));
}

TEST(FilesLinks, RemoveTakesTheLinkNotItsTarget) {
  TempFolder temp;
  WriteFile(temp / "file.txt", "kept");
  WriteFile(temp / "folder/inside.txt", "kept too");
  fs::create_symlink(temp / "file.txt", temp / "soft.txt");
  fs::create_symlink(temp / "folder", temp / "to-folder");
  for (const char* link : {"soft.txt", "to-folder"}) {
    SCOPED_TRACE(link);
    EXPECT_TRUE(platform::RemoveFile(temp / link));
    EXPECT_FALSE(Exists(temp / link));
  }
  EXPECT_EQ(ReadFile(temp / "file.txt"), "kept");
  EXPECT_EQ(ReadFile(temp / "folder/inside.txt"), "kept too");
}

// Root copying another user's set-user-ID program must not make one that
// runs as root with content that user controls; a copy of one's own keeps
// every bit.
TEST(FilesLinks, CopyDropsSetIdBitsWhenTheOwnerChanges) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root, to give the source to another user";
  const struct {
    const char* what;
    uid_t owner;
    mode_t copied;
  } rows[] = {{"another user's file", 65534, 0755}, {"root's own file", 0, 06755}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    TempFolder temp;
    WriteFile(temp / "tool", "#!/bin/sh\n");
    ASSERT_EQ(chown((temp / "tool").c_str(), row.owner, row.owner), 0);
    ASSERT_EQ(chmod((temp / "tool").c_str(), 06755), 0);
    ASSERT_TRUE(
        platform::CopyFileTo(temp / "tool", temp / "copy", platform::ExistingTarget::kKeep));
    EXPECT_EQ(StatOf(temp / "copy").st_mode & 07777, row.copied);
    EXPECT_EQ(StatOf(temp / "copy").st_uid, 0u);
  }
}

// The desktop from user-dirs.dirs and the settings folder, both below
// $XDG_CONFIG_HOME when it is set, else below ~/.config.
TEST(FilesSpecial, DesktopAndSettingsFolder) {
  const struct {
    const char* what;
    std::optional<std::string> file;  // content of user-dirs.dirs; none: no file
    std::string expected;             // "~" stands for HOME
    bool config_home_set;
  } rows[] = {
      {"no file", std::nullopt, "~/Desktop", false},
      {"quoted $HOME path", "XDG_DESKTOP_DIR=\"$HOME/My Desk\"\n", "~/My Desk", false},
      {"comment", "# XDG_DESKTOP_DIR=\"$HOME/Commented\"\n", "~/Desktop", true},
      {"absolute", "XDG_DESKTOP_DIR=\"/srv/desk\"\n", "/srv/desk", true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    TempFolder temp;
    const std::string home = temp / "home";
    const std::string config = row.config_home_set ? temp / "config" : home + "/.config";
    ScopedEnv home_env("HOME", home);
    ScopedEnv config_env("XDG_CONFIG_HOME",
                         row.config_home_set ? std::optional(config + "/") : std::nullopt);
    if (row.file) WriteFile(config + "/user-dirs.dirs", *row.file);
    const std::string expected =
        row.expected[0] == '~' ? home + row.expected.substr(1) : row.expected;
    EXPECT_EQ(platform::SpecialFolderPath(0x0010, false), expected);
    EXPECT_FALSE(Exists(expected)) << "made without being asked";
    EXPECT_EQ(platform::UserSettingsFolder(), config + "/quorlith/");
  }
}

// Qt "trashes" into files/ and info/ below the current folder when it finds
// no Trash; the current folder here must stay empty either way.
TEST(FilesTrash, IntoThePrivateTrashNeverIntoTheCurrentFolder) {
  const struct {
    const char* what;
    std::string data_home;
    bool trashed;
  } rows[] = {{"data folder made on the way", "data", true},
              {"data folder blocked by a file", "blocker/data", false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    TempFolder temp;
    WriteFile(temp / "blocker", "a file where the data folder's parent should be");
    MakeFolder(temp / "cwd");
    ScopedEnv data_home("XDG_DATA_HOME", temp / row.data_home);
    const std::string path = temp / "work/report.txt";
    WriteFile(path, "report");
    const fs::path previous = fs::current_path();
    fs::current_path(temp / "cwd");
    const bool trashed = platform::MoveToTrash(path);
    fs::current_path(previous);
    EXPECT_EQ(trashed, row.trashed);
    EXPECT_TRUE(fs::is_empty(temp / "cwd"));
    EXPECT_EQ(Exists(path), !row.trashed);
    if (!row.trashed) continue;
    EXPECT_EQ(ReadFile(temp / "data/Trash/files/report.txt"), "report");
    const std::string info = ReadFile(temp / "data/Trash/info/report.txt.trashinfo");
    EXPECT_NE(info.find("[Trash Info]"), std::string::npos) << info;
    EXPECT_NE(info.find("Path=" + path + "\n"), std::string::npos) << info;
    EXPECT_NE(info.find("DeletionDate="), std::string::npos) << info;
  }
}

}  // namespace
