// File changes on real temporary folders, in both builds. Each change lists its
// folders afterwards: a temporary or a half-written file would show there.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_ops.h"
#include "platform/file_query.h"
#include "platform/known_folders.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace testing_support;
using platform::ExistingTarget;
using platform::MoveOutcome;
using Names = std::vector<std::string>;

// Byte-exact results, told in full to the progress callback; within a volume a
// move renames the file itself (a hard link made before still names it).
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
    if (row.move) {
      ASSERT_EQ(platform::MoveFileTo(source, target, ExistingTarget::kReplace, progress),
                MoveOutcome::kMoved);
    } else {
      ASSERT_TRUE(platform::CopyFileTo(source, target, ExistingTarget::kReplace, progress));
    }
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

// Each refusal, of a copy or of a move, leaves the folder as it was.
TEST(FilesCopyMove, RefusalsTouchNothing) {
  const struct {
    const char* what;
    std::string source, target;
    bool read_only = false;
    ExistingTarget existing = ExistingTarget::kReplace;
    bool stop = false;
  } rows[] = {
      {"source is a folder", "folder", "target.txt"},
      {"source missing", "missing.txt", "target.txt"},
      {"target folder missing", "source.txt", "nowhere/target.txt"},
      {"onto itself", "source.txt", "source.txt"},
      {"onto itself by another spelling", "source.txt", "folder/../source.txt"},
      {"a folder in the way", "source.txt", "folder"},
      {"read-only target", "source.txt", "old.txt", true},
      {"existing target to be kept", "source.txt", "old.txt", false, ExistingTarget::kKeep},
#ifndef _WIN32  // Wine's copy engine tells no progress
      {"copy stopped", "source.txt", "old.txt", false, ExistingTarget::kReplace, true},
#endif
  };
  for (const auto& row : rows) {
    for (const bool move : {false, !row.stop}) {  // a rename is not stopped
      SCOPED_TRACE(std::string(row.what) + (move ? " (move)" : " (copy)"));
      TempFolder temp;
      WriteFile(temp / "source.txt", "source bytes");
      WriteFile(temp / "old.txt", "old bytes");
      WriteFile(temp / "folder/inside.txt", "inside");
      if (row.read_only) fs::permissions(temp / "old.txt", fs::perms::owner_read);
      const auto progress = [&](uint64_t) { return !row.stop; };
      if (move) {
        EXPECT_EQ(platform::MoveFileTo(temp / row.source, temp / row.target, row.existing),
                  MoveOutcome::kFailed);
      } else {
        EXPECT_FALSE(
            platform::CopyFileTo(temp / row.source, temp / row.target, row.existing, progress));
      }
      EXPECT_EQ(NamesIn(temp.path()), (Names{"folder", "old.txt", "source.txt"}));
      EXPECT_EQ(NamesIn(temp / "folder"), Names{"inside.txt"});
      EXPECT_EQ(ReadFile(temp / "source.txt"), "source bytes");
      EXPECT_EQ(ReadFile(temp / "old.txt"), "old bytes");
    }
  }
}

// Only files are removed; folders are made with their parents, never over a
// file; a short form exists and fits its limit exactly.
TEST(FilesQueryAndMake, RemoveMakeAndShortForms) {
  TempFolder temp;
  WriteFile(temp / "file.txt", "x");
  WriteFile(temp / "gone.txt", "x");
  EXPECT_TRUE(platform::RemoveFile(temp / "gone.txt"));
  EXPECT_FALSE(platform::RemoveFile(temp / "gone.txt"));
  for (const auto& [path, made] : {std::pair<std::string, bool>{temp / "a/b/c", true},
                                   {temp / "a/b/d/", true},
                                   {temp.path() + "one/two\\three/", true},
                                   {temp / "file.txt/sub", false}}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(platform::MakeFolders(path), made);
    EXPECT_EQ(platform::IsFolder(path), made);
  }
  EXPECT_FALSE(platform::RemoveFile(temp / "a"));
  EXPECT_EQ(NamesIn(temp.path()), (Names{"a", "file.txt", "one"}));
  const std::string short_path = platform::ShortPathOf(temp / "file.txt", 1022);
  EXPECT_TRUE(platform::IsSameFile(short_path, temp / "file.txt"));
  const int length = static_cast<int>(short_path.size());
  EXPECT_EQ(platform::ShortPathOf(temp / "file.txt", length), short_path);
  EXPECT_EQ(platform::ShortPathOf(temp / "file.txt", length - 1), "");
  EXPECT_EQ(platform::ShortPathOf(temp / "gone.txt", 1022), "");
}

}  // namespace
