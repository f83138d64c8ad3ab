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

// Percent-decoding of a Path value.
std::string Decode(const std::string& text) {
  std::string decoded;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() &&
        std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      decoded += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

// Restores one trashed entry the way a file manager does: its information
// file must hold the header, one Path line and a DeletionDate; the decoded
// Path (relative to top when it is not absolute) is where the entry goes
// back to. Returns that path; empty when the information is not sound.
std::string Restore(const std::string& trash, const std::string& info_name,
                    const std::string& top) {
  std::istringstream info(ReadFile(trash + "/info/" + info_name));
  const std::regex date("DeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d");
  std::string line;
  std::string original;
  int header = 0, paths = 0, dates = 0;
  while (std::getline(info, line)) {
    header += line == "[Trash Info]";
    dates += std::regex_match(line, date);
    if (line.rfind("Path=", 0) != 0) continue;
    ++paths;
    original = Decode(line.substr(5));
  }
  if (header != 1 || paths != 1 || dates != 1 || original.empty()) return {};
  if (original[0] != '/') original = top + "/" + original;
  const std::string name = info_name.substr(0, info_name.size() - strlen(".trashinfo"));
  if (rename((trash + "/files/" + name).c_str(), original.c_str()) != 0) return {};
  unlink((trash + "/info/" + info_name).c_str());
  return original;
}

// Names a newline or a "%" in them, or text that looks like the information
// file's own lines, go to the Trash and come back to where they were; the
// same name twice gets two places. On another file system (/dev/shm, when it
// is one) the Trash is at its top, with Path relative to it.
TEST(FilesTrash, EveryNameComesBackToWhereItWas) {
  TempFolder temp;
  ScopedEnv data_home("XDG_DATA_HOME", temp / "data");
  const std::string uid = std::to_string(geteuid());
  struct stat here {}, shm {};
  const bool other_system = stat(temp.path().c_str(), &here) == 0 &&
                            stat("/dev/shm", &shm) == 0 && shm.st_dev != here.st_dev &&
                            access("/dev/shm", W_OK) == 0;
  const bool shm_trash_existed = Exists("/dev/shm/.Trash-" + uid);
  const struct {
    const char* what;
    std::string folder, trash, top;
  } places[] = {
      {"home Trash", temp / "work", temp / "data/Trash", ""},
      {"Trash at the top of /dev/shm", "/dev/shm/quorlith-test-" + std::to_string(getpid()),
       "/dev/shm/.Trash-" + uid, "/dev/shm"},
  };
  const std::vector<std::string> names = {"notes.txt", "line\nbreak.txt", "100% sure.txt",
                                          "%0A.txt", "x\nPath=/etc/passwd", "\xC3\xA4 b"};
  for (const auto& place : places) {
    SCOPED_TRACE(place.what);
    if (place.top == "/dev/shm" && !other_system) {
      std::cout << "skipped: /dev/shm is not another writable file system here\n";
      continue;
    }
    const Names before = NamesIn(place.trash + "/info");
    std::vector<std::string> originals;
    for (const std::string& name : names) originals.push_back(place.folder + "/" + name);
    originals.push_back(place.folder + "/again/notes.txt");
    originals.push_back(place.folder + "/a folder/inside.txt");
    for (const std::string& path : originals) WriteFile(path, path);
    originals.back() = place.folder + "/a folder";
    for (const std::string& path : originals) {
      EXPECT_TRUE(platform::MoveToTrash(path)) << path;
      EXPECT_FALSE(Exists(path)) << path;
    }
    std::vector<std::string> restored;
    for (const std::string& info : NamesIn(place.trash + "/info")) {
      if (std::find(before.begin(), before.end(), info) == before.end()) {
        restored.push_back(Restore(place.trash, info, place.top));
      }
    }
    std::sort(originals.begin(), originals.end());
    std::sort(restored.begin(), restored.end());
    EXPECT_EQ(restored, originals);
    for (const std::string& name : names) {
      EXPECT_EQ(ReadFile(place.folder + "/" + name), place.folder + "/" + name);
    }
    const std::string inside = place.folder + "/a folder/inside.txt";
    EXPECT_EQ(ReadFile(inside), inside);
    if (place.top == "/dev/shm") {
      fs::remove_all(place.folder);
      if (!shm_trash_existed) fs::remove_all(place.trash);
    }
  }
}

// The home Trash is made when missing, again when it went away after an
// earlier use, and when it cannot be made nothing is trashed.
TEST(FilesTrash, TheHomeTrashIsMadeWhenMissing) {
  TempFolder temp;
  WriteFile(temp / "blocker", "a file where the data folder's parent should be");
  const struct {
    const char* data_home;
    bool trashed;
  } rows[] = {{"data", true}, {"data", true}, {"blocker/data", false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.data_home);
    ScopedEnv data_home("XDG_DATA_HOME", temp / row.data_home);
    WriteFile(temp / "work/report.txt", "report");
    EXPECT_EQ(platform::MoveToTrash(temp / "work/report.txt"), row.trashed);
    EXPECT_EQ(ReadFile(temp / "data/Trash/files/report.txt"), row.trashed ? "report" : "");
    EXPECT_EQ(Exists(temp / "work/report.txt"), !row.trashed);
    fs::remove_all(temp / "data");
  }
}

}  // namespace
