#include "settings/settings_location.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/settings_file.h"
#include "settings/settings_record.h"
#include "tests/support/temp_folder.h"
#include "text/file_system.h"

namespace {

using testing_support::Exists;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

class LocationTest : public ::testing::Test {
 protected:
  void SetUp() override { SettingsRecord = Settings{}; }

  TempFolder root_;
  std::string program_ = root_ / "program/";
  std::string user_ = root_ / "config/quorlith/";
  // A folder that can never be made, even by root: its parent is a file.
  std::string blocked_ = root_ / "a-file/folder/";
};

TEST_F(LocationTest, TheFileBesideTheProgramWinsAndIsOnlyRead) {
  WriteFile(program_ + "Quorlith.ini", "[Coordinates]\nw=41\n");
  WriteFile(user_ + "Quorlith.ini", "[Coordinates]\nw=99\n");
  EXPECT_EQ(PrepareSettingsIn(program_, user_, "Quorlith"), SettingsPlace::BesideProgram);
  EXPECT_EQ(IniPath, program_ + "Quorlith.ini");
  EXPECT_EQ(SettingsRecord.w, 41);
  EXPECT_EQ(ReadFile(IniPath), "[Coordinates]\nw=41\n");
}

TEST_F(LocationTest, AnExistingPerUserFileIsUsedWhenNoneIsBesideTheProgram) {
  testing_support::MakeFolder(program_);
  WriteFile(user_ + "Quorlith.ini", "[Coordinates]\nw=99\n");
  EXPECT_EQ(PrepareSettingsIn(program_, user_, "Quorlith"), SettingsPlace::PerUser);
  EXPECT_EQ(IniPath, user_ + "Quorlith.ini");
  EXPECT_EQ(SettingsRecord.w, 99);
  EXPECT_FALSE(Exists(program_ + "Quorlith.ini"));
}

TEST_F(LocationTest, FirstStartWritesTheFileBesideTheProgram) {
  testing_support::MakeFolder(program_);
  EXPECT_EQ(PrepareSettingsIn(program_, user_, "Quorlith"), SettingsPlace::BesideProgram);
  EXPECT_TRUE(Exists(program_ + "Quorlith.ini"));
  EXPECT_FALSE(Exists(user_));
  EXPECT_EQ(SettingsRecord.w, 75);
  EXPECT_EQ(SettingsRecord.x, 244);
}

TEST_F(LocationTest, AnUnwritableProgramFolderFallsBackToThePerUserFolder) {
  WriteFile(root_ / "a-file", "not a folder");
  EXPECT_EQ(PrepareSettingsIn(blocked_, user_, "Quorlith"), SettingsPlace::PerUser);
  EXPECT_EQ(IniPath, user_ + "Quorlith.ini");
  EXPECT_TRUE(Exists(IniPath));
  EXPECT_EQ(SettingsRecord.w, 75);
  EXPECT_EQ(SettingsRecord.t, 75);
  EXPECT_EQ(SettingsRecord.b, 1);
}

TEST_F(LocationTest, AFolderAsSettingsFileGivesTheFirstRunValuesAndStays) {
  testing_support::MakeFolder(program_ + "Quorlith.ini");
  EXPECT_EQ(PrepareSettingsIn(program_, user_, "Quorlith"), SettingsPlace::BesideProgram);
  EXPECT_EQ(LoadProblem, SettingsProblem::NotAFile);
  const Settings& s = SettingsRecord;
  EXPECT_EQ((std::vector<int>{s.x, s.y, s.w, s.h, s.t, s.b, s.m}),
            (std::vector<int>{244, 200, 75, 75, 75, 1, 1}));
  EXPECT_EQ(s.CopyDestination, DesktopDir + NativeSeparator());
  EXPECT_FALSE(Exists(user_));
}

TEST_F(LocationTest, WithNoWritableFolderTheFirstRunValuesStayInMemory) {
  WriteFile(root_ / "a-file", "not a folder");
  const std::string blocked_user = root_ / "a-file/user/";
  EXPECT_EQ(PrepareSettingsIn(blocked_, blocked_user, "Quorlith"), SettingsPlace::MemoryOnly);
  const Settings& s = SettingsRecord;
  EXPECT_EQ((std::vector<int>{s.x, s.y, s.w, s.h, s.t, s.b, s.m}),
            (std::vector<int>{244, 200, 75, 75, 75, 1, 1}));
  EXPECT_EQ(s.CopyDestination, DesktopDir + NativeSeparator());
  EXPECT_EQ(s.MoveDestination, DesktopDir + NativeSeparator());
}

// The file a start would use is found without writing anything, so a second
// start can find the box that runs over it first.
TEST_F(LocationTest, FindSettingsFileNamesTheFileAStartWouldUseAndWritesNothing) {
  const std::string beside = program_ + "Quorlith.ini";
  const std::string per_user = user_ + "Quorlith.ini";
  EXPECT_EQ(FindSettingsFile(program_, user_, "Quorlith"), beside);
  EXPECT_EQ(FindSettingsFile("", user_, "Quorlith"), per_user);  // the installed program
  EXPECT_FALSE(Exists(beside) || Exists(per_user));
  WriteFile(per_user, "");
  EXPECT_EQ(FindSettingsFile(program_, user_, "Quorlith"), per_user);
  WriteFile(beside, "");
  EXPECT_EQ(FindSettingsFile(program_, user_, "Quorlith"), beside);
}

}  // namespace
