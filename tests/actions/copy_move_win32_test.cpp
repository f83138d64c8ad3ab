// Copy and move cases that depend on Windows file attributes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/actions/actions_fixture.h"

namespace {

using testing_support::Exists;
using testing_support::ReadFile;

using CopyMoveWin32Test = ActionTest;

TEST_F(CopyMoveWin32Test, AMoveWhoseSourceCannotBeDeletedKeepsBothAndSaysSo) {
  Quietly(3);
  const std::string source = MakeFile("src/ro.txt", "read only");
  ASSERT_TRUE(SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY));
  Drop({source});
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{kOriginalKept});
  EXPECT_EQ(ReadFile(SettingsRecord.MoveDestination + "ro.txt"), "read only");
  EXPECT_EQ(ReadFile(source), "read only");
  SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(CopyMoveWin32Test, AReadOnlyTargetStaysAsItWas) {
  Quietly(2, 1);
  const std::string source = MakeFile("src/t.txt", "new");
  const std::string target = SettingsRecord.CopyDestination + "t.txt";
  testing_support::WriteFile(target, "protected");
  ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
  Drop({source});
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{kCopyFailed});
  EXPECT_EQ(ReadFile(target), "protected");
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(CopyMoveWin32Test, TheSameFileSpelledDifferentlyIsStillItself) {
  Quietly(3);
  const std::string source = MakeFile("moved/Same.TXT", "keep me");
  // Windows names ignore case: the lower-case spelling is the very same file.
  std::string other = SettingsRecord.MoveDestination + "same.txt";
  Drop({other});
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{kMoveFailed});
  EXPECT_EQ(ReadFile(source), "keep me");
}

}  // namespace
