// Moving to the freedesktop.org Trash, with XDG_DATA_HOME pointed at a
// temporary folder so that the user's own Trash is never touched.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "platform/file_ops.h"
#include "tests/platform/files_test_helpers.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using files_test::ScopedEnv;
using testing_support::Exists;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

// The data folder does not exist beforehand: it is made on the way. The
// tests run in a folder of their own, which must stay empty (Qt falls back
// to trashing below the current folder when it finds no Trash).
class FilesTrash : public ::testing::Test {
 protected:
  FilesTrash() : data_home_("XDG_DATA_HOME", temp_ / "data") {
    testing_support::MakeFolder(temp_ / "cwd");
    previous_folder_ = fs::current_path();
    fs::current_path(temp_ / "cwd");
  }
  ~FilesTrash() override {
    fs::current_path(previous_folder_);
    EXPECT_TRUE(fs::is_empty(temp_ / "cwd"));
  }

  std::string Trashed(const std::string& name) const { return temp_ / ("data/Trash/files/" + name); }
  std::string TrashInfo(const std::string& name) const {
    return ReadFile(temp_ / ("data/Trash/info/" + name + ".trashinfo"));
  }

  TempFolder temp_;
  ScopedEnv data_home_;
  fs::path previous_folder_;
};

TEST_F(FilesTrash, MovesAFileWithItsInfo) {
  const std::string path = temp_ / "work/report.txt";
  WriteFile(path, "report");
  ASSERT_TRUE(platform::MoveToTrash(path));
  EXPECT_FALSE(Exists(path));
  EXPECT_EQ(ReadFile(Trashed("report.txt")), "report");
  const std::string info = TrashInfo("report.txt");
  EXPECT_NE(info.find("[Trash Info]"), std::string::npos) << info;
  EXPECT_NE(info.find("Path=" + path + "\n"), std::string::npos) << info;
  EXPECT_NE(info.find("DeletionDate="), std::string::npos) << info;
}

TEST_F(FilesTrash, MovesAFolder) {
  WriteFile(temp_ / "work/album/one.jpg", "1");
  ASSERT_TRUE(platform::MoveToTrash(temp_ / "work/album"));
  EXPECT_FALSE(Exists(temp_ / "work/album"));
  EXPECT_EQ(ReadFile(Trashed("album/one.jpg")), "1");
}

TEST_F(FilesTrash, UnusualNamesArriveUnchanged) {
  // A UTF-8 name with a space and a percent sign: the info file encodes it,
  // the trashed entry keeps it.
  const std::string name = "Gr\xC3\xBC\xC3\x9F" "e 100%.txt";
  WriteFile(temp_ / ("work/" + name), "hello");
  ASSERT_TRUE(platform::MoveToTrash(temp_ / ("work/" + name)));
  EXPECT_FALSE(Exists(temp_ / ("work/" + name)));
  EXPECT_EQ(ReadFile(Trashed(name)), "hello");
  EXPECT_NE(TrashInfo(name).find("Path="), std::string::npos);
}

TEST_F(FilesTrash, ALinkGoesAsALinkAndItsTargetStays) {
  WriteFile(temp_ / "work/real.txt", "real");
  fs::create_symlink(temp_ / "work/real.txt", temp_ / "work/link.txt");
  ASSERT_TRUE(platform::MoveToTrash(temp_ / "work/link.txt"));
  EXPECT_FALSE(Exists(temp_ / "work/link.txt"));
  EXPECT_EQ(ReadFile(temp_ / "work/real.txt"), "real");
  struct stat info {};
  ASSERT_EQ(lstat(Trashed("link.txt").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST_F(FilesTrash, NothingIsTrashedWithoutAHomeTrash) {
  WriteFile(temp_ / "blocker", "a file where the data folder's parent should be");
  ScopedEnv data_home("XDG_DATA_HOME", temp_ / "blocker/data");
  WriteFile(temp_ / "work/keep.txt", "keep");
  EXPECT_FALSE(platform::MoveToTrash(temp_ / "work/keep.txt"));
  EXPECT_EQ(ReadFile(temp_ / "work/keep.txt"), "keep");
}

TEST_F(FilesTrash, MissingPathFails) {
  EXPECT_FALSE(platform::MoveToTrash(temp_ / "work/missing.txt"));
  EXPECT_FALSE(Exists(temp_ / "data/Trash/files/missing.txt"));
}

}  // namespace
