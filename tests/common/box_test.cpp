// The box both shells share: menu commands, feedback, lock, geometry, drags and opacity.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/common/box_drag.h"
#include "app/common/box_feedback.h"
#include "app/common/box_geometry.h"
#include "app/common/box_keys.h"
#include "app/common/box_lock.h"
#include "app/common/box_opacity.h"
#include "app/common/box_texts.h"
#include "app/common/drop_box.h"
#include "app/common/menu_commands.h"
#include "app/common/program.h"
#include "app/common/start_paths.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "settings/settings_record.h"
#include "tests/support/scoped_env.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "text/file_system.h"

namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;
using Effect = MenuEffect;
const ScreenRect kOuter = {-10, 20, 75, 75};

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

// Open Settings and Exit save the rectangle first; Reload only loads; others do nothing.
TEST_F(CommandTest, EachCommandDoesItsOwnPart) {
  const std::string about =
      "Quorlith version 1.1\rA configurable drag-box to capture the path "
      "of a file.\rFor help and other info, see the ReadMe file.";
  const struct {
    int id;
    bool opens, saves;
    Effect effect;
    Texts boxes;
  } cases[] = {{IDM_OPEN_SETTINGS, true, true, Effect::kNone, {}},
               {IDM_OPEN_SETTINGS,
                false,
                true,
                Effect::kNone,
                {"No program could open the file\r" + IniPath}},
               {IDM_EXIT, true, true, Effect::kEnd, {}},
               {IDM_RELOAD_SETTINGS, true, false, Effect::kApplySettings, {}},
               {IDM_HELP, true, false, Effect::kNone, {about}},
               {IDM_ABOUT, true, false, Effect::kNone, {about}},
               {IDM_SETTINGS, true, false, Effect::kShowSettings, {}},
               {1012, true, false, Effect::kNone, {}}};  // no command
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << (c.opens ? "" : " unopened"));
    WriteDefaultSettings();
    LoadSettings();
    WriteIniNumber(IniPath, "Coordinates", "w", 120);
    const std::string file = testing_support::ReadFile(IniPath);
    opens_ = c.opens;
    opened_.clear();
    const size_t before = ui_.boxes().size();
    EXPECT_EQ(RunMenuCommand(c.id, kOuter), c.effect);
    EXPECT_EQ(BoxTexts(before), c.boxes);
    EXPECT_EQ(opened_, c.id == IDM_OPEN_SETTINGS ? Texts{IniPath} : Texts{});
    EXPECT_EQ(std::vector<int>({ReadIniNumber(IniPath, "Coordinates", "x", 0),
                                ReadIniNumber(IniPath, "Coordinates", "w", 0)}),
              c.saves ? std::vector<int>({-10, 75}) : std::vector<int>({244, 120}));
    EXPECT_TRUE(c.saves || testing_support::ReadFile(IniPath) == file);
    EXPECT_EQ(SettingsRecord.x, 244);  // memory is not touched
    EXPECT_EQ(SettingsRecord.w, c.id == IDM_RELOAD_SETTINGS ? 120 : 75);
  }
  EXPECT_EQ(ui_.boxes().back().caption, "About Quorlith");
  EXPECT_EQ(ui_.boxes().back().style, platform::kBoxOk | platform::kBoxIconInformation);
}

// Reload reports an unusable file once applied; Exit leaves it as it is.
TEST_F(CommandTest, ReloadReportsAnUnusableFile) {
  fs::remove(IniPath);
  fs::create_directory(IniPath);
  DropBox box;
  EXPECT_EQ(RunMenuCommand(IDM_RELOAD_SETTINGS, kOuter), Effect::kApplySettings);
  EXPECT_TRUE(ui_.boxes().empty());
  box.SettingsApplied();
  EXPECT_EQ(RunMenuCommand(IDM_EXIT, kOuter), Effect::kEnd);
  EXPECT_EQ(BoxTexts(0), Texts{"Sorry, Quorlith cannot use its settings file\r" + IniPath +
                               "\rIt is not a plain file.\rIt runs with its first settings and "
                               "leaves that file as it is."});
  EXPECT_EQ(ui_.boxes()[0].style, platform::kBoxOk | platform::kBoxIconWarning);
  EXPECT_TRUE(fs::is_directory(IniPath) && fs::is_empty(IniPath));
}

