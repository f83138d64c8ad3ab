#include <gtest/gtest.h>

#include <string>

#include "settings/settings_file.h"
#include "tests/settings/settings_fixture.h"

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

TEST_F(BadInputTest, AMissingFileLoadsDefaultsAndCoordinatesStay) {
  SettingsRecord.w = 33;
  IniPath = folder_ / "nothing-here.ini";
  LoadSettings();
  EXPECT_EQ(SettingsRecord.w, 33);
  EXPECT_EQ(SettingsRecord.confirmcopy, 1);
  EXPECT_FALSE(testing_support::Exists(IniPath));  // loading never creates it
}

}  // namespace
