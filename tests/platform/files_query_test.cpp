// Questions about files against real temporary folders, in both builds.
#include <gtest/gtest.h>

#include <string>

#include "platform/file_query.h"
#include "tests/support/temp_folder.h"
#include "text/file_system.h"

namespace {

using testing_support::MakeFolder;
using testing_support::TempFolder;
using testing_support::WriteFile;

TEST(FilesQuery, ExistenceAndFolders) {
  TempFolder temp;
  WriteFile(temp / "file.txt", "x");
  MakeFolder(temp / "folder");
  const std::string sep(1, NativeSeparator());
  struct Row {
    std::string path;
    bool exists;
    bool folder;
  };
  const Row rows[] = {
      {temp / "file.txt", true, false},
      {temp / "folder", true, true},
      {temp / "folder" + sep, true, true},
      {temp / "missing.txt", false, false},
      {temp / "missing/file.txt", false, false},
      {"", false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(platform::PathExists(row.path), row.exists);
    EXPECT_EQ(platform::IsFolder(row.path), row.folder);
  }
}

TEST(FilesQuery, PatternMatchesLikeWindows) {
  TempFolder temp;
  WriteFile(temp / "notes.txt", "");
  WriteFile(temp / "Photo.JPG", "");
  WriteFile(temp / "a.b.c", "");
  WriteFile(temp / "sub/inner.txt", "");
  MakeFolder(temp / "empty");
  WriteFile(temp / "plain/README", "");
  WriteFile(temp / "hidden/.secret", "");
  struct Row {
    std::string pattern;  // relative to the temporary folder
    bool matches;
  };
  const Row rows[] = {
      {"*.txt", true},
      {"*.doc", false},
      {"*e*s*", true},
      {"note?.txt", true},
      {"?otes.txt", true},
      {"n?tes.txt", true},
      {"notes.tx?", true},
      {"??otes.txt", false},
      {"notes.txt?x", false},
      // Letters without regard to case.
      {"NOTES.TXT", true},
      {"*.jpg", true},
      {"photo.j?g", true},
      // The last dot-part is the extension, but "*" spans dots.
      {"*.c", true},
      {"a.*", true},
      {"*.b", false},
      // "." and ".." are not entries: an empty folder has no match.
      {"empty/*", false},
      {"empty/*.*", false},
      {"empty/?", false},
      // "*.*" matches names without a dot too, as on Windows.
      {"plain/*.*", true},
      {"plain/README.*", true},
      {"hidden/*", true},
      {"hidden/.s*", true},
      // Wildcards are not expanded in folder parts.
      {"*/inner.txt", false},
      {"su?/inner.txt", false},
      {"s*/*.txt", false},
      {"sub/*.txt", true},
      {"missing/*.txt", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.pattern);
    EXPECT_EQ(platform::PatternMatches(temp / row.pattern), row.matches);
  }
}

TEST(FilesQuery, ShortPathOfExistingPathsOnly) {
  TempFolder temp;
  WriteFile(temp / "short.txt", "s");
  WriteFile(temp / "a long name.txt", "l");
  EXPECT_EQ(platform::ShortPathOf(temp / "missing.txt", 1022), "");
  for (const std::string name : {"short.txt", "a long name.txt"}) {
    SCOPED_TRACE(name);
    const std::string path = temp / name;
    const std::string short_path = platform::ShortPathOf(path, 1022);
    ASSERT_FALSE(short_path.empty());
    EXPECT_TRUE(platform::IsSameFile(short_path, path));
    // The limit counts characters: a form of exactly that length is given,
    // one character more is not.
    const int length = static_cast<int>(short_path.size());
    EXPECT_EQ(platform::ShortPathOf(path, length), short_path);
    EXPECT_EQ(platform::ShortPathOf(path, length - 1), "");
  }
  EXPECT_EQ(platform::ShortPathOf(temp / "short.txt", 0), "");
}

TEST(FilesQuery, IsSameFileByIdentity) {
  TempFolder temp;
  WriteFile(temp / "dir/f.txt", "same");
  WriteFile(temp / "dir/g.txt", "same");
  const std::string f = temp / "dir/f.txt";
  struct Row {
    const char* what;
    std::string a;
    std::string b;
    bool same;
  };
  const Row rows[] = {
      {"same path", f, f, true},
      {"other spelling", temp / "dir/../dir/f.txt", f, true},
      {"folder with itself", temp / "dir", temp / "dir/../dir", true},
      {"equal content, other file", f, temp / "dir/g.txt", false},
      {"file and its folder", f, temp / "dir", false},
      {"second missing", f, temp / "dir/missing.txt", false},
      {"first missing", temp / "dir/missing.txt", f, false},
      {"both missing", temp / "dir/missing.txt", temp / "dir/missing.txt", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(platform::IsSameFile(row.a, row.b), row.same);
  }
}

TEST(FilesQuery, ExecutablePathNamesThisProgram) {
  const std::string exe = platform::ExecutablePath();
  ASSERT_FALSE(exe.empty());
  EXPECT_TRUE(platform::PathExists(exe));
  EXPECT_FALSE(platform::IsFolder(exe));
  const std::string name = exe.substr(exe.find_last_of(NativeSeparator()) + 1);
  EXPECT_EQ(name.rfind("quorlith_platform_tests", 0), 0u) << exe;
}

}  // namespace