// A settings file named on the command line is used, or made with its folders, relative names
// counting from the current folder; where it cannot be made the box runs on the first settings.
TEST_F(CommandTest, ANamedSettingsFileIsUsedOrMadeWhereItIsNamed) {
  const fs::path previous = fs::current_path();
  testing_support::WriteFile(folder_ / "a file", "");
  fs::current_path(folder_.path());
  const struct {
    std::string named, used;
    bool made;
  } rows[] = {{folder_ / "boxes/archive.ini", folder_ / "boxes/archive.ini", true},
              {"backup.ini", folder_ / "backup.ini", true},
              {folder_ / "a file/x.ini", folder_ / "a file/x.ini", false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.named);
    ASSERT_TRUE(PrepareProgram({row.named, {}}));
    EXPECT_EQ(fs::path(IniPath), fs::path(row.used));
    EXPECT_EQ(testing_support::Exists(row.used), row.made);
    EXPECT_EQ(SettingsRecord.x, 244);
  }
  WriteIniNumber(folder_ / "backup.ini", "Coordinates", "x", 300);
  ASSERT_TRUE(PrepareProgram({"backup.ini", {}}));  // read again, not made anew
  EXPECT_EQ(SettingsRecord.x, 300);
  fs::current_path(previous);
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

TEST(BoxTexts, TheTipSaysWhatADropCameTo) {
  const struct {
    int16_t mode;
    int32_t done, failed, skipped;
    bool declined;
    std::string tip;
    int32_t folders = 0, whole = 0;
  } rows[] = {
      {1, 1, 0, 0, false, "1 path on the clipboard"},
      {1, 0, 3, 0, false, "Could not put 3 paths on the clipboard"},
      {2, 2, 1, 1, false, "Copied 2 files to /d/, 1 failed, 1 skipped"},
      {2, 4000, 0, 0, false, "Copied 4,000 files in 12 folders to /d/", 12},
      {2, 1234567, 1000, 0, false, "Copied 1,234,567 files in 1 folder to /d/, 1,000 failed", 1},
      {3, 1, 0, 0, false, "Moved 1 file to /d/"},
      {3, 0, 0, 0, false, "Moved 1 folder to /d/", 0, 1},
      {3, 2, 0, 0, false, "Moved 2 files and 3 folders to /d/", 0, 3},
      {3, 0, 0, 1, false, "Moved 0 files in 1 folder and 1 folder to /d/, 1 skipped", 1, 1},
      {3, 0, 0, 0, true, "Nothing moved"},
      {4, 2, 0, 0, false, "Deleted 2 files"},
      {4, 1, 2, 0, false, "Deleted 1 file, 2 failed (Permission denied.)"},
      {7, 0, 0, 0, false, "Nothing done: there is no CommandMode 7"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.tip);
    const std::string reason = row.mode == 4 ? "Permission denied." : "";
    EXPECT_EQ(OutcomeText({CommandMode{row.mode}, 0, row.done, row.failed, row.skipped,
                           row.declined, false, false, "/d/", reason, row.folders, row.whole}),
              row.tip);
  }
}

// While work runs: how far, with the files of folders counted first.
TEST(BoxTexts, TheTipSaysHowFarWorkHasCome) {
  const struct {
    CommandMode mode;
    int32_t file, files;
    uint64_t done, total;
    const char* name;
    bool counting;
    const char* tip;
  } rows[] = {{CommandMode::kCopy, 312, 4000, 10, 100, "IMG_0311.jpg", false,
               "Copying 312 of 4,000 files: IMG_0311.jpg (10 %)"},
              {CommandMode::kMove, 1, 1, 0, 0, "a", false, "Moving 1 of 1 file: a"},
              {CommandMode::kMove, 0, 12500, 0, 0, "", true, "Counting the files to move: 12,500"},
              {CommandMode::kCopy, 0, 3, 0, 0, "", true, "Counting the files to copy: 3"},
              {CommandMode::kDelete, 2, 1000, 0, 0, "x", false, "Deleting 2 of 1,000: x"}};
  for (const auto& row : rows) {
    ProgressView view;
    view.running = true;
    view.mode = row.mode;
    view.file = row.file;
    view.files = row.files;
    view.bytes_done = row.done;
    view.bytes_total = row.total;
    view.name = row.name;
    view.counting = row.counting;
    EXPECT_EQ(ProgressText(view), row.tip);
  }
}

// The tip's first line says what a drop does, naming the folder as people write it.
TEST(BoxTexts, TheTipSaysWhatADropDoes) {
#ifdef _WIN32
  const std::string archive = "C:\\Users\\me\\Archive\\", shown = "C:\\Users\\me\\Archive",
                    root = "D:\\", trash = "the Recycle Bin";
#else
  const testing_support::ScopedEnv home("HOME", "/home/me");
  const std::string archive = "/home/me/Archive/", shown = "~/Archive", root = "/",
                    trash = "the Trash";
#endif
  const struct {
    int16_t mode;
    int32_t to_bin;
    std::string folder, text;
  } rows[] = {{1, 1, root, "Drop files to copy their paths"},
              {2, 1, root, "Drop files to copy them to " + root},
              {3, 1, archive, "Drop files to move them to " + shown},
              {3, 1, "/home/meadow/", "Drop files to move them to /home/meadow"},
              {4, 1, root, "Drop files to delete them (to " + trash + ")"},
              {4, 0, root, "Drop files to delete them for good"},
              {-3, 1, root, "Drops do nothing: there is no CommandMode -3"}};
  for (const auto& row : rows) {
    Settings settings;
    settings.CommandMode = row.mode;
    settings.deletetobin = row.to_bin;
    settings.CopyDestination = settings.MoveDestination = row.folder;
    EXPECT_EQ(ActionText(settings), row.text);
  }
#ifndef _WIN32
  // A home of "/" (a system account's) never turns the root into "~".
  const testing_support::ScopedEnv root_home("HOME", "/");
  Settings settings;
  settings.CommandMode = 2;
  settings.CopyDestination = "/";
  EXPECT_EQ(ActionText(settings), "Drop files to copy them to /");
#endif
}

// One timeline of what the box shows: the hover delay, the flash, the tip's time, progress that
// shows after half a second (its share of bytes, or of files), the flash when long work ends,
// and the call of a later start.
TEST(BoxFeedbackTest, ShowsEachThingForItsTime) {
  using Clock = BoxFeedback::Clock;
  using Tint = BoxFeedback::Tint;
  using Tip = BoxFeedback::TipChange;
  enum Event {
    kNothing,
    kMoved,
    kLeft,
    kDropped,
    kCaptured,
    kCopied,
    kHover,
    kCalled,
    kRefused,
    kSaid
  };
  const ProgressView idle;
  const ProgressView early{true, CommandMode::kCopy, 3, 10, 45, 100, "holiday.jpg", 0.4};
  const ProgressView copying{true, CommandMode::kCopy, 3, 10, 45, 100, "holiday.jpg", 0.6};
  const ProgressView moving{true, CommandMode::kMove, 3, 10, 0, 0, "empty", 0.7};
  const struct {
    int ms;
    Event event;
    bool over;
    const ProgressView& progress;
    Tint tint;
    double done;
    Tip tip;
    std::string text;
    int wake_ms;  // -1: none
  } steps[] = {
      {0, kMoved, true, idle, Tint::kNone, -1, Tip::kKeep, "", 600},
      {600, kNothing, true, idle, Tint::kNone, -1, Tip::kKeep, "", -1},  // nothing to say yet
      {700, kHover, true, idle, Tint::kHover, -1, Tip::kKeep, "", -1},
      {710, kDropped, true, idle, Tint::kFlash, -1, Tip::kKeep, "", 500},
      {800, kCaptured, true, idle, Tint::kFlash, -1, Tip::kShow, "1 path on the clipboard", 410},
      {1210, kNothing, true, idle, Tint::kNone, -1, Tip::kKeep, "", 3590},
      {4800, kNothing, true, idle, Tint::kNone, -1, Tip::kHide, "", -1},
      {5000, kMoved, true, idle, Tint::kNone, -1, Tip::kKeep, "", 600},
      {5300, kMoved, true, idle, Tint::kNone, -1, Tip::kKeep, "", 600},  // rest starts again
      {5900, kNothing, true, idle, Tint::kNone, -1, Tip::kShow, "1 path on the clipboard", 4000},
      {6000, kLeft, false, idle, Tint::kNone, -1, Tip::kHide, "", -1},
      {7000, kNothing, true, early, Tint::kNone, -1, Tip::kKeep, "", 50},
      {7050, kNothing, true, copying, Tint::kNone, 0.45, Tip::kShow,
       "Copying 3 of 10 files: holiday.jpg (45 %)", 50},
      {7100, kNothing, true, moving, Tint::kNone, 0.2, Tip::kShow, "Moving 3 of 10 files: empty",
       50},
      {7150, kCopied, true, idle, Tint::kFlash, -1, Tip::kShow, "Copied 2 files to /d/", 500},
      {8000, kCalled, true, idle, Tint::kAttention, -1, Tip::kKeep, "", 120},  // lit, plain, ...
      {8130, kNothing, true, idle, Tint::kNone, -1, Tip::kKeep, "", 110},
      {8250, kNothing, true, idle, Tint::kAttention, -1, Tip::kKeep, "", 110},
      {8730, kNothing, true, idle, Tint::kNone, -1, Tip::kKeep, "", 2420},
      {9000, kRefused, true, idle, Tint::kNone, -1, Tip::kShow, "No", 4000},  // a notice at once
      {13000, kNothing, true, idle, Tint::kNone, -1, Tip::kHide, "", -1},
      {13100, kSaid, true, idle, Tint::kNone, -1, Tip::kKeep, "", 600},  // then the action on top
      {13700, kNothing, true, idle, Tint::kNone, -1, Tip::kShow, "Drop\nCopied 2 files to /d/",
       4000}};
  BoxFeedback feedback;
  const Clock::time_point start = Clock::now();
  for (const auto& step : steps) {
    SCOPED_TRACE(step.ms);
    const Clock::time_point now = start + std::chrono::milliseconds(step.ms);
    switch (step.event) {
      case kMoved:
        feedback.PointerMoved(now);
        break;
      case kLeft:
        feedback.PointerLeft();
        break;
      case kDropped:
        feedback.Dropped(now);
        break;
      case kHover:
        feedback.SetHover(true);
        break;
      case kCaptured:
        feedback.Outcome({CommandMode::kCapture, 1, 1, 0, 0, false, false, false, "", ""}, now);
        break;
      case kCopied:
        feedback.Outcome({CommandMode::kCopy, 2, 2, 0, 0, false, false, false, "/d/", ""}, now);
        break;
      case kCalled:
        feedback.CallAttention(now);
        break;
      case kRefused:
        feedback.Notice("No", now);
        break;
      case kSaid:
        feedback.SetActionLine("Drop");
        feedback.PointerMoved(now);
        break;
      case kNothing:
        break;
    }
    const BoxFeedback::Frame frame =
        feedback.Update(now, step.over, &step.progress != &idle, step.progress);
    EXPECT_EQ(frame.look.tint, step.tint);
    EXPECT_DOUBLE_EQ(frame.look.done, step.done);
    EXPECT_EQ(frame.tip, step.tip);
    if (step.tip == Tip::kShow) {
      EXPECT_EQ(frame.tip_text, step.text);
    }
    EXPECT_EQ(
        frame.wake_in
            ? static_cast<int>(
                  std::chrono::duration_cast<std::chrono::milliseconds>(*frame.wake_in).count())
            : -1,
        step.wake_ms);
  }
}

// The lock flips and is written at once; a write-protected file stays as it is.
TEST(BoxLock, SwitchesAndWritesAtOnce) {
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

// Ctrl+V and Shift+Insert paste; the menu key and Shift+F10 open the menu under the right-click's
// rule; other chords and keys do nothing.
TEST(BoxKeys, OnlyTheirOwnChordsPasteOrOpenTheMenu) {
  using K = BoxKey;
  const KeyCommand paste = KeyCommand::kPaste, menu = KeyCommand::kOpenMenu,
                   none = KeyCommand::kNone;
  const struct {
    K key;
    bool ctrl, shift, alt;
    int b, m;
    KeyCommand command;
  } rows[] = {{K::kV, 1, 0, 0, 0, 0, paste},    {K::kInsert, 0, 1, 0, 0, 0, paste},
              {K::kV, 0, 0, 0, 1, 1, none},     {K::kV, 1, 1, 0, 1, 1, none},
              {K::kV, 1, 0, 1, 1, 1, none},     {K::kInsert, 1, 1, 0, 1, 1, none},
              {K::kMenu, 0, 0, 0, 1, 0, menu},  {K::kF10, 0, 1, 0, 1, 0, menu},
              {K::kMenu, 0, 0, 0, 0, 1, menu},  {K::kMenu, 0, 0, 0, 0, 0, none},
              {K::kF10, 0, 1, 0, 0, 0, none},   {K::kF10, 0, 0, 0, 1, 1, none},
              {K::kF10, 1, 1, 0, 1, 1, none},   {K::kMenu, 1, 0, 0, 1, 1, none},
              {K::kOther, 0, 0, 0, 1, 1, none}, {K::kOther, 1, 1, 0, 1, 1, none}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message()
                 << static_cast<int>(row.key) << " ctrl " << row.ctrl << " shift " << row.shift
                 << " alt " << row.alt << " b " << row.b << " m " << row.m);
    SettingsRecord.b = row.b;
    SettingsRecord.m = row.m;
    EXPECT_EQ(CommandForKey(row.key, row.ctrl, row.shift, row.alt), row.command);
  }
}

// The Windows command line: a switch only alone, in any case; anything else is paths.
TEST(StartRequest, OnlyALoneSwitchAsksForSomethingElseThanPaths) {
  using Kind = std::optional<platform::RequestKind>;
  const Kind paste = platform::RequestKind::kPaste, close = platform::RequestKind::kClose, paths;
  const struct {
    Texts arguments;
    Kind kind;
  } rows[] = {{{"/paste"}, paste},
              {{"/PaStE"}, paste},
              {{"/CLOSE"}, close},
              {{"/close", "/paste"}, paths},
              {{"/close", "a.txt"}, paths},
              {{"/pastes"}, paths},
              {{"-paste"}, paths},
              {{"/paste "}, paths},
              {{}, paths},
              {{"a.txt"}, paths}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.arguments.size() << " arguments, the first "
                                    << (row.arguments.empty() ? "" : row.arguments[0]));
    EXPECT_EQ(CommandSwitch(row.arguments), row.kind);
  }
}

