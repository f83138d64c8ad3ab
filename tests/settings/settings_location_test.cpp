#include "settings/settings_location.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

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
  void RemoveSettingsFiles() {
    std::remove((program_ + "Quorlith.ini").c_str());
    std::remove((user_ + "Quorlith.ini").c_str());
  }

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
  const struct {
    const char* name;
    std::vector<std::string> present;
    std::string program_folder;
    std::string found;
  } cases[] = {
      {"both there", {beside, per_user}, program_, beside},
      {"the per-user one only", {per_user}, program_, per_user},
      {"none yet", {}, program_, beside},
      {"none yet, installed program", {}, "", per_user},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RemoveSettingsFiles();
    for (const std::string& file : c.present) WriteFile(file, "[Coordinates]\n");
    EXPECT_EQ(FindSettingsFile(c.program_folder, user_, "Quorlith"), c.found);
    EXPECT_EQ(Exists(beside) + Exists(per_user), static_cast<int>(c.present.size()));
  }
}

}  // namespace
