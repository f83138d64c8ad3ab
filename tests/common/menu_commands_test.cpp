#include "app/common/menu_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/common/lock_toggle.h"
#include "app/common/program.h"
#include "platform/shell_open.h"
#include "settings/ini_file.h"
#include "settings/settings_record.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "text/file_system.h"

namespace {

// Records what the commands ask of the window.
class FakeShell : public ShellWindow {
 public:
  WindowRect OuterRect() override {
    calls.push_back("rect");
    return rect;
  }
  void ApplySettings() override { calls.push_back("apply w=" + std::to_string(SettingsRecord.w)); }
  void Destroy() override { calls.push_back("destroy"); }

  WindowRect rect{-10, 20, 65, 95};
  std::vector<std::string> calls;
};

class CommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The program's own texts, as start-up makes them.
    PrepareProgramIn(folder_.path(), "");
    IniPath = folder_ / "Quorlith.ini";
    DesktopDir = folder_ / "Desk";
    SettingsRecord = Settings{};
    WriteDefaultSettings();
    LoadSettings();
    platform::SetOpenHandler([this](const std::string& path) {
      opened_.push_back(path);
      return true;
    });
  }
  void TearDown() override { platform::SetOpenHandler(nullptr); }

  int FileNumber(const char* key) { return ReadIniNumber(IniPath.c_str(), "Coordinates", key, -999); }

  testing_support::TempFolder folder_;
  testing_support::ScriptedUi ui_;
  FakeShell shell_;
  std::vector<std::string> opened_;
};

TEST_F(CommandTest, OpenSettingsSavesTheRectangleBeforeOpeningTheFile) {
  EXPECT_FALSE(RunMenuCommand(IDM_OPEN_SETTINGS, shell_));
  EXPECT_EQ(shell_.calls, std::vector<std::string>{"rect"});
  EXPECT_EQ(opened_, std::vector<std::string>{IniPath});
  EXPECT_EQ((std::vector<int>{FileNumber("x"), FileNumber("y"), FileNumber("w"), FileNumber("h")}),
            (std::vector<int>{-10, 20, 75, 75}));
  EXPECT_EQ(SettingsRecord.x, 244);  // memory is not touched
}

TEST_F(CommandTest, ExitSavesTheRectangleThenDestroysTheBox) {
  shell_.rect = {100, 50, 180, 150};
  EXPECT_TRUE(RunMenuCommand(IDM_EXIT, shell_));
  EXPECT_EQ(shell_.calls, (std::vector<std::string>{"rect", "destroy"}));
  EXPECT_EQ((std::vector<int>{FileNumber("x"), FileNumber("y"), FileNumber("w"), FileNumber("h")}),
            (std::vector<int>{100, 50, 80, 100}));
}

TEST_F(CommandTest, ReloadReadsTheFileAndAppliesItWithoutWriting) {
  WriteIniNumber(IniPath.c_str(), "Coordinates", "w", 120);
  const std::string before = testing_support::ReadFile(IniPath);
  EXPECT_FALSE(RunMenuCommand(IDM_RELOAD_SETTINGS, shell_));
  EXPECT_EQ(shell_.calls, std::vector<std::string>{"apply w=120"});
  EXPECT_EQ(testing_support::ReadFile(IniPath), before);
}

// A settings file that became unusable is reported after the reload, which
// still applies what it has; Exit then leaves the entry as it is.
TEST_F(CommandTest, ReloadReportsAnUnusableFile) {
  std::filesystem::remove(IniPath);
  std::filesystem::create_directory(IniPath);
  RunMenuCommand(IDM_RELOAD_SETTINGS, shell_);
  EXPECT_EQ(shell_.calls, std::vector<std::string>{"apply w=75"});
  ASSERT_EQ(ui_.boxes().size(), 1u);
  EXPECT_EQ(ui_.boxes()[0].text, "Sorry, Quorlith cannot use its settings file\r" + IniPath +
                                     "\rIt is not a plain file.\rIt runs with its first settings "
                                     "and leaves that file as it is.");
  EXPECT_EQ(ui_.boxes()[0].caption, "Quorlith");
  EXPECT_EQ(ui_.boxes()[0].style, 0x30u);
  RunMenuCommand(IDM_EXIT, shell_);
  EXPECT_TRUE(std::filesystem::is_directory(IniPath));
  EXPECT_TRUE(std::filesystem::is_empty(IniPath));
}

