// File changes on real temporary folders, in both builds; each change lists its folders
// afterwards, where a temporary or half-written file would show.
#ifdef _WIN32
#include <windows.h>
#endif
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/file_ops.h"
#include "platform/file_query.h"
#include "platform/known_folders.h"
#include "platform/shared/named_temporaries.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"
#ifdef _WIN32
#include "platform/win32/long_path.h"
#endif

namespace {

namespace fs = std::filesystem;
using namespace testing_support;
using platform::ExistingTarget;
using platform::MoveOutcome;
constexpr MoveOutcome kMoved = MoveOutcome::kMoved;
using Names = std::vector<std::string>;

// Byte-exact results told in full to the progress; a move within a volume renames the file.
TEST(FilesCopyMove, ByteExactResults) {
  std::string large((1 << 20) + 3, '\0');  // bytes that show a shifted or cut copy
  for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 + i / 256);
  const struct {
    const char* what;
    bool move, other_volume;
    std::string content;
    std::optional<std::string> old_target;
  } rows[] = {{"copy to a new target", 0, 0, large, std::nullopt},
              {"copy replaces a target", 0, 0, large, "old"},
              {"empty copy replaces a target", 0, 0, "", "old content"},
              {"move within a volume", 1, 0, large, "old"},
              {"move to another volume", 1, 1, large, "old"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    TempFolder temp;
    std::unique_ptr<TempFolder> other = row.other_volume ? OtherVolumeFolder(temp) : nullptr;
    if (row.other_volume && !other) continue;  // no second file system here
    const std::string into = other ? other->path() : temp / "into/";
    const std::string source = temp / "source.bin", target = into + "target.bin";
    WriteFile(source, row.content);
    WriteFile(temp / "into/kept.txt", "kept");
    if (row.old_target) WriteFile(target, *row.old_target);
    fs::create_hard_link(source, temp / "link.bin");
    uint64_t told = 0;
    const auto progress = [&](uint64_t done) { return (told = done), true; };
    const ExistingTarget replace = ExistingTarget::kReplace;
    ASSERT_TRUE(row.move ? platform::MoveFileTo(source, target, replace, progress) == kMoved
                         : platform::CopyFileTo(source, target, replace, progress));
    EXPECT_TRUE(ReadFile(target) == row.content);
    EXPECT_EQ(Exists(source), !row.move);
    EXPECT_EQ(fs::equivalent(temp / "link.bin", target), row.move && !other);
    EXPECT_EQ(NamesIn(into), other ? Names{"target.bin"} : (Names{"kept.txt", "target.bin"}));
#ifdef _WIN32
    if (told == 0 && !(row.move && !other)) continue;  // Wine's copy engine tells no progress
#endif
    EXPECT_EQ(told, row.content.size());
  }
}

// The system's codes for a missing file and a missing folder.
#ifdef _WIN32
constexpr unsigned long kNoFile = ERROR_FILE_NOT_FOUND, kNoFolder = ERROR_PATH_NOT_FOUND;
#else
constexpr unsigned long kNoFile = ENOENT, kNoFolder = ENOENT;
#endif

std::string Said(platform::Failure kind, unsigned long code = 0) {
  platform::NoteFailure(kind, code);
  return platform::LastFailure();
}

// Each refusal or failure, of a copy or of a move, says why and leaves the folders as they were.
TEST(FilesCopyMove, RefusalsTouchNothing) {
  using F = platform::Failure;
  const auto go_on = [](const TempFolder&) { return true; };
  const struct {
    const char* what;
    std::string source, target, reason;
    bool read_only = false;
    ExistingTarget existing = ExistingTarget::kReplace;
    // Told to the copy's progress, which it answers; only copies, as a rename tells nothing.
    std::function<bool(const TempFolder&)> meanwhile = nullptr;
    bool locked = false;  // the source held open without sharing, as by another program
  } rows[] = {
      {"source is a folder", "folder", "target.txt", Said(F::kFolder)},
      {"source removed before its turn", "missing.txt", "target.txt", Said(F::kSystem, kNoFile)},
      {"target folder missing", "source.txt", "nowhere/target.txt", Said(F::kSystem, kNoFolder)},
      {"onto itself", "source.txt", "source.txt", Said(F::kSameFile)},
      {"onto itself by another spelling", "source.txt", "folder/../source.txt", Said(F::kSameFile)},
      {"a folder in the way", "source.txt", "folder", Said(F::kTargetFolder)},
      {"read-only target", "source.txt", "old.txt", Said(F::kTargetProtected), true},
      {"existing target to be kept", "source.txt", "old.txt", Said(F::kTargetAppeared), false,
       ExistingTarget::kKeep},
      {"copy stopped", "source.txt", "old.txt", Said(F::kStopped), false, ExistingTarget::kReplace,
       [](const TempFolder&) { return false; }},
      {"destination folder removed during the copy", "source.txt", "gone/target.txt",
       Said(F::kSystem, kNoFolder), false, ExistingTarget::kReplace,
       [](const TempFolder& temp) { return fs::remove_all(temp / "gone"), true; }},
#ifdef _WIN32
      {"source locked by another program", "source.txt", "target.txt",
       Said(F::kSystem, ERROR_SHARING_VIOLATION), false, ExistingTarget::kReplace, nullptr, true},
#endif
  };
  for (const auto& row : rows) {
    for (const bool move : {false, !row.meanwhile}) {
      SCOPED_TRACE(std::string(row.what) + (move ? " (move)" : " (copy)"));
      TempFolder temp;
      WriteFile(temp / "source.txt", "source bytes");
      WriteFile(temp / "old.txt", "old bytes");
      WriteFile(temp / "folder/inside.txt", "inside");
      MakeFolder(temp / "gone");
      if (row.read_only) fs::permissions(temp / "old.txt", fs::perms::owner_read);
#ifdef _WIN32
      const HANDLE lock =
          row.locked ? CreateFileW(platform::win32::SystemPath(temp / "source.txt").c_str(),
                                   GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                     : INVALID_HANDLE_VALUE;
#endif
      const auto progress = [&](uint64_t) { return (row.meanwhile ? row.meanwhile : go_on)(temp); };
      const std::string source = temp / row.source, target = temp / row.target;
      EXPECT_FALSE(move ? platform::MoveFileTo(source, target, row.existing) != MoveOutcome::kFailed
                        : platform::CopyFileTo(source, target, row.existing, progress));
      EXPECT_EQ(platform::LastFailure(), row.reason);
#ifdef _WIN32
      if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
#endif
      const bool gone = row.target.rfind("gone/", 0) == 0;
      EXPECT_EQ(NamesIn(temp.path()), gone ? (Names{"folder", "old.txt", "source.txt"})
                                           : (Names{"folder", "gone", "old.txt", "source.txt"}));
      EXPECT_EQ(NamesIn(temp / "folder"), Names{"inside.txt"});
      EXPECT_EQ(ReadFile(temp / "source.txt"), "source bytes");
      EXPECT_EQ(ReadFile(temp / "old.txt"), "old bytes");
    }
  }
}

// Only files are removed (to the Trash neither a missing one, saying why); folders come with
// parents, never over a file; short forms fit exactly.
TEST(FilesQueryAndMake, RemoveMakeAndShortForms) {
  TempFolder temp;
  WriteFile(temp / "file.txt", "x");
  EXPECT_TRUE(platform::MakeFolders(temp.path() + "a/b\\c/"));
  EXPECT_FALSE(platform::MakeFolders(temp / "file.txt/sub"));
  EXPECT_FALSE(platform::MakeFolders(""));
  EXPECT_FALSE(platform::RemoveFile(temp / "a"));
  EXPECT_TRUE(platform::IsFolder(temp / "a/b\\c"));
  const std::string short_path = platform::ShortPathOf(temp / "file.txt", 1022);
  const int length = static_cast<int>(short_path.size());
  EXPECT_EQ(platform::ShortPathOf(temp / "file.txt", length - 1), "");
  EXPECT_EQ(platform::ShortPathOf(temp / "file.txt", length), short_path);
  EXPECT_TRUE(platform::IsSameFile(short_path, temp / "file.txt"));
  EXPECT_TRUE(platform::RemoveFile(temp / "file.txt"));
  EXPECT_EQ(platform::ShortPathOf(temp / "file.txt", 1022), "");
  EXPECT_FALSE(platform::MoveToTrash(temp / "file.txt"));
  EXPECT_EQ(platform::LastFailure(), platform::SystemErrorText(kNoFile));
  EXPECT_EQ(NamesIn(temp.path()), Names{"a"});
}

// A temporary's name gives back the host and process it was made with; any other name, or one
// that is not exactly what is made of its parts, gives nothing.
TEST(FilesTemporaries, NamesAreReadBackExactly) {
  namespace t = platform::temporaries;
  const struct {
    std::string name, host;
    uint64_t pid;
  } rows[] = {{t::NameOf("az", 12, 3), "az", 12},
              {t::NameOf("AZ.09-x_y", 4294967296, 0), "AZ.09-x_y", 4294967296},
              {t::NameOf("host-1", 7, 8), "host-1", 7},
              {".quorlith-a z-1-2.tmp", "", 0},
              {".quorlith-h\xC3\xA4-1-2.tmp", "", 0},
              {".quorlith-h-01-2.tmp", "", 0},
              {".quorlith-h-1-+2.tmp", "", 0},
              {".quorlith-h-0-2.tmp", "", 0},
              {".quorlith--1-2.tmp", "", 0},
              {".quorlith-1-2.tmp", "", 0},
              {"x.quorlith-h-1-2.tmp", "", 0},
              {".quorlith-h-1-2.tmp.part", "", 0},
              {".quorlith-" + std::string(65, 'h') + "-1-2.tmp", "", 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::string host;
    uint64_t pid = 0;
    EXPECT_EQ(t::ParseName(row.name, host, pid), !row.host.empty());
    if (!row.host.empty()) {
      EXPECT_EQ(std::pair(host, pid), std::pair(row.host, row.pid));
    }
  }
}

// Only this host's temporaries of processes that have ended go; those of running processes (this
// one, a child) or of another host stay, and so does every other name, and a folder or link.
TEST(FilesTemporaries, OnlyStaleOnesAreRemoved) {
  ChildProcess running, ended;
  ended.End();
  const std::string host = platform::temporaries::ThisHost();
  const auto named = [&](const std::string& of_host, uint64_t pid, int n) {
    return ".quorlith-" + of_host + "-" + std::to_string(pid) + "-" + std::to_string(n) + ".tmp";
  };
  enum Kind { kFile, kReadOnly, kFolder, kLink };
  const struct {
    std::string name;
    Kind kind;
    bool removed;
  } rows[] = {
      {named(host, ended.id(), 1), kFile, true},
      {named(host, ended.id(), 2), kReadOnly, true},
      {named(host, platform::temporaries::ThisProcess(), 3), kFile, false},
      {named(host, running.id(), 4), kFile, false},
      {named("elsewhere.example-5", ended.id(), 5), kFile, false},
      {".quorlith-notes.tmp", kFile, false},
      {named(host, ended.id(), 6) + ".part", kFile, false},
      {".quorlith-" + host + "-0" + std::to_string(ended.id()) + "-7.tmp", kFile, false},
      {named(host, ended.id(), 8), kFolder, false},
#ifndef _WIN32
      {named(host, ended.id(), 9), kLink, false},
#endif
  };
  TempFolder temp;
  WriteFile(temp / "elsewhere/linked.txt", "linked");
  for (const auto& row : rows) {
    const std::string path = temp / "box/" + row.name;
    if (row.kind == kFolder) MakeFolder(path);
    if (row.kind == kLink) fs::create_symlink(temp / "elsewhere/linked.txt", path);
    if (row.kind == kFile || row.kind == kReadOnly) WriteFile(path, row.name);
    if (row.kind == kReadOnly) fs::permissions(path, fs::perms::owner_read);
  }
  EXPECT_EQ(platform::RemoveStaleTemporaries(temp / "box/"), 2);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Exists(temp / "box/" + row.name), !row.removed);
  }
  EXPECT_EQ(ReadFile(temp / "elsewhere/linked.txt"), "linked");
}

}  // namespace
