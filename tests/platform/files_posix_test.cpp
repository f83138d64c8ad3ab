// What only Linux has, with HOME and the XDG variables pointed at temporary folders.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/file_ops.h"
#include "platform/file_query.h"
#include "platform/known_folders.h"
#include "platform/posix/posix_files.h"
#include "platform/profile.h"
#include "platform/shared/named_temporaries.h"
#include "tests/support/other_user.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace testing_support;
using Names = std::vector<std::string>;
using platform::ExistingTarget;

// While named, copies take the road of a file system without unnamed files (vfat, exFAT).
struct StagingRoad {
  explicit StagingRoad(bool named) { platform::posix::AllowUnnamedFiles(!named); }
  ~StagingRoad() { platform::posix::AllowUnnamedFiles(true); }
};

// A copy takes the source's mode and times; another user's set-ID bits go when root copies.
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
    const std::string tool = temp / "tool", copy = temp / "copy";
    WriteFile(tool, "#!/bin/sh\n");
    WriteFile(copy, "old");
    ASSERT_EQ(chown(tool.c_str(), row.owner, row.owner), 0);
    ASSERT_EQ(chmod(tool.c_str(), row.mode), 0);
    ASSERT_EQ(utimensat(AT_FDCWD, tool.c_str(), times, 0), 0);
    ASSERT_TRUE(platform::CopyFileTo(tool, copy, platform::ExistingTarget::kReplace));
    struct stat info {};
    stat(copy.c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, row.copied);
    EXPECT_EQ(info.st_mtim.tv_sec, times[1].tv_sec);
    EXPECT_EQ(info.st_mtim.tv_nsec, times[1].tv_nsec);
  }
}

// A copy is staged unnamed where the file system allows, else under a name that tells this host
// and process; the target gets all of it or stays as it was, and a stop at the next step or an
// exit() midway leaves nothing behind.
TEST(FilesPosix, CopiesStagedUnnamedOrNamed) {
  enum End { kDone, kStop, kExit };
  const struct {
    bool named;
    ExistingTarget existing;
    End end;
  } rows[] = {{false, ExistingTarget::kKeep, kDone},    {false, ExistingTarget::kReplace, kDone},
              {true, ExistingTarget::kKeep, kDone},     {true, ExistingTarget::kReplace, kDone},
              {false, ExistingTarget::kReplace, kStop}, {true, ExistingTarget::kKeep, kStop},
              {false, ExistingTarget::kKeep, kExit},    {true, ExistingTarget::kReplace, kExit}};
  const std::string ours =
      ".quorlith-" + platform::temporaries::ThisHost() + "-" + std::to_string(getpid()) + "-";
  const std::regex counter("[1-9][0-9]*\\.tmp");
  const std::string large((17 << 20) + 5, 'c');  // more than one step of the kernel's copy
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message()
                 << row.named << " " << static_cast<int>(row.existing) << " " << row.end);
    TempFolder temp;
    const bool replace = row.existing == ExistingTarget::kReplace;
    const std::string source = temp / "source.bin", target = temp / "into/target.bin";
    const std::string content = row.end == kStop ? large : "content";
    WriteFile(source, content);
    WriteFile(replace ? target : temp / "into/other.bin", "old");
    const Names before = NamesIn(temp / "into");
    const StagingRoad road(row.named);
    if (row.end == kExit) {  // the pacer ends a child process at the copy's first step
      std::fflush(nullptr);
      const pid_t child = fork();
      if (child == 0) {
        platform::SetCopyPacer([](uint64_t) { std::exit(3); });
        platform::CopyFileTo(source, target, row.existing);
        _exit(0);
      }
      int status = 0;
      ASSERT_EQ(waitpid(child, &status, 0), child);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3);
    } else {
      std::vector<uint64_t> told;
      Names staged;
      const auto progress = [&](uint64_t done) {
        if (told.empty()) staged = NamesIn(temp / "into");
        told.push_back(done);
        return row.end == kDone || told.size() < 2;
      };
      EXPECT_EQ(platform::CopyFileTo(source, target, row.existing, progress), row.end == kDone);
      EXPECT_EQ(staged.size(), before.size() + (row.named ? 1 : 0));
      for (const std::string& name : staged) {
        const bool known = std::count(before.begin(), before.end(), name) != 0;
        EXPECT_TRUE(known || (name.rfind(ours, 0) == 0 &&
                              std::regex_match(name.substr(ours.size()), counter)))
            << name;
      }
      if (row.end == kStop) {
        EXPECT_EQ(told.size(), 2u) << "a stop is honoured at the next step";
      }
    }
    EXPECT_EQ(NamesIn(temp / "into"),
              row.end == kDone && !replace ? (Names{"other.bin", "target.bin"}) : before);
    EXPECT_TRUE(ReadFile(target) == (row.end == kDone ? content : replace ? "old" : ""));
  }
}

