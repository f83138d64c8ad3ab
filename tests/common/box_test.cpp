// The box both shells share: menu commands, tip and fill, lock, place and opacity.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/common/box_face.h"
#include "app/common/lock_toggle.h"
#include "app/common/menu_commands.h"
#include "app/common/program.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"
#include "settings/ini_file.h"
#include "settings/settings_record.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "text/file_system.h"

namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;
using Action = DropOutcome::Action;

// Records what the commands ask of the window.
class FakeShell : public ShellWindow {
 public:
  WindowRect OuterRect() override {
    calls.push_back("rect");
    return {-10, 20, 65, 95};
  }
  void ApplySettings() override { calls.push_back("apply w=" + std::to_string(SettingsRecord.w)); }
  void Destroy() override { calls.push_back("destroy"); }
  Texts calls;
};

class CommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PrepareProgramIn(folder_.path(), "");  // the program's texts and settings, as at start
    platform::SetOpenHandler([this](const std::string& path) {
      opened_.push_back(path);
      return opens_;
    });
  }
  void TearDown() override { platform::SetOpenHandler(nullptr); }
  Texts BoxTexts(size_t first) const {
    Texts texts;
    for (size_t i = first; i < ui_.boxes().size(); ++i) texts.push_back(ui_.boxes()[i].text);
    return texts;
  }

  testing_support::TempFolder folder_;
  testing_support::ScriptedUi ui_;
  Texts opened_;
  bool opens_ = true;
};

// Open Settings and Exit save the rectangle first; Reload does not write; others do nothing.
TEST_F(CommandTest, EachCommandDoesItsOwnPart) {
  const std::string about =
      "Quorlith version 1.1\rA configurable drag-box to capture the path "
      "of a file.\rFor help and other info, see the ReadMe file.";
  const struct {
    int id;
    bool opens, ends;
    Texts calls, boxes;
  } cases[] = {
      {IDM_OPEN_SETTINGS, true, false, {"rect"}, {}},
      {IDM_OPEN_SETTINGS, false, false, {"rect"}, {"No program could open the file\r" + IniPath}},
      {IDM_EXIT, true, true, {"rect", "destroy"}, {}},
      {IDM_RELOAD_SETTINGS, true, false, {"apply w=120"}, {}},
      {IDM_HELP, true, false, {}, {about}},
      {IDM_ABOUT, true, false, {}, {about}},
      {1011, true, false, {}, {}}};  // no command
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << (c.opens ? "" : " unopened"));
    WriteDefaultSettings();
    LoadSettings();
    WriteIniNumber(IniPath, "Coordinates", "w", 120);
    const std::string file = testing_support::ReadFile(IniPath);
    FakeShell shell;
    opens_ = c.opens;
    opened_.clear();
    const size_t before = ui_.boxes().size();
    EXPECT_EQ(RunMenuCommand(c.id, shell), c.ends);
    EXPECT_EQ(shell.calls, c.calls);
    EXPECT_EQ(BoxTexts(before), c.boxes);
    EXPECT_EQ(opened_, c.id == IDM_OPEN_SETTINGS ? Texts{IniPath} : Texts{});
    const bool saves = !c.calls.empty() && c.calls[0] == "rect";
    EXPECT_EQ(std::vector<int>({ReadIniNumber(IniPath, "Coordinates", "x", 0),
                                ReadIniNumber(IniPath, "Coordinates", "w", 0)}),
              saves ? std::vector<int>({-10, 75}) : std::vector<int>({244, 120}));
    EXPECT_TRUE(saves || testing_support::ReadFile(IniPath) == file);
    EXPECT_EQ(SettingsRecord.x, 244);  // memory is not touched
  }
  EXPECT_EQ(ui_.boxes().back().caption, "About Quorlith");
  EXPECT_EQ(ui_.boxes().back().style, platform::kBoxOk | platform::kBoxIconInformation);
}

