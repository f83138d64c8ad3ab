#include "settings/settings_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/ini_file.h"
#include "settings/settings_location.h"
#include "settings/settings_record.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Exists;
using testing_support::ReadFile;
using testing_support::WriteFile;
using Numbers = std::vector<int>;

#ifdef _WIN32
const std::string kEol = "\r\n", kSep = "\\";
#else
const std::string kEol = "\n", kSep = "/";
#endif
const Numbers kFirstRun = {244, 200, 75, 75, 75, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 0};

// Every number of the record, in file order.
Numbers Record() {
  const Settings& s = SettingsRecord;
  // clang-format off
  return {s.x, s.y, s.w, s.h, s.t, s.b, s.m, s.CommandMode, s.pathaction, s.listseparator,
          s.encase, s.deletetobin, s.confirmdelete, s.confirmcopy, s.confirmmove, s.overwritefile};
  // clang-format on
}

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SettingsRecord = Settings{};
    IniPath = folder_ / "Quorlith.ini";
    DesktopDir = folder_ / "Desk";
  }
  testing_support::TempFolder folder_;
};

// The first-run file holds every key in order; numbers and the rectangle come back whole.
TEST_F(SettingsTest, TheFirstRunFileAndItsRoundTrip) {
  WriteDefaultSettings();
  std::string expected, written = ReadFile(IniPath);
  for (const char c :
       "[Coordinates]|x=244|y=200|w=75|h=75|t=75|b=1|m=1|[Options]|CommandMode=1|"
       "pathaction=1|listseparator=1|encase=0|deletetobin=1|confirmdelete=1|"
       "confirmcopy=1|confirmmove=1|overwritefile=0|CopyDestination=*|"
       "MoveDestination=*|") {
    expected += c == '|' ? kEol : c == '*' ? DesktopDir : std::string(c != 0, c);
  }
#ifdef _WIN32
  // Wine's writer may put a blank line between sections.
  for (size_t at; (at = written.find("\r\n\r\n")) != std::string::npos;) written.erase(at, 2);
#endif
  EXPECT_EQ(written, expected);
  LoadSettings();
  EXPECT_EQ(Record(), kFirstRun);
  EXPECT_EQ(SettingsRecord.CopyDestination, DesktopDir + kSep);
  SaveCoordinates(-10, 20, 75, 75);  // the outer rectangle alone, not the record
  EXPECT_EQ(SettingsRecord.x, 244);
  LoadSettings();
  EXPECT_EQ(Record(), (Numbers{-10, 20, 75, 75, 75, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 0}));
  for (int32_t v : {-7, INT_MAX, INT_MIN}) {  // plain decimal, read back whole
    WriteIniNumber(IniPath, "Coordinates", "t", v);
    EXPECT_STREQ(ReadIniText(IniPath, "Coordinates", "t", "?"), std::to_string(v).c_str());
    EXPECT_EQ(ReadIniNumber(IniPath, "Coordinates", "t", 12345), v);
  }
}

