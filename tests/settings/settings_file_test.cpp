#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "tests/settings/settings_fixture.h"

namespace {

using LoadTest = SettingsTest;

std::string FirstRunFile(const std::string& desk, const std::string& eol) {
  std::string s;
  for (const char* line :
       {"[Coordinates]", "x=244", "y=200", "w=75", "h=75", "t=75", "b=1", "m=1", "[Options]",
        "CommandMode=1", "pathaction=1", "listseparator=1", "encase=0", "deletetobin=1",
        "confirmdelete=1", "confirmcopy=1", "confirmmove=1", "overwritefile=0"}) {
    s += std::string(line) + eol;
  }
  s += "CopyDestination=" + desk + eol;
  s += "MoveDestination=" + desk + eol;
  return s;
}

TEST_F(LoadTest, FirstRunFileHoldsEveryKeyInOrderAndLoadsBack) {
  WriteDefaultSettings();
  const std::string written = ReadIni();
#ifdef _WIN32
  // Wine's writer may separate sections with a blank line; the keys, their
  // order and their values are what the program relies on.
  std::string squeezed;
  for (size_t i = 0; i < written.size(); ++i) {
    if (written.compare(i, 4, "\r\n\r\n") == 0) continue;
    squeezed += written[i];
  }
  EXPECT_EQ(squeezed, FirstRunFile(DesktopDir, Eol()));
#else
  EXPECT_EQ(written, FirstRunFile(DesktopDir, Eol()));
#endif

  LoadSettings();
  const Settings& s = SettingsRecord;
  EXPECT_EQ(s.x, 244);
  EXPECT_EQ(s.y, 200);
  EXPECT_EQ(s.w, 75);
  EXPECT_EQ(s.h, 75);
  EXPECT_EQ(s.t, 75);
  EXPECT_EQ(s.b, 1);
  EXPECT_EQ(s.m, 1);
  EXPECT_EQ(s.CommandMode, 1);
  EXPECT_EQ(s.overwritefile, 0);
  // The separator exists in memory only.
  EXPECT_EQ(s.CopyDestination, DesktopDir + Sep());
  EXPECT_EQ(s.MoveDestination, DesktopDir + Sep());
  EXPECT_EQ(ReadIni(), written);
}

TEST_F(LoadTest, NumbersAreStoredWithTheFieldsWidth) {
  WriteIni(
      "[Coordinates]\nx=70000\ny=40000\nw=-1\nh=65535\nt=99999999999\nb=70000\nm=-5\n"
      "[Options]\nCommandMode=65537\npathaction=65543\nlistseparator=-65535\n"
      "encase=4294967297\noverwritefile=12abc\nconfirmcopy=-\nconfirmmove=0x10\n");
  LoadSettings();
  const Settings& s = SettingsRecord;
  EXPECT_EQ(s.x, 4464);
  EXPECT_EQ(s.y, -25536);
  EXPECT_EQ(s.w, -1);
  EXPECT_EQ(s.h, -1);
  EXPECT_EQ(s.t, static_cast<int16_t>(1215752191 & 0xFFFF));  // wrapped twice
  EXPECT_EQ(s.b, 70000);  // 32-bit fields take the value whole
  EXPECT_EQ(s.m, -5);
  EXPECT_EQ(s.CommandMode, 1);
  EXPECT_EQ(s.pathaction, 7);
  EXPECT_EQ(s.listseparator, 1);
  EXPECT_EQ(s.encase, 1);
  EXPECT_EQ(s.overwritefile, 12);
  EXPECT_EQ(s.confirmcopy, 0);
  EXPECT_EQ(s.confirmmove, 16);
}

TEST_F(LoadTest, MissingCoordinatesKeepTheirValueAndMissingOptionsReturnToDefaults) {
  WriteIni("[Coordinates]\nx=1\ny=2\nw=3\nh=4\nt=5\nb=6\nm=7\n[Options]\nCommandMode=3\n"
           "pathaction=4\nlistseparator=5\nencase=1\ndeletetobin=0\nconfirmdelete=0\n"
           "confirmcopy=0\nconfirmmove=0\noverwritefile=1\nCopyDestination=A\nMoveDestination=B\n");
  LoadSettings();
  WriteIni("[Coordinates]\n[Options]\n");
  LoadSettings();
  const Settings& s = SettingsRecord;
  EXPECT_EQ((std::vector<int>{s.x, s.y, s.w, s.h, s.t, s.b, s.m}),
            (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ((std::vector<int>{s.CommandMode, s.pathaction, s.listseparator, s.encase,
                              s.deletetobin, s.confirmdelete, s.confirmcopy, s.confirmmove,
                              s.overwritefile}),
            (std::vector<int>{1, 1, 1, 0, 1, 1, 1, 1, 0}));
  EXPECT_EQ(s.CopyDestination, DesktopDir + Sep());
  EXPECT_EQ(s.MoveDestination, DesktopDir + Sep());
}

TEST_F(LoadTest, AFileWithOnlyOptionsLeavesTheBoxAtZeroOnFirstLoad) {
  WriteIni("[Options]\nCommandMode=2\n");
  LoadSettings();
  const Settings& s = SettingsRecord;
  EXPECT_EQ((std::vector<int>{s.x, s.y, s.w, s.h, s.t, s.b, s.m}),
            (std::vector<int>{0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(s.CommandMode, 2);
}

TEST_F(LoadTest, DestinationsEndInTheSeparatorOnlyOnce) {
  const std::string sep = Sep();
  struct Case {
    std::string in_file;
    std::string in_memory;
  } cases[] = {
      {"D" + sep + "a", "D" + sep + "a" + sep},
      {"D" + sep + "a" + sep, "D" + sep + "a" + sep},
      {"", sep},
#ifdef _WIN32
      {"D:/a/", "D:/a/\\"},  // only a backslash counts on Windows
#else
      {"/a\\", "/a\\/"},  // a backslash is a name character on Linux
#endif
      {std::string(5000, 'd'), std::string(5000, 'd') + sep},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in_file.substr(0, 40));
    WriteIni("[Options]\nCopyDestination=" + c.in_file + "\nMoveDestination=E" + sep + "b\n");
    LoadSettings();
    EXPECT_EQ(SettingsRecord.CopyDestination, c.in_memory);
    EXPECT_EQ(SettingsRecord.MoveDestination, "E" + sep + "b" + sep);
  }
}

TEST_F(LoadTest, WrittenNumbersArePlainDecimalAndReadBack) {
  for (int32_t v : {75, -7, 0, INT_MAX, INT_MIN, 1000000}) {
    SCOPED_TRACE(v);
    WriteIniNumber(IniPath.c_str(), "Coordinates", "t", v);
    EXPECT_STREQ(ReadIniText(IniPath.c_str(), "Coordinates", "t", "?"),
                 std::to_string(v).c_str());
    EXPECT_EQ(ReadIniNumber(IniPath.c_str(), "Coordinates", "t", 12345), v);
  }
}

TEST_F(LoadTest, SaveCoordinatesWritesTheOuterRectangleOnly) {
  WriteDefaultSettings();
  LoadSettings();
  SaveCoordinates({-10, 20, 65, 95});
  EXPECT_EQ(SettingsRecord.x, 244);  // the record is not touched
  const char* file = IniPath.c_str();
  EXPECT_EQ(ReadIniNumber(file, "Coordinates", "x", 0), -10);
  EXPECT_EQ(ReadIniNumber(file, "Coordinates", "y", 0), 20);
  EXPECT_EQ(ReadIniNumber(file, "Coordinates", "w", 0), 75);
  EXPECT_EQ(ReadIniNumber(file, "Coordinates", "h", 0), 75);
  EXPECT_EQ(ReadIniNumber(file, "Coordinates", "t", 0), 75);
  LoadSettings();
  EXPECT_EQ(SettingsRecord.x, -10);
}

TEST_F(LoadTest, SetFirstRunValuesMatchesTheFirstRunFile) {
  SetFirstRunValues();
  Settings in_memory = SettingsRecord;
  SettingsRecord = Settings{};
  WriteDefaultSettings();
  LoadSettings();
  in_memory.CopyDestination += Sep();
  in_memory.MoveDestination += Sep();
  const Settings& s = SettingsRecord;
  for (const SettingsKey& k : SettingsKeys()) {
    SCOPED_TRACE(k.key);
    if (k.field16) {
      EXPECT_EQ(in_memory.*k.field16, s.*k.field16);
    } else if (k.field32) {
      EXPECT_EQ(in_memory.*k.field32, s.*k.field32);
    } else {
      EXPECT_EQ(in_memory.*k.text, s.*k.text);
    }
  }
}

}  // namespace
