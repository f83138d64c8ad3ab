#include "app/common/menu_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

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
    for (auto box = ui_.boxes().begin() + first; box < ui_.boxes().end(); ++box) texts.push_back(box->text);
    return texts;
  }

  testing_support::TempFolder folder_;
  testing_support::ScriptedUi ui_;
  Texts opened_;
  bool opens_ = true;
};

// Open Settings and Exit first save where the box is; Reload reads and applies
// the file without writing; Help and About show one box; other ids do nothing.
TEST_F(CommandTest, EachCommandDoesItsOwnPart) {
  const std::string about = "Quorlith version 1.1\rA configurable drag-box to capture the path "
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
      {0, true, false, {}, {}},
      {1004, true, false, {}, {}},
      {1011, true, false, {}, {}},
  };
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

// A settings file become unusable is reported after the reload, which still
// applies what it has; Exit then leaves the entry as it is.
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

// The readme opened is the first plain file here, beside the program, or in
// the documents folder; with none, a box says where it belongs.
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
  } cases[] = {{"", false, false, ""},     {"", false, true, doc},
               {"", true, true, beside},   {"file", true, true, "Quorlith.txt"},
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
                                       "Quorlith.txt\rMake sure its in the same folder as Quorlith."}
                               : Texts{});
  }
  fs::remove(beside);
}

}  // namespace