// A copy onto a full file system fails in the system's words and leaves nothing; the next copy,
// one that fits, is made. The test mounts a small tmpfs of its own, which needs root.
TEST(FilesPosix, AFullFileSystemFailsTheCopyAndKeepsNothing) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
  TempFolder temp;
  const std::string small = temp / "small/";
  MakeFolder(small);
  if (mount("tmpfs", small.c_str(), "tmpfs", 0, "size=2m") != 0) {
    GTEST_SKIP() << "no tmpfs can be mounted here: " << std::strerror(errno);
  }
  const struct Unmount {
    std::string path;
    ~Unmount() { umount2(path.c_str(), MNT_DETACH); }
  } unmount{small};
  WriteFile(temp / "large.bin", std::string(3 << 20, 'l'));
  WriteFile(temp / "fits.bin", std::string(1 << 20, 'f'));
  for (const bool named : {false, true}) {
    SCOPED_TRACE(named ? "named" : "unnamed");
    const StagingRoad road(named);
    EXPECT_FALSE(
        platform::CopyFileTo(temp / "large.bin", small + "large.bin", ExistingTarget::kReplace));
    EXPECT_EQ(platform::LastFailure(), platform::SystemErrorText(ENOSPC));
    EXPECT_EQ(NamesIn(small), Names{});
    EXPECT_TRUE(platform::CopyFileTo(temp / "fits.bin", small + "fits.bin", ExistingTarget::kKeep));
    EXPECT_TRUE(ReadFile(small + "fits.bin") == ReadFile(temp / "fits.bin"));
    EXPECT_EQ(NamesIn(small), Names{"fits.bin"});
    EXPECT_TRUE(platform::RemoveFile(small + "fits.bin"));
  }
}

