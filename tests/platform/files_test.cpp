// File changes on real temporary folders, in both builds; each change lists its folders
// afterwards, where a temporary or half-written file would show.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/file_ops.h"
#include "platform/file_query.h"
#include "platform/known_folders.h"
#include "tests/support/temp_folder.h"

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
      const std::string source = temp / row.source, target = temp / row.target;
      EXPECT_FALSE(move ? platform::MoveFileTo(source, target, row.existing) != MoveOutcome::kFailed
                        : platform::CopyFileTo(source, target, row.existing, progress));
      EXPECT_EQ(platform::LastFailure() == "The work was stopped.", row.stop);
      EXPECT_EQ(NamesIn(temp.path()), (Names{"folder", "old.txt", "source.txt"}));
      EXPECT_EQ(NamesIn(temp / "folder"), Names{"inside.txt"});
      EXPECT_EQ(ReadFile(temp / "source.txt"), "source bytes");
      EXPECT_EQ(ReadFile(temp / "old.txt"), "old bytes");
    }
  }
}

// Only files are removed; folders come with parents, never over a file; short forms fit exactly.
TEST(FilesQueryAndMake, RemoveMakeAndShortForms) {
  TempFolder temp;
  WriteFile(temp / "file.txt", "x");
  EXPECT_TRUE(platform::MakeFolders(temp.path() + "a/b\\c/"));
  EXPECT_FALSE(platform::MakeFolders(temp / "file.txt/sub"));
  EXPECT_FALSE(platform::RemoveFile(temp / "a"));
  EXPECT_TRUE(platform::IsFolder(temp / "a/b\\c"));
  const std::string short_path = platform::ShortPathOf(temp / "file.txt", 1022);
  const int length = static_cast<int>(short_path.size());
  EXPECT_EQ(platform::ShortPathOf(temp / "file.txt", length - 1), "");
  EXPECT_EQ(platform::ShortPathOf(temp / "file.txt", length), short_path);
  EXPECT_TRUE(platform::IsSameFile(short_path, temp / "file.txt"));
  EXPECT_TRUE(platform::RemoveFile(temp / "file.txt"));
  EXPECT_EQ(platform::ShortPathOf(temp / "file.txt", 1022), "");
  EXPECT_EQ(NamesIn(temp.path()), Names{"a"});
}

}  // namespace