// Missing coordinates stay, options fall back, numbers keep their low bits, garbage is skipped.
TEST_F(SettingsTest, LoadingTakesWhatIsReadable) {
  const std::string all =
      "[Coordinates]\nx=1\ny=2\nw=3\nh=4\nt=5\nb=6\nm=7\n[Options]\nCommandMode=3\npathaction=4\n"
      "listseparator=5\nencase=1\ndeletetobin=0\nconfirmdelete=0\nconfirmcopy=0\nconfirmmove=0\n"
      "overwritefile=1\n";
  const Numbers kept = {1, 2, 3, 4, 5, 6, 7, 1, 1, 1, 0, 1, 1, 1, 1, 0},
                w9h8 = {1, 2, 9, 8, 5, 6, 7, 1, 1, 1, 0, 1, 1, 1, 1, 0},
                mode2 = {1, 2, 3, 4, 5, 6, 7, 2, 1, 1, 0, 1, 1, 1, 1, 0};
  std::string binary;
  for (int c = 1; c < 256; ++c) binary += c == '\n' || c == '\r' ? ' ' : static_cast<char>(c);
  const auto to = [](const std::string& v) {
    return "[Options]\nCopyDestination=" + v + "\nMoveDestination=" + v + "\n";
  };
  const std::string desk = DesktopDir + kSep, d = "D" + kSep + "a" + kSep, d5000(5000, 'd');
  const struct {
    const char* name;
    std::string bytes;
    Numbers numbers;
    std::string destination;
  } cases[] = {{"every key", all, {1, 2, 3, 4, 5, 6, 7, 3, 4, 5, 1, 0, 0, 0, 0, 1}, desk},
               {"field widths",
                "[Coordinates]\nx=70000\ny=40000\nw=-1\nh=65535\nt=99999999999\nb=70000\nm=-5\n"
                "[Options]\nCommandMode=65537\npathaction=65543\nlistseparator=-65535\n"
                "encase=4294967297\noverwritefile=12abc\nconfirmcopy=-\nconfirmmove=0x10\n",
                {4464, -25536, -1, -1, -6145, 70000, -5, 1, 7, 1, 1, 1, 1, 0, 16, 12},
                desk},
               {"empty sections", "[Coordinates]\n[Options]\n", kept, desk},
               {"options only", "[Options]\nCommandMode=2\n", mode2, desk},
               {"binary line", "[Coordinates]\nw=9\n" + binary + "\nh=8\n", w9h8, desk},
               {"no section header", "w=9\nh=8\n", kept, desk},
               {"only garbage", binary, kept, desk},
               {"empty file", "", kept, desk},
               {"separator added", to("D" + kSep + "a"), kept, d},
               {"separator kept", to(d), kept, d},
               {"empty destination", to(""), kept, kSep},
#ifdef _WIN32
               {"only a backslash counts", to("D:/a/"), kept, "D:/a/\\"},
#else
               {"a backslash is a name character", to("/a\\"), kept, "/a\\/"},
#endif
               {"5,000 characters", to(d5000), kept, d5000 + kSep}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(IniPath, all);
    LoadSettings();
    WriteFile(IniPath, c.bytes);
    LoadSettings();
    EXPECT_EQ(Record(), c.numbers);
    EXPECT_EQ(SettingsRecord.CopyDestination, c.destination);
    EXPECT_EQ(SettingsRecord.MoveDestination, c.destination);
  }
}

// A missing file is not made; an unusable one is never read nor written afterwards.
TEST_F(SettingsTest, AnUnusableFileIsNotReadAndNeverWritten) {
  const Numbers defaults = {0, 0, 33, 0, 0, 0, 0, 1, 1, 1, 0, 1, 1, 1, 1, 0};
  SettingsRecord.w = 33;
  LoadSettings();
  EXPECT_EQ(Record(), defaults);
  EXPECT_FALSE(Exists(IniPath));
  const struct {
    const char* name;  // what lies at the settings file's place
    SettingsProblem problem;
  } cases[] = {
      {"a folder", SettingsProblem::NotAFile},
      {"a file of 16 MiB and more", SettingsProblem::TooLarge},
#ifndef _WIN32
      {"a dangling link", SettingsProblem::Unreadable},
      {"a link to a named pipe", SettingsProblem::NotAFile},  // read, it would block the start
#endif
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    IniPath = folder_ / (std::string(c.name) + ".ini");
    const std::string pipe = folder_ / "pipe", name = c.name;
    if (name == "a folder") fs::create_directory(IniPath);
#ifndef _WIN32
    if (name.ends_with("pipe") && mkfifo(pipe.c_str(), 0600) == 0)
      fs::create_symlink(pipe, IniPath);
#endif
    if (c.problem == SettingsProblem::TooLarge) {
      WriteFile(IniPath, "[Coordinates]\nw=9\n" + std::string(16 << 20, ';'));
    }
    if (c.problem == SettingsProblem::Unreadable) fs::create_symlink("/nowhere", IniPath);
    const fs::file_type type = fs::symlink_status(IniPath).type();
    LoadSettings();
    EXPECT_EQ(LoadProblem, c.problem);
    EXPECT_EQ(Record(), defaults);
    EXPECT_EQ(SettingsRecord.CopyDestination, DesktopDir + kSep);
    WriteIniNumber(IniPath, "Coordinates", "w", 5);
    SaveCoordinates(1, 2, 2, 2);
    EXPECT_EQ(fs::symlink_status(IniPath).type(), type);
    EXPECT_TRUE(type != fs::file_type::regular || fs::file_size(IniPath) == (16u << 20) + 18);
    EXPECT_TRUE(type != fs::file_type::directory || fs::is_empty(IniPath));
    EXPECT_TRUE(!name.ends_with("pipe") || fs::is_fifo(pipe));
  }
  fs::remove(IniPath);  // made usable, the file is read again, but not written in this run
  WriteFile(IniPath, "[Coordinates]\nw=9\n");
  WriteIniNumber(IniPath, "Coordinates", "w", 5);
  LoadSettings();
  EXPECT_EQ(LoadProblem, SettingsProblem::None);
  EXPECT_EQ(SettingsRecord.w, 9);
}