// The desktop from user-dirs.dirs (its last valid line), settings below an absolute
// $XDG_CONFIG_HOME or ~/.config; "~" stands for HOME, "@" for the temporary folder.
TEST(FilesPosix, DesktopAndSettingsFolder) {
  const struct {
    std::optional<std::string> file, config_home;  // none: no file, variable unset
    std::string desktop, config;
  } rows[] = {
      {std::nullopt, std::nullopt, "~/Desktop", "~/.config"},
      {"XDG_DESKTOP_DIR=\"$HOME/My \\\"Desk\\\"/\"\n", "config", "~/My \"Desk\"", "~/.config"},
      {"# XDG_DESKTOP_DIR=\"/x\"\nXDG_DESKTOP_DIR=\"/a\"\r\n  XDG_DESKTOP_DIR=\"/srv/desk\"\n"
       "XDG_DESKTOP_DIR=\"rel\"\nXDG_DESKTOP_DIR=\"/open\n",
       "@config/", "/srv/desk", "@config"}};
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

// Odd, long and taken names and folders come back when restored by their decoded Path.
TEST(FilesTrash, EveryEntryComesBackWhereItWas) {
  TempFolder temp;
  ScopedEnv data_home("XDG_DATA_HOME", temp / "data");
  const std::unique_ptr<TempFolder> shm = OtherVolumeFolder(temp);
  const std::string shm_trash = "/dev/shm/.Trash-" + std::to_string(geteuid());
  const bool shm_trash_existed = Exists(shm_trash);
  const struct {
    std::string folder, trash, top;
  } places[] = {{temp / "work", temp / "data/Trash", ""},
                {shm ? shm->path() : "", shm_trash, "/dev/shm/"}};
  std::string long_name;
  for (int i = 0; i < 125; ++i) long_name += "\xC3\xA4";
  const Names names = {"notes.txt",    "line\nbreak.txt",  "100% sure.txt",
                       "%0A.txt",      long_name + ".txt", std::string(250, 'x') + ".txt",
                       "x\nPath=evil", "again/notes.txt",  "a folder/"};
  const std::regex info_text(
      "\\[Trash Info\\]\nPath=([^\n]+)\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n");
  for (const auto& place : places) {
    SCOPED_TRACE(place.trash);
    if (place.folder.empty()) continue;  // /dev/shm is no other file system here
    const Names before = NamesIn(place.trash + "/info");
    WriteFile(place.trash + "/files/notes.txt", "a stray entry without information");
    WriteFile(place.folder + "/a folder/inside", "a folder/");
    for (const std::string& name : names) {
      if (name.back() != '/') WriteFile(place.folder + "/" + name, name);
      EXPECT_TRUE(platform::MoveToTrash(place.folder + "/" + name)) << name;
    }
    EXPECT_EQ(NamesIn(place.folder), Names{"again"});
    for (const std::string& info : {std::string("notes.3"), std::string(241, 'x')}) {  // cut to fit
      EXPECT_TRUE(Exists(place.trash + "/info/" + info + ".txt.trashinfo")) << info;
    }
    for (const std::string& info : NamesIn(place.trash + "/info")) {
      if (std::count(before.begin(), before.end(), info) != 0) continue;
      const std::string text = ReadFile(place.trash + "/info/" + info);
      std::smatch path;
      ASSERT_TRUE(std::regex_match(text, path, info_text)) << text;
      const std::string encoded = path[1];
      std::string original = place.top;  // the Path decoded
      for (size_t i = 0; i < encoded.size(); i += encoded[i] == '%' ? 3 : 1) {
        const auto byte = static_cast<char>(std::stoi("0" + encoded.substr(i + 1, 2), 0, 16));
        original += encoded[i] == '%' ? byte : encoded[i];
      }
      const std::string trashed = place.trash + "/files/" + info.substr(0, info.size() - 10);
      EXPECT_EQ(rename(trashed.c_str(), original.c_str()), 0) << text;
    }
    for (const std::string& name : names) {
      EXPECT_EQ(ReadFile(place.folder + "/" + name + (name.back() == '/' ? "inside" : "")), name);
    }
  }
  if (shm && !shm_trash_existed) fs::remove_all(shm_trash);
  // The home Trash is made again after it went; nothing goes where it cannot be made, nor "..".
  fs::remove_all(temp / "data");
  EXPECT_TRUE(platform::MoveToTrash(temp / "work/notes.txt"));
  EXPECT_EQ(ReadFile(temp / "data/Trash/files/notes.txt"), "notes.txt");
  EXPECT_FALSE(platform::MoveToTrash(temp / "work/again/.."));
  ScopedEnv blocked("XDG_DATA_HOME", temp / "work/%0A.txt/data");
  EXPECT_FALSE(platform::MoveToTrash(temp / "work/100% sure.txt"));
  EXPECT_EQ(NamesIn(temp / "work").size(), names.size() - 1);
}

// What may be there counts as there, so nothing is replaced unasked; "?" is no pattern.
TEST(FilesPosix, ExistenceInFoldersThatCannotBeListed) {
  const struct {
    mode_t mode;
    const char* name;
    bool there;
  } rows[] = {{0333, "what?.txt", true},
              {0333, "photo?.jpg", false},
              {0333, "WHAT?.TXT", false},
              {0222, "photo?.jpg", true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << std::oct << row.mode << " " << row.name);
    TempFolder temp;
    WriteFile(temp / "out/what?.txt", "old");
    WriteFile(temp / "out/photo1.jpg", "old");
    ASSERT_EQ(chmod((temp / "out").c_str(), row.mode), 0);
    EXPECT_EQ(RunAsOtherUser([&] {
                return platform::PathExists(temp / (std::string("out/") + row.name)) ? 1 : 0;
              }),
              row.there ? 1 : 0);
    chmod((temp / "out").c_str(), 0755);
  }
}

// A settings write that cannot complete (as an ordinary user, or halfway at a size limit as on
// a full disk) leaves the old file and no temporary.
TEST(SettingsFilePosix, FailedWritesKeepTheFile) {
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

// A link is read and written through and stays one, keeping its mode; new files get the umask.
TEST(SettingsFilePosix, LinksAndModes) {
  TempFolder temp;
  const std::string real = temp / "real/Quorlith.ini", link = temp / "Quorlith.ini";
  WriteFile(real, "[S]\nk=\"0xaB\"\n");
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  fs::create_symlink(real, link);
  EXPECT_EQ(platform::ProfileReadNumber(link, "S", "k", 0), 171);
  EXPECT_TRUE(platform::ProfileWriteText(link, "S", "k", "2"));
  const mode_t mask = umask(027);
  EXPECT_TRUE(platform::ProfileWriteText(temp / "real/new.ini", "S", "k", "2"));
  umask(mask);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(NamesIn(temp.path()), (Names{"Quorlith.ini", "real"}));
  EXPECT_EQ(NamesIn(temp / "real"), (Names{"Quorlith.ini", "new.ini"}));
  for (const std::string& path : {real, temp / "real/new.ini"}) {
    EXPECT_EQ(ReadFile(path), "[S]\nk=2\n");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640)) << path;
  }
}

}  // namespace
