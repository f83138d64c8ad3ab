// Copy and move cases that depend on Windows file attributes.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/actions/actions_fixture.h"

namespace {

using testing_support::Exists;
using testing_support::ReadFile;

using CopyMoveWin32Test = ActionTest;

// Within a volume a read-only file is renamed like any other; from another
// volume it is copied, and then it cannot be deleted: both stay, and the box
// says why.
TEST_F(CopyMoveWin32Test, AReadOnlySourceMovesByRenameOrStaysWithItsCopy) {
  const std::unique_ptr<testing_support::TempFolder> other =
      testing_support::OtherVolumeFolder(folder_);
  if (!other) GTEST_SKIP() << "no second volume";
  Quietly(3);
  for (const std::string& from : {folder_ / "src", other->path() + "src"}) {
    SCOPED_TRACE(from);
    const bool same_volume = from == folder_ / "src";
    const std::string source = from + "\\ro.txt";
    testing_support::WriteFile(source, "read only");
    ASSERT_TRUE(SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::string target = SettingsRecord.MoveDestination + "ro.txt";
    Drop({source});
    EXPECT_EQ(ReadFile(target), "read only");
    EXPECT_EQ(Exists(source), !same_volume);
    EXPECT_EQ(BoxTexts(), same_volume ? std::vector<std::string>{}
                                      : std::vector<std::string>{FailureBox(
                                            kOriginalKept, source,
                                            platform::SystemErrorText(ERROR_ACCESS_DENIED))});
    SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(target.c_str());
  }
}

TEST_F(CopyMoveWin32Test, AReadOnlyTargetStaysAsItWas) {
  Quietly(2, 1);
  const std::string source = MakeFile("src/t.txt", "new");
  const std::string target = SettingsRecord.CopyDestination + "t.txt";
  testing_support::WriteFile(target, "protected");
  ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
  Drop({source});
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{FailureBox(
                            kCopyFailed, source, ReasonText(platform::Failure::kTargetProtected))});
  EXPECT_EQ(ReadFile(target), "protected");
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(CopyMoveWin32Test, TheSameFileSpelledDifferentlyIsStillItself) {
  Quietly(3);
  const std::string source = MakeFile("moved/Same.TXT", "keep me");
  // Windows names ignore case: the lower-case spelling is the very same file.
  std::string other = SettingsRecord.MoveDestination + "same.txt";
  Drop({other});
  const std::string reason = ReasonText(platform::Failure::kSameFile);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{FailureBox(kMoveFailed, other, reason)});
  EXPECT_EQ(ReadFile(source), "keep me");
}

}  // namespace