// Asked to close a box that does not run, a start ends at once and makes no settings file.
TEST(StartRequest, ACloseWithNoBoxRunningStartsNothing) {
  testing_support::TempFolder folder;
  EXPECT_FALSE(PrepareProgramIn(folder.path(), "", {}, platform::RequestKind::kClose));
  EXPECT_EQ(EarlyExitCode, 0);
  EXPECT_EQ(SettingsClaim, nullptr);
  EXPECT_TRUE(testing_support::NamesIn(folder.path()).empty());
  EXPECT_TRUE(PrepareProgramIn(folder.path(), ""));  // the file is free for the next box
  SettingsClaim.reset();
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

// The frame band and its corners, a box too small for a body, and drags that stop at the least
// size; a press moves nothing until the pointer leaves the drag distance.
TEST(BoxGeometry, TheFrameResizesByItsSidesAndADragFollowsThePointer) {
  const ScreenRect outer = {100, 100, 80, 70}, body = {105, 105, 70, 60}, tiny = {0, 0, 8, 8};
  const struct {
    const ScreenRect& box;
    int x, y;
    Edges edges;
  } presses[] = {{outer, 140, 135, kNoEdge},
                 {outer, 99, 135, kNoEdge},
                 {outer, 101, 135, kLeftEdge},
                 {outer, 150, 101, kTopEdge},
                 {outer, 101, 108, kLeftEdge | kTopEdge},  // on the left band, near the corner
                 {outer, 175, 101, kTopEdge | kRightEdge},
                 {outer, 179, 169, kRightEdge | kBottomEdge},
                 {tiny, 3, 3, kLeftEdge | kTopEdge},
                 {tiny, 5, 2, kRightEdge | kTopEdge}};
  for (const auto& p : presses) {
    const ScreenRect inner = &p.box == &outer ? body : ScreenRect{5, 5, -2, -2};
    EXPECT_EQ(FrameEdgesAt(p.box, inner, p.x, p.y, 12), p.edges) << p.x << "," << p.y;
  }
  const struct {
    Edges edges;
    int dx, dy;
    ScreenRect after;
  } drags[] = {{kNoEdge, 10, -5, {110, 95, 80, 70}},
               {kLeftEdge, 200, 0, {160, 100, 20, 70}},
               {kRightEdge | kBottomEdge, -100, -100, {100, 100, 20, 20}},
               {kTopEdge, 3, -10, {100, 90, 80, 80}}};
  for (const auto& d : drags)
    EXPECT_EQ(DraggedRect(outer, d.edges, d.dx, d.dy), d.after) << d.edges;

  BoxDrag drag;
  EXPECT_EQ(drag.Move(300, 300, 4, 4), BoxDrag::Step::kNone);  // no press
  drag.Press(150, 150, kNoEdge, outer);
  EXPECT_EQ(drag.Move(154, 146, 4, 4), BoxDrag::Step::kNone);
  EXPECT_EQ(drag.Move(155, 150, 4, 4), BoxDrag::Step::kBegin);
  EXPECT_EQ(drag.Follow(155, 150), (ScreenRect{105, 100, 80, 70}));
  EXPECT_EQ(drag.Move(151, 151, 4, 4), BoxDrag::Step::kFollow);  // back within: still follows
  drag.HandedOver();
  EXPECT_EQ(drag.Move(200, 200, 4, 4), BoxDrag::Step::kNone);
}

// The tip lies beside the box, on its screen where it fits, and never over the box.
TEST(TipPlace, TheTipGoesBesideTheBoxNeverOverIt) {
  const ScreenRect area = {0, 0, 1000, 800};
  const struct {
    const char* name;
    ScreenRect box;
    BoxSize tip;
    BoxPlace at;
  } cases[] = {{"below", {100, 100, 75, 75}, {200, 40}, {100, 179}},
               {"below, kept on the screen", {900, 100, 75, 75}, {200, 40}, {800, 179}},
               {"above, at the bottom", {100, 720, 75, 75}, {200, 40}, {100, 676}},
               {"right, for a tall tip", {100, 300, 75, 75}, {200, 600}, {179, 200}},
               {"left, at the right edge", {900, 300, 75, 75}, {200, 600}, {696, 200}},
               {"below when nowhere fits", {0, 0, 1000, 800}, {200, 40}, {0, 804}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const BoxPlace at = TipPlace(c.box, c.tip, area, 4);
    EXPECT_EQ(std::vector<int>({at.x, at.y}), std::vector<int>({c.at.x, c.at.y}));
    const ScreenRect tip = {at.x, at.y, c.tip.w, c.tip.h};
    const bool apart = tip.x >= c.box.x + c.box.w || c.box.x >= tip.x + tip.w ||
                       tip.y >= c.box.y + c.box.h || c.box.y >= tip.y + tip.h;
    EXPECT_TRUE(apart);
  }
  // A window too tall to go beside the box stays on the screen, over the box if it must.
  const BoxPlace window = WindowPlace({100, 300, 75, 75}, {900, 700}, area);
  EXPECT_EQ(std::vector<int>({window.x, window.y}), std::vector<int>({100, 100}));
  const BoxPlace fits = WindowPlace({100, 100, 75, 75}, {300, 200}, area);
  EXPECT_EQ(std::vector<int>({fits.x, fits.y}), std::vector<int>({100, 175}));
}

// The alpha wraps instead of clamping; only an alpha of 0 shows at the first-run opacity.
TEST(Opacity, AlphaWrapsInsteadOfClampingAndTheBoxNeverVanishes) {
  const struct {
    int16_t t;
    int alpha, shown;
  } rows[] = {{75, 191, 191},  {100, 255, 255}, {0, 0, 191},   {101, 1, 1},    {-1, 254, 254},
              {200, 254, 254}, {50, 127, 127},  {201, 0, 191}, {-201, 0, 191}, {1, 2, 2}};
  for (const auto& row : rows) {
    SettingsRecord.t = row.t;
    EXPECT_EQ(AlphaFromPercent(row.t), row.alpha) << row.t;
    EXPECT_EQ(ShownAlpha(), row.shown) << row.t;
  }
}

}  // namespace
