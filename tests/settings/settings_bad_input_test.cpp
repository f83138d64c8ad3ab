#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "tests/settings/settings_fixture.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using BadInputTest = SettingsTest;

// Garbled files never crash the load; the lines that are intact still count,
// and whatever cannot be read takes its load default.
TEST_F(BadInputTest, GarbledFilesLoadWhatIsReadable) {
  std::string binary;
  for (int c = 1; c < 256; ++c) {
    if (c != '\n' && c != '\r') binary += static_cast<char>(c);
  }
  const std::string nul("\0\0w=1\0\0", 7);
  struct Case {
    const char* name;
    std::string bytes;
    int w;
    int h;
  } cases[] = {
      {"binary line", "[Coordinates]\nw=9\n" + binary + "\nh=8\n", 9, 8},
      {"byte-order mark", "\xEF\xBB\xBF[Coordinates]\r\nw=9\r\nh=8\r\n", 9, 8},
      {"no final newline", "[Coordinates]\nw=9\nh=8", 9, 8},
      {"100,000-character line",
       "[Coordinates]\nw=9\njunk=" + std::string(100000, 'j') + "\nh=8\n", 9, 8},
      {"100,000-character key line", "[Coordinates]\nw=9\n" + std::string(100000, '=') + "\nh=8\n",
       9, 8},
      {"old Mac line ends", "[Coordinates]\rw=9\rh=8\r", 9, 8},
      {"NUL bytes after the keys", "[Coordinates]\nw=9\nh=8\n" + nul + "\n", 9, 8},
      {"no section header", "w=9\nh=8\n", 0, 0},
      {"empty file", "", 0, 0},
      {"only garbage", binary, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SettingsRecord = Settings{};
    WriteIni(c.bytes);
    LoadSettings();
    EXPECT_EQ(SettingsRecord.w, c.w);
    EXPECT_EQ(SettingsRecord.h, c.h);
    EXPECT_EQ(SettingsRecord.CommandMode, 1);
    EXPECT_EQ(SettingsRecord.CopyDestination, DesktopDir + Sep());
  }
}

// A settings file that cannot be used is looked at without waiting, never
// read into memory and never written afterwards: every key takes its load
// default, and the entry stays exactly as it was.
TEST_F(BadInputTest, AnUnusableFileIsNotReadAndNeverWritten) {
  namespace fs = std::filesystem;
  const struct {
    const char* name;
    std::function<void(const std::string&)> make;
    SettingsProblem problem;
  } cases[] = {
      {"a folder", [](const std::string& p) { fs::create_directory(p); },
       SettingsProblem::NotAFile},
      {"larger than 16 MiB",
       [](const std::string& p) {
         testing_support::WriteFile(p, "[Coordinates]\nw=9\n" + std::string(16 << 20, ';'));
       },
       SettingsProblem::TooLarge},
#ifndef _WIN32
      {"a named pipe", [](const std::string& p) { mkfifo(p.c_str(), 0600); },
       SettingsProblem::NotAFile},
      {"a link to the zero device", [](const std::string& p) { ASSERT_EQ(symlink("/dev/zero", p.c_str()), 0); },
       SettingsProblem::NotAFile},
      {"a dangling link", [](const std::string& p) { ASSERT_EQ(symlink("/nowhere/at/all", p.c_str()), 0); },
       SettingsProblem::Unreadable},
#endif
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    IniPath = folder_ / (std::string(c.name) + ".ini");
    c.make(IniPath);
    const fs::file_status before = fs::symlink_status(IniPath);
    SettingsRecord = Settings{};
    SettingsRecord.w = 33;
    LoadSettings();
    EXPECT_EQ(LoadProblem, c.problem);
    EXPECT_EQ(SettingsRecord.w, 33);
    EXPECT_EQ(SettingsRecord.CommandMode, 1);
    EXPECT_EQ(SettingsRecord.CopyDestination, DesktopDir + Sep());
    WriteIniNumber(IniPath.c_str(), "Coordinates", "w", 5);
    SaveCoordinates({1, 2, 3, 4});
    const fs::file_status after = fs::symlink_status(IniPath);
    EXPECT_EQ(after.type(), before.type());
    if (after.type() == fs::file_type::regular) {
      EXPECT_EQ(fs::file_size(IniPath), (16u << 20) + 18);
    }
    if (after.type() == fs::file_type::directory) {
      EXPECT_TRUE(fs::is_empty(IniPath));
    }
  }
  // Once made usable, the file is read again, but not written in this run.
  fs::remove(IniPath);
  WriteIni("[Coordinates]\nw=9\n");
  WriteIniNumber(IniPath.c_str(), "Coordinates", "w", 5);
  LoadSettings();
  EXPECT_EQ(LoadProblem, SettingsProblem::None);
  EXPECT_EQ(SettingsRecord.w, 9);
}

TEST_F(BadInputTest, AMissingFileLoadsDefaultsAndCoordinatesStay) {
  SettingsRecord.w = 33;
  IniPath = folder_ / "nothing-here.ini";
  LoadSettings();
  EXPECT_EQ(SettingsRecord.w, 33);
  EXPECT_EQ(SettingsRecord.confirmcopy, 1);
  EXPECT_FALSE(testing_support::Exists(IniPath));  // loading never creates it
}

}  // namespace