TEST_F(CommandTest, HelpAndAboutShowTheSameBox) {
  RunMenuCommand(IDM_HELP, shell_);
  RunMenuCommand(IDM_ABOUT, shell_);
  ASSERT_EQ(ui_.boxes().size(), 2u);
  for (const auto& box : ui_.boxes()) {
    EXPECT_EQ(box.text,
              "Quorlith version 1.1\rA configurable drag-box to capture the path of a file.\r"
              "For help and other info, see the ReadMe file.");
    EXPECT_EQ(box.caption, "About Quorlith");
    EXPECT_EQ(box.style, 0x40u);
  }
  EXPECT_TRUE(shell_.calls.empty());
}

TEST_F(CommandTest, UnknownIdsDoNothing) {
  for (int id : {0, 1004, 1011, -1}) EXPECT_FALSE(RunMenuCommand(id, shell_));
  EXPECT_TRUE(shell_.calls.empty());
  EXPECT_TRUE(ui_.boxes().empty());
  EXPECT_TRUE(opened_.empty());
}

TEST_F(CommandTest, TheReadmeIsTheFirstPlainFileHereBesideTheProgramOrInTheDocFolder) {
  const std::filesystem::path previous = std::filesystem::current_path();
  const std::string here = folder_ / "here/";
  const std::string beside = std::string(AppDir()) + ReadMeName;
  InstalledDocDir = folder_ / "doc/";
  const std::string doc = InstalledDocDir + ReadMeName;
  ASSERT_FALSE(testing_support::Exists(beside));
  enum Here { kNone, kFile, kFolder };
  const struct {
    Here here;
    bool beside;
    bool doc;
    std::string opened;  // empty: the warning box
  } cases[] = {
      {kNone, false, false, ""},      {kNone, false, true, doc},
      {kNone, true, true, beside},    {kFile, true, true, "Quorlith.txt"},
      {kFolder, false, true, doc},    {kFolder, false, false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.here << c.beside << c.doc);
    std::filesystem::remove_all(here);
    std::filesystem::remove_all(InstalledDocDir);
    std::filesystem::remove(beside);
    testing_support::MakeFolder(here);
    if (c.here == kFile) testing_support::WriteFile(here + ReadMeName, "here");
    if (c.here == kFolder) testing_support::MakeFolder(here + ReadMeName);
    if (c.beside) testing_support::WriteFile(beside, "beside");
    if (c.doc) testing_support::WriteFile(doc, "doc");
    opened_.clear();
    const size_t boxes = ui_.boxes().size();
    std::filesystem::current_path(here);
    OpenReadMe();
    std::filesystem::current_path(previous);
    if (c.opened.empty()) {
      EXPECT_TRUE(opened_.empty());
      ASSERT_EQ(ui_.boxes().size(), boxes + 1);
      EXPECT_EQ(ui_.boxes().back().text,
                "Sorry, you've misplaced the Read Me File!\rIt is called Quorlith.txt\r"
                "Make sure its in the same folder as Quorlith.");
      EXPECT_EQ(ui_.boxes().back().caption, "Quorlith");
      EXPECT_EQ(ui_.boxes().back().style, 0x30u);
    } else {
      EXPECT_EQ(opened_, std::vector<std::string>{c.opened});
      EXPECT_EQ(ui_.boxes().size(), boxes);
    }
  }
  std::filesystem::remove(beside);
}

TEST_F(CommandTest, WhenNoProgramOpensTheFileABoxNamesIt) {
  // The readme in the documents folder: beside the program belongs to the
  // test above, which may run at the same time.
  InstalledDocDir = folder_ / "doc/";
  testing_support::WriteFile(InstalledDocDir + ReadMeName, "doc");
  platform::SetOpenHandler([this](const std::string& path) {
    opened_.push_back(path);
    return false;
  });
  RunMenuCommand(IDM_OPEN_SETTINGS, shell_);
  RunMenuCommand(IDM_OPEN_README, shell_);
  ASSERT_EQ(opened_.size(), 2u);
  ASSERT_EQ(ui_.boxes().size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(opened_[i]);
    EXPECT_EQ(ui_.boxes()[i].text, "No program could open the file\r" + opened_[i]);
    EXPECT_EQ(ui_.boxes()[i].caption, "Quorlith");
    EXPECT_EQ(ui_.boxes()[i].style, 0x30u);
  }
}