// Reload reports an unusable file but still applies; Exit leaves it as it is.
TEST_F(CommandTest, ReloadReportsAnUnusableFile) {
  fs::remove(IniPath);
  fs::create_directory(IniPath);
  FakeShell shell;
  RunMenuCommand(IDM_RELOAD_SETTINGS, shell);
  RunMenuCommand(IDM_EXIT, shell);
  EXPECT_EQ(shell.calls, (Texts{"apply w=75", "rect", "destroy"}));
  EXPECT_EQ(BoxTexts(0), Texts{"Sorry, Quorlith cannot use its settings file\r" + IniPath +
                               "\rIt is not a plain file.\rIt runs with its first settings and "
                               "leaves that file as it is."});
  EXPECT_EQ(ui_.boxes()[0].style, platform::kBoxOk | platform::kBoxIconWarning);
  EXPECT_TRUE(fs::is_directory(IniPath) && fs::is_empty(IniPath));
}

// The readme is the first plain file here, beside the program, or with the documents.
TEST_F(CommandTest, TheReadmeIsLookedForInItsThreePlaces) {
  const fs::path previous = fs::current_path();
  const std::string here = folder_ / "here/", beside = std::string(AppDir()) + ReadMeName;
  InstalledDocDir = folder_ / "doc/";
  const std::string doc = InstalledDocDir + ReadMeName;
  ASSERT_FALSE(testing_support::Exists(beside));
  const struct {
    const char* here;  // "", "file" or "folder"
    bool beside, doc;
    std::string opened;  // empty: the box
  } cases[] = {{"", false, false, ""},       {"", false, true, doc},
               {"", true, true, beside},     {"file", true, true, "Quorlith.txt"},
               {"folder", false, true, doc}, {"folder", false, false, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.here << c.beside << c.doc);
    for (const std::string& path : {here, InstalledDocDir, beside}) fs::remove_all(path);
    testing_support::MakeFolder(c.here == std::string("folder") ? here + ReadMeName : here);
    if (c.here == std::string("file")) testing_support::WriteFile(here + ReadMeName, "here");
    if (c.beside) testing_support::WriteFile(beside, "beside");
    if (c.doc) testing_support::WriteFile(doc, "doc");
    opened_.clear();
    const size_t before = ui_.boxes().size();
    fs::current_path(here);
    OpenReadMe();
    fs::current_path(previous);
    EXPECT_EQ(opened_, c.opened.empty() ? Texts{} : Texts{c.opened});
    EXPECT_EQ(BoxTexts(before),
              c.opened.empty() ? Texts{"Sorry, you've misplaced the Read Me File!\rIt is called "
                                       "Quorlith.txt\rMake sure its in the same folder as "
                                       "Quorlith."}
                               : Texts{});
  }
  fs::remove(beside);
}

TEST(BoxFace, TheTipSaysWhatADropCameTo) {
  const struct {
    Action action;
    int32_t done, failed, skipped;
    bool declined;
    std::string tip;
  } rows[] = {{Action::kCapture, 1, 0, 0, false, "1 path on the clipboard"},
              {Action::kCapture, 0, 3, 0, false, "Could not put 3 paths on the clipboard"},
              {Action::kCopy, 2, 1, 1, false, "Copied 2 files to /d/, 1 failed, 1 skipped"},
              {Action::kMove, 1, 0, 0, false, "Moved 1 file to /d/"},
              {Action::kMove, 0, 0, 0, true, "Nothing moved"},
              {Action::kDelete, 2, 0, 0, false, "Deleted 2 files"},
              {Action::kUnknownMode, 0, 0, 0, false, "Nothing done: there is no CommandMode 7"}};
  for (const auto& row : rows) {
    EXPECT_EQ(OutcomeText({row.action, 7, 0, row.done, row.failed, row.skipped, row.declined, false,
                           false, "/d/"}),
              row.tip);
  }
}

