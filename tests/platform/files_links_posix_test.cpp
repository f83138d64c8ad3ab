// What only Linux has: symbolic and hard links, permission bits, times in
// nanoseconds, named pipes, UTF-8 names.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_ops.h"
#include "platform/file_query.h"
#include "tests/platform/files_test_helpers.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using files_test::NamesIn;
using testing_support::Exists;
using testing_support::MakeFolder;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;
using Names = std::vector<std::string>;

struct stat StatOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
  return info;
}

TEST(FilesLinks, CopyKeepsPermissionsAndTimes) {
  const mode_t modes[] = {0600, 0640, 0755, 0444, 01750};
  for (const mode_t mode : modes) {
    SCOPED_TRACE(mode);
    TempFolder temp;
    const std::string source = temp / "source.sh";
    WriteFile(source, "#!/bin/sh\n");
    WriteFile(temp / "target.sh", "old");  // replaced: its own mode must not stay
    ASSERT_EQ(chmod(source.c_str(), mode), 0);
    const timespec times[2] = {{1'000'000'000, 123'456'789}, {1'234'567'890, 987'654'321}};
    ASSERT_EQ(utimensat(AT_FDCWD, source.c_str(), times, 0), 0);

    ASSERT_TRUE(platform::CopyFileReplacing(source, temp / "target.sh"));
    const struct stat copy = StatOf(temp / "target.sh");
    EXPECT_EQ(copy.st_mode & 07777, mode);
    EXPECT_EQ(copy.st_mtim.tv_sec, times[1].tv_sec);
    EXPECT_EQ(copy.st_mtim.tv_nsec, times[1].tv_nsec);
    EXPECT_EQ(ReadFile(temp / "target.sh"), "#!/bin/sh\n");
    EXPECT_EQ(NamesIn(temp.path()), (Names{"source.sh", "target.sh"}));
  }
}

TEST(FilesLinks, CopyFollowsALinkGivenAsSource) {
  TempFolder temp;
  WriteFile(temp / "real.txt", "real content");
  fs::create_symlink(temp / "real.txt", temp / "link.txt");
  ASSERT_TRUE(platform::CopyFileReplacing(temp / "link.txt", temp / "copy.txt"));
  EXPECT_TRUE(S_ISREG(StatOf(temp / "copy.txt").st_mode));
  EXPECT_EQ(ReadFile(temp / "copy.txt"), "real content");
  EXPECT_TRUE(S_ISLNK(StatOf(temp / "link.txt").st_mode));
}

// A link as target is an entry of its own: the copy replaces the link and
// leaves whatever it pointed to alone (a dangling one is not followed to
// create its target).
TEST(FilesLinks, CopyReplacesALinkGivenAsTarget) {
  TempFolder temp;
  WriteFile(temp / "source.txt", "new");
  WriteFile(temp / "other.txt", "other");
  fs::create_symlink(temp / "other.txt", temp / "to-other");
  fs::create_symlink(temp / "nothing.txt", temp / "dangling");
  for (const char* link : {"to-other", "dangling"}) {
    SCOPED_TRACE(link);
    ASSERT_TRUE(platform::CopyFileReplacing(temp / "source.txt", temp / link));
    EXPECT_TRUE(S_ISREG(StatOf(temp / link).st_mode));
    EXPECT_EQ(ReadFile(temp / link), "new");
  }
  EXPECT_EQ(ReadFile(temp / "other.txt"), "other");
  EXPECT_EQ(NamesIn(temp.path()), (Names{"dangling", "other.txt", "source.txt", "to-other"}));
}

TEST(FilesLinks, CopyRefusesWhatIsNotARegularFile) {
  TempFolder temp;
  ASSERT_EQ(mkfifo((temp / "pipe").c_str(), 0600), 0);
  fs::create_symlink(temp / "nothing.txt", temp / "dangling");
  // A pipe without a writer would block a plain open for reading.
  EXPECT_FALSE(platform::CopyFileReplacing(temp / "pipe", temp / "target"));
  EXPECT_FALSE(platform::CopyFileReplacing(temp / "dangling", temp / "target"));
  EXPECT_EQ(NamesIn(temp.path()), (Names{"dangling", "pipe"}));
}

TEST(FilesLinks, LinksAndIdentity) {
  TempFolder temp;
  WriteFile(temp / "file.txt", "x");
  MakeFolder(temp / "folder");
  ASSERT_EQ(link((temp / "file.txt").c_str(), (temp / "hard.txt").c_str()), 0);
  fs::create_symlink(temp / "file.txt", temp / "soft.txt");
  fs::create_symlink(temp / "folder", temp / "to-folder");
  fs::create_symlink(temp / "missing.txt", temp / "dangling");

  EXPECT_TRUE(platform::IsSameFile(temp / "hard.txt", temp / "file.txt"));
  EXPECT_TRUE(platform::IsSameFile(temp / "soft.txt", temp / "file.txt"));
  EXPECT_TRUE(platform::IsSameFile(temp / "to-folder", temp / "folder"));
  EXPECT_FALSE(platform::IsSameFile(temp / "dangling", temp / "dangling"));

  // A dangling link exists (as a link), but is no folder.
  EXPECT_TRUE(platform::PathExists(temp / "dangling"));
  EXPECT_FALSE(platform::IsFolder(temp / "dangling"));
  EXPECT_TRUE(platform::IsFolder(temp / "to-folder"));
  EXPECT_EQ(platform::ShortPathOf(temp / "dangling", 1022), temp / "dangling");
}

TEST(FilesLinks, RemoveTakesTheLinkNotItsTarget) {
  TempFolder temp;
  WriteFile(temp / "file.txt", "kept");
  WriteFile(temp / "folder/inside.txt", "kept too");
  fs::create_symlink(temp / "file.txt", temp / "soft.txt");
  fs::create_symlink(temp / "folder", temp / "to-folder");
  fs::create_symlink(temp / "missing.txt", temp / "dangling");
  for (const char* link : {"soft.txt", "to-folder", "dangling"}) {
    SCOPED_TRACE(link);
    EXPECT_TRUE(platform::RemoveFile(temp / link));
    EXPECT_FALSE(Exists(temp / link));
  }
  EXPECT_EQ(ReadFile(temp / "file.txt"), "kept");
  EXPECT_EQ(ReadFile(temp / "folder/inside.txt"), "kept too");
}

TEST(FilesLinks, QuestionMarkStandsForOneCharacterNotOneByte) {
  TempFolder temp;
  WriteFile(temp / "\xC3\xA4.txt", "");        // "ä.txt"
  WriteFile(temp / "only/\xE2\x82\xAC", "");  // "€"
  struct Row {
    std::string pattern;
    bool matches;
  };
  const Row rows[] = {
      {"?.txt", true},
      {"??.txt", false},
      {"\xC3\xA4.TXT", true},
      {"only/?", true},
      {"only/??", false},
      {"only/???", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.pattern);
    EXPECT_EQ(platform::PatternMatches(temp / row.pattern), row.matches);
  }
}

TEST(FilesLinks, PatternWithoutFolderLooksInTheCurrentFolder) {
  TempFolder temp;
  WriteFile(temp / "here.txt", "");
  const auto previous = fs::current_path();
  fs::current_path(temp.path());
  const bool found = platform::PatternMatches("*.txt");
  const bool not_found = platform::PatternMatches("*.doc");
  fs::current_path(previous);
  EXPECT_TRUE(found);
  EXPECT_FALSE(not_found);
}

}  // namespace