// Beside the program, then per user, then first-run values in memory; an
// empty file found is filled in.
TEST(SettingsLocation, BesideTheProgramThenPerUserThenMemory) {
  enum Kind { kNone, kFile, kEmpty, kFolder, kBlocked, kUnknown };
  const struct {
    const char* name;
    Kind beside, per_user;
    SettingsPlace place;
    int w;
  } cases[] = {{"both files: beside wins", kFile, kFile, SettingsPlace::BesideProgram, 41},
               {"only the per-user file", kNone, kFile, SettingsPlace::PerUser, 99},
               {"first start", kNone, kNone, SettingsPlace::BesideProgram, 75},
               {"the installed program", kUnknown, kNone, SettingsPlace::PerUser, 75},
               {"program folder not writable", kBlocked, kNone, SettingsPlace::PerUser, 75},
               {"a folder in the file's place", kFolder, kNone, SettingsPlace::BesideProgram, 75},
               {"nowhere to write", kBlocked, kBlocked, SettingsPlace::MemoryOnly, 75},
               {"an empty file beside", kEmpty, kFile, SettingsPlace::BesideProgram, 75},
               {"an empty per-user file", kNone, kEmpty, SettingsPlace::PerUser, 75}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing_support::TempFolder root;
    WriteFile(root / "a-file", "");  // below a file no folder can be made, even by root
    const std::string program = c.beside == kUnknown   ? ""
                                : c.beside == kBlocked ? root / "a-file/program/"
                                                       : root / "program/";
    const std::string user = c.per_user == kBlocked ? root / "a-file/user/" : root / "user/";
    if (c.beside == kNone) testing_support::MakeFolder(program);
    if (c.beside == kFolder) testing_support::MakeFolder(program + "Quorlith.ini");
    if (c.beside == kFile) WriteFile(program + "Quorlith.ini", "[Coordinates]\nw=41\n");
    if (c.per_user == kFile) WriteFile(user + "Quorlith.ini", "[Coordinates]\nw=99\n");
    if (c.beside == kEmpty) WriteFile(program + "Quorlith.ini", "");
    if (c.per_user == kEmpty) WriteFile(user + "Quorlith.ini", "");
    SettingsRecord = Settings{};
    const std::string found = FindSettingsFile(program, user, "Quorlith");
    EXPECT_FALSE(c.per_user == kNone && Exists(user));  // looking writes nothing
    EXPECT_EQ(PrepareSettingsIn(program, user, "Quorlith"), c.place);
    const bool per_user = c.place == SettingsPlace::PerUser;
    EXPECT_EQ(IniPath, (per_user ? user : program) + "Quorlith.ini");
    EXPECT_TRUE(IniPath == found || c.beside == kBlocked);
    EXPECT_EQ(Exists(user), per_user || c.per_user == kFile);
    const bool filled = c.beside == kEmpty || c.per_user == kEmpty;
    EXPECT_TRUE(!filled || ReadFile(IniPath).starts_with("[Coordinates]" + kEol + "x=244" + kEol));
    const Numbers from_file = {0, 0, c.w, 0, 0, 0, 0, 1, 1, 1, 0, 1, 1, 1, 1, 0};
    EXPECT_EQ(Record(), c.w == 75 ? kFirstRun : from_file);
    EXPECT_EQ(SettingsRecord.MoveDestination, DesktopDir + kSep);
    EXPECT_TRUE(c.beside != kFile || ReadFile(IniPath) == "[Coordinates]\nw=41\n");
    EXPECT_EQ(LoadProblem == SettingsProblem::NotAFile, c.beside == kFolder);
    EXPECT_TRUE(c.beside != kFolder || fs::is_empty(IniPath));
  }
  // So is an empty file named on the command line.
  testing_support::TempFolder named;
  WriteFile(named / "Named.ini", "");
  SettingsRecord = Settings{};
  EXPECT_EQ(PrepareSettingsFile(named / "Named.ini"), SettingsPlace::Named);
  EXPECT_EQ(Record(), kFirstRun);
  EXPECT_TRUE(ReadFile(named / "Named.ini").starts_with("[Coordinates]" + kEol + "x=244" + kEol));
}

}  // namespace
