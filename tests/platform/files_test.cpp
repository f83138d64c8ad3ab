// Questions about files and changes to them, against real temporary folders,
// in both builds. Every copy lists its folder afterwards: a temporary left
// behind would show there.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_ops.h"
#include "platform/file_query.h"
#include "platform/known_folders.h"
#include "tests/platform/files_test_helpers.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_names.h"

namespace {

using files_test::NamesIn;
namespace fs = std::filesystem;
using namespace testing_support;
using Names = std::vector<std::string>;

// Only Windows has patterns: there a name without wildcards matches just
// itself, "." and ".." are no entries of an empty folder, and "*.*" takes
// names without a dot. Elsewhere "*" and "?" are ordinary characters.
TEST(FilesQuery, ExistenceFoldersAndPatterns) {
  TempFolder temp;
  WriteFile(temp / "notes.txt", "");
  MakeFolder(temp / "empty");
  WriteFile(temp / "plain/README", "");
  const struct {
    std::string relative;
    bool exists, folder, matches;
  } rows[] = {
      {"notes.txt", true, false, true},   {"empty", true, true, true},
      {"missing.txt", false, false, false}, {"*.txt", false, false, true},
      {"*.doc", false, false, false},     {"note?.txt", false, false, true},
      {"??otes.txt", false, false, false}, {"*.TXT", false, false, true},
      {"empty/*", false, false, false},   {"empty/?", false, false, false},
      {"plain/*.*", false, false, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.relative);
    EXPECT_EQ(platform::PathExists(temp / row.relative), row.exists);
    EXPECT_EQ(platform::IsFolder(temp / row.relative), row.folder);
#ifdef _WIN32
    EXPECT_EQ(platform::PatternMatches(temp / row.relative), row.matches);
#endif
  }
}

TEST(FilesQuery, ShortPathOfExistingPathsOnly) {
  TempFolder temp;
  const std::string path = temp / "a long name.txt";
  WriteFile(path, "l");
  EXPECT_EQ(platform::ShortPathOf(temp / "missing.txt", 1022), "");
  const std::string short_path = platform::ShortPathOf(path, 1022);
  ASSERT_FALSE(short_path.empty());
  EXPECT_TRUE(platform::IsSameFile(short_path, path));
  // The limit counts characters: a form of exactly that length is given, one
  // character more is not.
  const int length = static_cast<int>(short_path.size());
  EXPECT_EQ(platform::ShortPathOf(path, length), short_path);
  EXPECT_EQ(platform::ShortPathOf(path, length - 1), "");
}

TEST(FilesQuery, IsSameFileByIdentity) {
  TempFolder temp;
  WriteFile(temp / "dir/f.txt", "same");
  WriteFile(temp / "dir/g.txt", "same");
  const std::string f = temp / "dir/f.txt";
  const std::string missing = temp / "dir/missing.txt";
  const struct {
    const char* what;
    std::string a, b;
    bool same;
  } rows[] = {
      {"same path", f, f, true},
      {"other spelling", temp / "dir/../dir/f.txt", f, true},
      {"equal content, other file", f, temp / "dir/g.txt", false},
      {"one missing", f, missing, false},
      {"both missing", missing, missing, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(platform::IsSameFile(row.a, row.b), row.same);
  }
}

TEST(FilesCopy, MakesByteExactCopies) {
  std::string large((1 << 20) + 3, '\0');  // bytes that show a shifted or cut copy
  for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 + i / 256);
  const struct {
    const char* what;
    std::string content;
    std::optional<std::string> old_target;
  } rows[] = {
      {"new target", large, std::nullopt},
      {"larger file replaces a target", large, "old"},
      {"empty file replaces a target", "", "old content"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    TempFolder temp;
    WriteFile(temp / "source.bin", row.content);
    if (row.old_target) WriteFile(temp / "target.bin", *row.old_target);
    ASSERT_TRUE(platform::CopyFileTo(temp / "source.bin", temp / "target.bin",
                                     platform::ExistingTarget::kReplace));
    EXPECT_TRUE(ReadFile(temp / "target.bin") == row.content);
    EXPECT_TRUE(ReadFile(temp / "source.bin") == row.content);
    EXPECT_EQ(NamesIn(temp.path()), (Names{"source.bin", "target.bin"}));
  }
}

// Each refusal leaves the folder as it was: same names, same contents.
TEST(FilesCopy, RefusesAndTouchesNothing) {
  const struct {
    const char* what;
    std::string source, target;
    bool read_only;
    platform::ExistingTarget existing = platform::ExistingTarget::kReplace;
  } rows[] = {
      {"source is a folder", "folder", "target.txt", false},
      {"source missing", "missing.txt", "target.txt", false},
      {"target folder missing", "source.txt", "nowhere/target.txt", false},
      {"onto itself", "source.txt", "source.txt", false},
      {"read-only target", "source.txt", "old.txt", true},
      {"existing target to be kept", "source.txt", "old.txt", false,
       platform::ExistingTarget::kKeep},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    TempFolder temp;
    WriteFile(temp / "source.txt", "source bytes");
    WriteFile(temp / "old.txt", "old bytes");
    WriteFile(temp / "folder/inside.txt", "inside");
    if (row.read_only) fs::permissions(temp / "old.txt", fs::perms::owner_read);
    EXPECT_FALSE(platform::CopyFileTo(temp / row.source, temp / row.target, row.existing));
    EXPECT_EQ(NamesIn(temp.path()), (Names{"folder", "old.txt", "source.txt"}));
    EXPECT_EQ(NamesIn(temp / "folder"), Names{"inside.txt"});
    EXPECT_EQ(ReadFile(temp / "source.txt"), "source bytes");
    EXPECT_EQ(ReadFile(temp / "old.txt"), "old bytes");
  }
}

// Names in any script and paths far beyond the old limit of 260 characters
// pass through every file operation whole.
TEST(FilesNames, AnyScriptAndAnyLength) {
  TempFolder temp;
  for (const TestName& row : NamesInEveryScript(temp)) {
    SCOPED_TRACE(row.what);
    const std::string folder = temp / row.folder;
    const std::string source = temp / (row.folder + "/" + row.name);
    const std::string copy = temp / (row.folder + "/copy " + row.name);
    WriteFile(source, row.what);
    EXPECT_TRUE(platform::PathExists(source));
    EXPECT_TRUE(platform::IsFolder(folder));
#ifdef _WIN32
    EXPECT_TRUE(platform::PatternMatches(temp / (row.folder + "/*.txt")));
#endif
    EXPECT_TRUE(platform::IsSameFile(platform::ShortPathOf(source, 4000), source));
    ASSERT_TRUE(platform::CopyFileTo(source, copy, platform::ExistingTarget::kKeep));
    EXPECT_EQ(ReadFile(copy), row.what);
    EXPECT_TRUE(platform::RemoveFile(copy));
    EXPECT_TRUE(platform::MoveToTrash(source));
    EXPECT_EQ(NamesIn(folder), Names{}) << "nothing is left, no temporary either";
  }
}

TEST(FilesRemove, RemovesFilesOnly) {
  TempFolder temp;
  WriteFile(temp / "file.txt", "x");
  WriteFile(temp / "folder/inside.txt", "y");
  EXPECT_TRUE(platform::RemoveFile(temp / "file.txt"));
  EXPECT_FALSE(Exists(temp / "file.txt"));
  EXPECT_FALSE(platform::RemoveFile(temp / "folder"));
  EXPECT_EQ(ReadFile(temp / "folder/inside.txt"), "y");
  EXPECT_FALSE(platform::RemoveFile(temp / "file.txt")) << "missing";
}

TEST(FilesMakeFolders, CreatesMissingParents) {
  TempFolder temp;
  WriteFile(temp / "file.txt", "x");
  const struct {
    std::string relative;
    bool made;
  } rows[] = {{"a/b/c", true}, {"a/b/d/", true}, {"file.txt/sub", false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.relative);
    EXPECT_EQ(platform::MakeFolders(temp / row.relative), row.made);
    EXPECT_EQ(platform::IsFolder(temp / row.relative), row.made);
  }
  EXPECT_EQ(ReadFile(temp / "file.txt"), "x");
}

}  // namespace