TEST(LockToggle, SwitchesBetweenOneAndZeroAndWritesAtOnce) {
  testing_support::TempFolder folder;
  IniPath = folder / "Quorlith.ini";
  struct Case {
    int32_t before;
    int32_t after;
  } cases[] = {{1, 0}, {0, 1}, {2, 1}, {-1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    SettingsRecord.b = c.before;
    EXPECT_EQ(ToggleLock(), c.after);
    EXPECT_EQ(SettingsRecord.b, c.after);
    EXPECT_EQ(UnlockedMode(), c.after == 1);
    EXPECT_EQ(ReadIniNumber(IniPath.c_str(), "Coordinates", "b", -999), c.after);
  }
}

// A write-protected settings file is not rewritten; the box still switches.
TEST(LockToggle, AWriteProtectedFileStaysAsItIs) {
  testing_support::TempFolder folder;
  IniPath = folder / "Quorlith.ini";
  testing_support::WriteFile(IniPath, "[Coordinates]\nb=1\n");
  std::filesystem::permissions(IniPath, std::filesystem::perms::owner_read |
                                            std::filesystem::perms::group_read |
                                            std::filesystem::perms::others_read);
  SettingsRecord.b = 1;
  EXPECT_EQ(ToggleLock(), 0);
  EXPECT_FALSE(UnlockedMode());
  EXPECT_EQ(testing_support::ReadFile(IniPath), "[Coordinates]\nb=1\n");
}

TEST(BoxSize, SizesThatLeaveNothingVisibleShowAtTheFirstRunSize) {
  const struct {
    int16_t w, h;
    int shown_w, shown_h;
  } cases[] = {{75, 75, 75, 75}, {1, 300, 1, 300}, {0, 300, 75, 300}, {40, -31072, 40, 75},
               {-1, 0, 75, 75}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
    SettingsRecord.w = c.w;
    SettingsRecord.h = c.h;
    const BoxSize shown = ShownBoxSize();
    EXPECT_EQ(shown.w, c.shown_w);
    EXPECT_EQ(shown.h, c.shown_h);
  }
}

TEST(BoxPlace, ABoxOffEveryScreenShowsAtTheFirstRunPlaceOnThePrimary) {
  const std::vector<ScreenRect> two = {{0, 0, 1280, 1000}, {1280, 0, 1024, 768}};
  const std::vector<ScreenRect> small = {{0, 0, 200, 150}};
  // The primary right of a screen at the origin.
  const std::vector<ScreenRect> right = {{1920, 0, 1280, 1024}, {0, 0, 1920, 1080}};
  const std::vector<ScreenRect> none;
  const struct {
    const char* name;
    const std::vector<ScreenRect>& screens;
    int16_t x, y, w;
    int shown_x, shown_y;
  } cases[] = {
      {"on the primary", two, 100, 100, 75, 100, 100},
      {"on the second screen", two, 2000, 700, 75, 2000, 700},
      {"one pixel on the primary", two, -74, 999, 75, -74, 999},
      {"beside the primary", two, -75, 50, 75, 244, 200},
      {"right of both", two, 2304, 0, 75, 244, 200},
      {"below the work area", two, 100, 1000, 75, 244, 200},
      {"meets at its shown size", two, -70, 0, 0, -70, 0},
      {"first-run place off the primary too", small, 300, 300, 75, 0, 0},
      {"first-run place on another screen", right, 4000, 0, 75, 1920, 0},
      {"no screen known", none, 9000, 9000, 75, 9000, 9000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SettingsRecord.x = c.x;
    SettingsRecord.y = c.y;
    SettingsRecord.w = c.w;
    SettingsRecord.h = 75;
    const BoxPlace shown = ShownBoxPlace(c.screens);
    EXPECT_EQ(shown.x, c.shown_x);
    EXPECT_EQ(shown.y, c.shown_y);
  }
}

TEST(Opacity, AlphaWrapsInsteadOfClamping) {
  struct Case {
    int16_t t;
    uint8_t alpha;
  } cases[] = {{75, 191}, {100, 255}, {0, 0}, {101, 1}, {-1, 254}, {200, 254}, {50, 127}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.t);
    EXPECT_EQ(AlphaFromPercent(c.t), c.alpha);
  }
}

}  // namespace