// Work shows after half a second its share of bytes, or of files without bytes.
TEST(BoxFace, ProgressShowsOnlyAfterHalfASecond) {
  BoxFace face;
  face.SetProgress({true, Action::kCopy, 3, 10, 45, 100, "holiday.jpg", 0.4});
  EXPECT_FALSE(face.ShowsProgress());
  face.SetProgress({true, Action::kCopy, 3, 10, 45, 100, "holiday.jpg", 0.6});
  EXPECT_EQ(face.Tip(), "Copying 3 of 10: holiday.jpg (45 %)");
  EXPECT_DOUBLE_EQ(face.LookAt(BoxFace::Clock::now()).done, 0.45);
  face.SetProgress({true, Action::kMove, 3, 10, 0, 0, "empty", 0.6});
  EXPECT_EQ(face.Tip(), "Moving 3 of 10: empty");
  EXPECT_DOUBLE_EQ(face.LookAt(BoxFace::Clock::now()).done, 0.2);
  face.SetProgress({true, Action::kDelete, 3, 10, 45, 100, "x", 0.6});
  EXPECT_EQ(face.Tip(), "Deleting 3 of 10: x");
  face.SetProgress(ProgressView{});
  EXPECT_FALSE(face.ShowsProgress());
}

// The lock flips and is written at once; a write-protected file stays as it is.
TEST(LockToggle, SwitchesAndWritesAtOnce) {
  testing_support::TempFolder folder;
  IniPath = folder / "Quorlith.ini";
  for (const auto& [before, after] : {std::pair{1, 0}, {0, 1}, {2, 1}, {-1, 1}}) {
    SettingsRecord.b = before;
    EXPECT_EQ(ToggleLock(), after);
    EXPECT_EQ(UnlockedMode(), after == 1);
    EXPECT_EQ(ReadIniNumber(IniPath, "Coordinates", "b", -999), after) << before;
  }
  fs::permissions(IniPath, fs::perms::owner_read);
  const std::string file = testing_support::ReadFile(IniPath);
  EXPECT_EQ(ToggleLock(), 0);
  EXPECT_EQ(testing_support::ReadFile(IniPath), file);
}

// A box too small or off every screen shows where it can be reached.
TEST(BoxPlace, ABoxIsAlwaysShownWhereItCanBeReached) {
  const std::vector<ScreenRect> two = {{0, 0, 1280, 1000}, {1280, 0, 1024, 768}},
                                small = {{0, 0, 200, 150}}, none,
                                right = {{1920, 0, 1280, 1024}, {0, 0, 1920, 1080}};
  const struct {
    const std::vector<ScreenRect>& screens;
    int16_t x, y, w, h;
    std::vector<int> shown;
  } cases[] = {{two, 100, 100, 75, 75, {100, 100, 75, 75}},       // on the primary
               {two, 2000, 700, 1, 300, {2000, 700, 1, 300}},     // on the second screen
               {two, -74, 999, 75, 75, {-74, 999, 75, 75}},       // one pixel on the primary
               {two, -75, 50, 75, 0, {244, 200, 75, 75}},         // beside the primary
               {two, 2304, 0, -1, 75, {244, 200, 75, 75}},        // right of both
               {two, 100, 1000, 40, -31072, {244, 200, 40, 75}},  // below the work area
               {two, -70, 0, 0, 75, {-70, 0, 75, 75}},            // meets at its shown size
               {small, 300, 300, 75, 75, {0, 0, 75, 75}},         // first-run place off the primary
               {right, 4000, 0, 75, 75, {1920, 0, 75, 75}},  // first-run place on another screen
               {none, 9000, 9000, 75, 75, {9000, 9000, 75, 75}}};  // no screen known
  for (const auto& c : cases) {
    SettingsRecord.x = c.x, SettingsRecord.y = c.y, SettingsRecord.w = c.w, SettingsRecord.h = c.h;
    const BoxPlace place = ShownBoxPlace(c.screens);
    const BoxSize size = ShownBoxSize();
    EXPECT_EQ(std::vector<int>({place.x, place.y, size.w, size.h}), c.shown) << c.x << "," << c.y;
  }
}

TEST(Opacity, AlphaWrapsInsteadOfClamping) {
  const struct {
    int16_t t;
    int alpha;
  } rows[] = {{75, 191}, {100, 255}, {0, 0}, {101, 1}, {-1, 254}, {200, 254}, {50, 127}};
  for (const auto& row : rows) EXPECT_EQ(AlphaFromPercent(row.t), row.alpha) << row.t;
}

}  // namespace
