// What only Linux has: modes, links, pipes, the XDG folders and the Trash,
// with HOME and the XDG variables pointed at temporary folders.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "platform/file_ops.h"
#include "platform/file_query.h"
#include "platform/known_folders.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace testing_support;
using platform::ExistingTarget;
using Names = std::vector<std::string>;

// A copy takes the source's mode (not the replaced target's) and times to the
// nanosecond; root copying another user's set-ID program drops those bits.
TEST(FilesPosix, CopyKeepsModeAndTimes) {
  const struct {
    uid_t owner;
    mode_t mode, copied;
  } rows[] = {{geteuid(), 0751, 0751}, {0, 06755, 06755}, {65534, 06755, 0755}};
  const timespec times[2] = {{1'000'000'000, 123'456'789}, {1'234'567'890, 987'654'321}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.owner);
    if (row.owner != geteuid() && geteuid() != 0) continue;  // needs root
    TempFolder temp;
    WriteFile(temp / "tool", "#!/bin/sh\n");
    WriteFile(temp / "copy", "old");
    ASSERT_EQ(chown((temp / "tool").c_str(), row.owner, row.owner), 0);
    ASSERT_EQ(chmod((temp / "tool").c_str(), row.mode), 0);
    ASSERT_EQ(utimensat(AT_FDCWD, (temp / "tool").c_str(), times, 0), 0);
    ASSERT_TRUE(platform::CopyFileTo(temp / "tool", temp / "copy", ExistingTarget::kReplace));
    struct stat copy {};
    ASSERT_EQ(stat((temp / "copy").c_str(), &copy), 0);
    EXPECT_EQ(copy.st_mode & 07777, row.copied);
    EXPECT_EQ(copy.st_mtim.tv_sec, times[1].tv_sec);
    EXPECT_EQ(copy.st_mtim.tv_nsec, times[1].tv_nsec);
    EXPECT_EQ(ReadFile(temp / "copy"), "#!/bin/sh\n");
  }
}

// A link is its target's file and a copy follows it, a dangling one exists,
// removing one leaves its target; a pipe is refused without hanging.
TEST(FilesPosix, LinksAndPipes) {
  TempFolder temp;
  WriteFile(temp / "file", "real");
  WriteFile(temp / "folder/inside", "inside");
  fs::create_hard_link(temp / "file", temp / "hard");
  fs::create_symlink(temp / "file", temp / "soft");
  fs::create_symlink(temp / "folder", temp / "to-folder");
  fs::create_symlink(temp / "missing", temp / "dangling");
  ASSERT_EQ(mkfifo((temp / "pipe").c_str(), 0600), 0);
  EXPECT_TRUE(platform::IsSameFile(temp / "hard", temp / "file"));
  EXPECT_TRUE(platform::IsSameFile(temp / "soft", temp / "file"));
  EXPECT_TRUE(platform::PathExists(temp / "dangling"));
  ASSERT_TRUE(platform::CopyFileTo(temp / "soft", temp / "copy", ExistingTarget::kKeep));
  EXPECT_FALSE(platform::CopyFileTo(temp / "pipe", temp / "target", ExistingTarget::kKeep));
  EXPECT_TRUE(platform::RemoveFile(temp / "soft"));
  EXPECT_TRUE(platform::RemoveFile(temp / "to-folder"));
  EXPECT_EQ(NamesIn(temp.path()), (Names{"copy", "dangling", "file", "folder", "hard", "pipe"}));
  EXPECT_FALSE(fs::is_symlink(temp / "copy"));
  EXPECT_EQ(ReadFile(temp / "copy"), "real");
  EXPECT_EQ(NamesIn(temp / "folder"), Names{"inside"});
}

// The desktop from user-dirs.dirs (the last valid line wins) and the settings
// folder below an absolute $XDG_CONFIG_HOME, else ~/.config ("~" is HOME, "@" temp).
TEST(FilesPosix, DesktopAndSettingsFolder) {
  const struct {
    std::optional<std::string> file, config_home;  // none: no file, variable unset
    std::string desktop, config;
  } rows[] = {
      {std::nullopt, std::nullopt, "~/Desktop", "~/.config"},
      {"XDG_DESKTOP_DIR=\"$HOME/My \\\"Desk\\\"/\"\n", "config", "~/My \"Desk\"", "~/.config"},
      {"# XDG_DESKTOP_DIR=\"/x\"\nXDG_DESKTOP_DIR=\"/a\"\r\n  XDG_DESKTOP_DIR=\"/srv/desk\"\n"
       "XDG_DESKTOP_DIR=\"rel\"\nXDG_DESKTOP_DIR=\"/open\n",
       "@config/", "/srv/desk", "@config"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.desktop);
    TempFolder temp;
    const auto expand = [&](const std::string& text) {
      return text[0] == '~'   ? temp / "home" + text.substr(1)
             : text[0] == '@' ? temp / text.substr(1)
                              : text;
    };
    ScopedEnv home("HOME", temp / "home/");
    ScopedEnv config("XDG_CONFIG_HOME",
                     row.config_home ? std::optional(expand(*row.config_home)) : std::nullopt);
    if (row.file) WriteFile(expand(row.config) + "/user-dirs.dirs", *row.file);
    EXPECT_EQ(platform::SpecialFolderPath(0x0010, false), expand(row.desktop));
    EXPECT_FALSE(Exists(expand(row.desktop))) << "made without being asked";
    EXPECT_EQ(platform::UserSettingsFolder(), expand(row.config) + "/quorlith/");
  }
}

