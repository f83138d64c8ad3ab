// Copying, removing and making folders against real temporary folders, in
// both builds. Every case lists the folder afterwards: a temporary left
// behind by a copy would show there.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/file_ops.h"
#include "platform/file_query.h"
#include "platform/special_folders.h"
#include "tests/platform/files_test_helpers.h"
#include "tests/support/temp_folder.h"

namespace {

using files_test::NamesIn;
using files_test::PatternBytes;
using testing_support::Exists;
using testing_support::MakeFolder;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;
using Names = std::vector<std::string>;

TEST(FilesCopy, MakesByteExactCopies) {
  const size_t sizes[] = {0, 1, 65536 + 3, 1 << 20};
  for (const size_t size : sizes) {
    SCOPED_TRACE(size);
    TempFolder temp;
    const std::string content = PatternBytes(size);
    WriteFile(temp / "in/source.bin", content);
    MakeFolder(temp / "out");
    ASSERT_TRUE(platform::CopyFileReplacing(temp / "in/source.bin", temp / "out/target.bin"));
    EXPECT_EQ(ReadFile(temp / "out/target.bin"), content);
    EXPECT_EQ(ReadFile(temp / "in/source.bin"), content);
    EXPECT_EQ(NamesIn(temp / "out"), Names{"target.bin"});
    EXPECT_EQ(NamesIn(temp / "in"), Names{"source.bin"});
  }
}

TEST(FilesCopy, ReplacesAnExistingTargetCompletely) {
  TempFolder temp;
  WriteFile(temp / "source.txt", "new");
  // Longer than the new content: a copy that does not truncate shows.
  WriteFile(temp / "target.txt", "old content, much longer than the new one");
  ASSERT_TRUE(platform::CopyFileReplacing(temp / "source.txt", temp / "target.txt"));
  EXPECT_EQ(ReadFile(temp / "target.txt"), "new");
  EXPECT_EQ(NamesIn(temp.path()), (Names{"source.txt", "target.txt"}));
}

TEST(FilesCopy, CopiesIntoTheCurrentFolderForABareName) {
  TempFolder temp;
  WriteFile(temp / "source.txt", "here");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(temp.path());
  const bool copied = platform::CopyFileReplacing("source.txt", "target.txt");
  std::filesystem::current_path(previous);
  ASSERT_TRUE(copied);
  EXPECT_EQ(ReadFile(temp / "target.txt"), "here");
  EXPECT_EQ(NamesIn(temp.path()), (Names{"source.txt", "target.txt"}));
}

// Each refusal leaves the folder as it was: same names, same contents.
TEST(FilesCopy, RefusesAndTouchesNothing) {
  struct Row {
    const char* what;
    std::string source;
    std::string target;
    std::function<void(const TempFolder&)> prepare;
  };
  const Row rows[] = {
      {"source is a folder", "folder", "target.txt", nullptr},
      {"source missing", "missing.txt", "target.txt", nullptr},
      {"target folder missing", "source.txt", "nowhere/deeper/target.txt", nullptr},
      {"target folder is a file", "source.txt", "old.txt/target.txt", nullptr},
      {"target is a folder", "source.txt", "folder", nullptr},
      {"onto itself", "source.txt", "source.txt", nullptr},
      {"onto itself, other spelling", "source.txt", "folder/../source.txt", nullptr},
      {"read-only target", "source.txt", "old.txt",
       [](const TempFolder& temp) {
         namespace fs = std::filesystem;
         fs::permissions(temp / "old.txt",
                         fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                         fs::perm_options::remove);
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TempFolder temp;
    WriteFile(temp / "source.txt", "source bytes");
    WriteFile(temp / "old.txt", "old bytes");
    WriteFile(temp / "folder/inside.txt", "inside");
    if (row.prepare) row.prepare(temp);
    const Names before = NamesIn(temp.path());

    EXPECT_FALSE(platform::CopyFileReplacing(temp / row.source, temp / row.target));
    EXPECT_EQ(NamesIn(temp.path()), before);
    EXPECT_EQ(NamesIn(temp / "folder"), Names{"inside.txt"});
    EXPECT_EQ(ReadFile(temp / "source.txt"), "source bytes");
    EXPECT_EQ(ReadFile(temp / "old.txt"), "old bytes");
    EXPECT_EQ(ReadFile(temp / "folder/inside.txt"), "inside");
  }
}

TEST(FilesRemove, RemovesFilesOnly) {
  TempFolder temp;
  WriteFile(temp / "file.txt", "x");
  WriteFile(temp / "folder/inside.txt", "y");
  EXPECT_TRUE(platform::RemoveFile(temp / "file.txt"));
  EXPECT_FALSE(Exists(temp / "file.txt"));
  EXPECT_FALSE(platform::RemoveFile(temp / "folder"));
  EXPECT_TRUE(platform::IsFolder(temp / "folder"));
  EXPECT_EQ(ReadFile(temp / "folder/inside.txt"), "y");
  EXPECT_FALSE(platform::RemoveFile(temp / "file.txt"));
  EXPECT_EQ(NamesIn(temp.path()), Names{"folder"});
}

TEST(FilesMakeFolders, CreatesMissingParents) {
  TempFolder temp;
  WriteFile(temp / "file.txt", "x");
  MakeFolder(temp / "existing");
  struct Row {
    std::string relative;
    bool made;
  };
  const Row rows[] = {
      {"a/b/c", true},
      {"a/b/d/", true},  // a trailing separator is fine
      {"existing", true},
      {"existing/new", true},
      {"file.txt/sub", false},
      {"file.txt", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.relative);
    EXPECT_EQ(platform::MakeFolders(temp / row.relative), row.made);
    EXPECT_EQ(platform::IsFolder(temp / row.relative), row.made);
  }
  EXPECT_EQ(ReadFile(temp / "file.txt"), "x");
  EXPECT_EQ(NamesIn(temp / "a/b"), (Names{"c", "d"}));
}

}  // namespace
