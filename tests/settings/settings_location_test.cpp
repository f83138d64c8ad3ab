#include "settings/settings_location.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/settings_file.h"
#include "tests/settings/settings_numbers.h"
#include "tests/support/temp_folder.h"

namespace {

using testing_support::Exists;
using testing_support::ReadFile;

// A file beside the program wins, then one in the per-user folder, and a
// start uses the file FindSettingsFile names. A first start writes beside the
// program, else per user, else keeps the first-run values in memory. A file
// that cannot be used gives the first-run values and stays as it is.
TEST(SettingsLocation, BesideTheProgramThenPerUserThenMemory) {
  enum Kind { kNone, kFile, kFolder, kBlocked, kUnknown };
  const struct {
    const char* name;
    Kind beside, per_user;
    SettingsPlace place;
    int w;
  } cases[] = {
      {"both files: beside wins", kFile, kFile, SettingsPlace::BesideProgram, 41},
      {"only the per-user file", kNone, kFile, SettingsPlace::PerUser, 99},
      {"first start", kNone, kNone, SettingsPlace::BesideProgram, 75},
      {"the installed program", kUnknown, kNone, SettingsPlace::PerUser, 75},
      {"program folder not writable", kBlocked, kNone, SettingsPlace::PerUser, 75},
      {"a folder in the file's place", kFolder, kNone, SettingsPlace::BesideProgram, 75},
      {"nowhere to write", kBlocked, kBlocked, SettingsPlace::MemoryOnly, 75},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing_support::TempFolder root;
    // A folder that can never be made, even by root: its parent is a file.
    testing_support::WriteFile(root / "a-file", "");
    const std::string program = c.beside == kUnknown ? ""
                                : c.beside == kBlocked ? root / "a-file/program/"
                                                       : root / "program/";
    const std::string user = c.per_user == kBlocked ? root / "a-file/user/" : root / "user/";
    if (c.beside == kNone) testing_support::MakeFolder(program);
    if (c.beside == kFolder) testing_support::MakeFolder(program + "Quorlith.ini");
    if (c.beside == kFile) testing_support::WriteFile(program + "Quorlith.ini", "[Coordinates]\nw=41\n");
    if (c.per_user == kFile) testing_support::WriteFile(user + "Quorlith.ini", "[Coordinates]\nw=99\n");
    SettingsRecord = Settings{};
    const std::string found = FindSettingsFile(program, user, "Quorlith");
    EXPECT_FALSE(c.per_user != kFile && Exists(user));  // looking writes nothing
    EXPECT_EQ(PrepareSettingsIn(program, user, "Quorlith"), c.place);
    const bool per_user = c.place == SettingsPlace::PerUser;
    EXPECT_EQ(IniPath, (per_user ? user : program) + "Quorlith.ini");
    EXPECT_TRUE(IniPath == found || c.beside == kBlocked);
    EXPECT_EQ(Exists(user), per_user || c.per_user == kFile);
    const std::vector<int> from_file = {0, 0, c.w, 0, 0, 0, 0, 1, 1, 1, 0, 1, 1, 1, 1, 0};
    EXPECT_EQ(Numbers(SettingsRecord), c.w == 75 ? kFirstRun : from_file);
    EXPECT_EQ(SettingsRecord.MoveDestination, DesktopDir + kSep);
    EXPECT_TRUE(c.beside != kFile || ReadFile(IniPath) == "[Coordinates]\nw=41\n");
    EXPECT_EQ(LoadProblem == SettingsProblem::NotAFile, c.beside == kFolder);
    EXPECT_TRUE(c.beside != kFolder || std::filesystem::is_empty(IniPath));
  }
}

}  // namespace