// Every entry comes back where it was when restored as a file manager does,
// from the decoded Path of its information file (relative to the top of
// another file system): names with a newline, a "%" or a fake Path line, one
// too long for the Trash's suffix, a name taken in the Trash, the same name twice, a folder.
TEST(FilesTrash, EveryEntryComesBackWhereItWas) {
  TempFolder temp;
  ScopedEnv data_home("XDG_DATA_HOME", temp / "data");
  const std::string uid = std::to_string(geteuid());
  struct stat here {
  }, shm{};
  const bool other_system = stat(temp.path().c_str(), &here) == 0 && stat("/dev/shm", &shm) == 0 &&
                            shm.st_dev != here.st_dev && access("/dev/shm", W_OK) == 0;
  const bool shm_trash_existed = Exists("/dev/shm/.Trash-" + uid);
  const struct {
    std::string folder, trash, top;
  } places[] = {
      {temp / "work", temp / "data/Trash", ""},
      {"/dev/shm/quorlith-test-" + std::to_string(getpid()), "/dev/shm/.Trash-" + uid, "/dev/shm/"},
  };
  std::string long_name;
  for (int i = 0; i < 125; ++i) long_name += "\xC3\xA4";
  const Names names = {"notes.txt",        "line\nbreak.txt", "100% sure.txt",   "%0A.txt",
                       long_name + ".txt", "x\nPath=evil",    "again/notes.txt", "a folder/"};
  const std::regex info_text(
      "\\[Trash Info\\]\nPath=([^\n]+)\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n");
  for (const auto& place : places) {
    SCOPED_TRACE(place.trash);
    if (!place.top.empty() && !other_system) continue;  // /dev/shm is no other file system here
    const Names before = NamesIn(place.trash + "/info");
    WriteFile(place.trash + "/files/notes.txt", "a stray entry without information");
    WriteFile(place.folder + "/a folder/inside", "a folder/");
    for (const std::string& name : names) {
      if (name.back() != '/') WriteFile(place.folder + "/" + name, name);
      EXPECT_TRUE(platform::MoveToTrash(place.folder + "/" + name)) << name;
    }
    EXPECT_EQ(NamesIn(place.folder), Names{"again"});
    for (const std::string& info : NamesIn(place.trash + "/info")) {
      if (std::count(before.begin(), before.end(), info) != 0) continue;
      const std::string text = ReadFile(place.trash + "/info/" + info);
      std::smatch path;
      ASSERT_TRUE(std::regex_match(text, path, info_text)) << text;
      const std::string encoded = path[1];
      std::string original = place.top;  // the Path decoded
      for (size_t i = 0; i < encoded.size(); i += encoded[i] == '%' ? 3 : 1) {
        original += encoded[i] != '%'
                        ? encoded[i]
                        : static_cast<char>(std::stoi(encoded.substr(i + 1, 2), 0, 16));
      }
      const std::string trashed = place.trash + "/files/" + info.substr(0, info.size() - 10);
      EXPECT_EQ(rename(trashed.c_str(), original.c_str()), 0) << text;
    }
    for (const std::string& name : names) {
      EXPECT_EQ(ReadFile(place.folder + "/" + name + (name.back() == '/' ? "inside" : "")), name);
    }
    if (!place.top.empty()) fs::remove_all(place.folder);
    if (!place.top.empty() && !shm_trash_existed) fs::remove_all(place.trash);
  }
}

// The home Trash is made when missing, again when it went away after use;
// when it cannot be made, or the entry is "..", nothing is trashed.
TEST(FilesTrash, TheHomeTrashIsMadeWhenMissing) {
  TempFolder temp;
  WriteFile(temp / "blocker", "a file where the data folder's parent should be");
  const struct {
    std::string data_home, entry;
    bool trashed;
  } rows[] = {{"data", "report.txt", true},
              {"data", "report.txt", true},
              {"blocker/data", "report.txt", false},
              {"data", "sub/..", false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.data_home + " " + row.entry);
    ScopedEnv data_home("XDG_DATA_HOME", temp / row.data_home);
    WriteFile(temp / "work/report.txt", "report");
    MakeFolder(temp / "work/sub");
    EXPECT_EQ(platform::MoveToTrash(temp / ("work/" + row.entry)), row.trashed);
    EXPECT_EQ(ReadFile(temp / "data/Trash/files/report.txt"), row.trashed ? "report" : "");
    EXPECT_EQ(NamesIn(temp / "work"), row.trashed ? Names{"sub"} : (Names{"report.txt", "sub"}));
    fs::remove_all(temp / "data");
  }
}

}  // namespace
