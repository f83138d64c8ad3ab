// Files dropped on the box: a real drop handle sent as WM_DROPFILES reaches
// the actions. What the actions do with the names is tested in tests/actions.
#include <shlobj.h>

#include <algorithm>
#include <cstring>

#include "app/common/menu_commands.h"
#include "platform/win32/wide_text.h"
#include "tests/support/clipboard_win32.h"
#include "tests/support/test_names.h"
#include "tests/win32/drop_box_fixture.h"

namespace win32_testing {
namespace {

using testing_support::ClipboardText;
using testing_support::Exists;
using testing_support::ReadFile;

class Win32Drop : public DropBoxTest {
 protected:
  // Sends a drop handle holding names, made as the shell makes it: in UTF-16
  // when wide, else in 8-bit text, as older programs drop.
  void Drop(const std::vector<std::string>& names, bool wide = false) {
    std::wstring list;  // each name ends in a NUL, the list in an empty name
    for (const std::string& name : names) list += platform::win32::Widen(name) + L'\0';
    std::string narrow;
    for (const std::string& name : names) narrow += name + '\0';
    const size_t size = wide ? (list.size() + 1) * 2 : narrow.size() + 1;
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + size);
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = wide;
    std::memcpy(header + 1, wide ? static_cast<const void*>(list.c_str()) : narrow.c_str(), size);
    GlobalUnlock(block);
    EXPECT_EQ(Send(WM_DROPFILES, reinterpret_cast<WPARAM>(block)), 0);
    PumpUntilDone();
  }

  testing_support::TempFolder sources_;
  testing_support::TempFolder targets_;
};

TEST_F(Win32Drop, CapturePutsEveryNameWholeOnTheClipboard) {
  // 1,500 characters, far beyond MAX_PATH.
  const std::string long_name =
      "C:\\" + std::string(1200, 'd') + "\\" + std::string(292, 'f') + ".txt";
  WriteSettings();
  Start();
  Drop({"C:\\a\\one.txt", long_name});
  EXPECT_EQ(ClipboardText(CF_TEXT), "C:\\a\\one.txt\r" + long_name);
}

// Names in every script and paths of 300 and 1,000 characters, dropped in
// UTF-16 as the shell drops them, reach each action whole; the destination
// is a long path ending in a folder with an accent.
TEST_F(Win32Drop, EveryScriptAndLengthReachesEachAction) {
  const auto rows = testing_support::NamesInEveryScript(sources_);
  std::vector<std::string> paths;
  std::string joined;
  for (const auto& row : rows) {
    paths.push_back(sources_ / (row.folder + "/" + row.name));
    joined += (joined.empty() ? "" : "\r") + paths.back();
  }
  const std::string destination =
      targets_ / (testing_support::DeepFolder(targets_, 300, "") + "/Donn\xC3\xA9" "es/");
  testing_support::MakeFolder(destination);
  const struct {
    const char* mode;
    const char* to_bin;
    bool kept, copied;
  } actions[] = {{"1", "0", true, false},  {"4", "0", false, false}, {"4", "1", false, false},
                 {"2", "0", true, true},   {"3", "0", false, true}};
  for (const auto& a : actions) {
    SCOPED_TRACE(testing::Message() << "CommandMode=" << a.mode << " deletetobin=" << a.to_bin);
    for (size_t i = 0; i < rows.size(); ++i) testing_support::WriteFile(paths[i], rows[i].what);
    WriteSettings({{"CommandMode", a.mode}, {"deletetobin", a.to_bin}, {"confirmcopy", "0"},
                   {"confirmmove", "0"}, {"confirmdelete", "0"}, {"overwritefile", "1"},
                   {"CopyDestination", destination}, {"MoveDestination", destination}});
    Start();
    Drop(paths, true);
    if (*a.mode == '1') {
      EXPECT_EQ(ClipboardText(), joined);
      EXPECT_EQ(ClipboardText(CF_TEXT), testing_support::InSystemAnsi(joined));
    }
    for (size_t i = 0; i < rows.size(); ++i) {
      SCOPED_TRACE(rows[i].what);
      EXPECT_EQ(Exists(paths[i]), a.kept);
      EXPECT_EQ(ReadFile(destination + rows[i].name), a.copied ? rows[i].what : "");
    }
    EXPECT_TRUE(robot_.Boxes().empty());
    Finish();
  }
}

// A settings file from before the program spoke UTF-8 names its destination
// in Windows-1252: the copy lands in that folder, the question names it, and
// saving the box's place changes nothing else in the file.
TEST_F(Win32Drop, OlderSettingsFileInTheAnsiCodePage) {
  if (platform::win32::SystemAnsiCodePage() != 1252) GTEST_SKIP() << "needs a Western system";
  const std::string folder = targets_.path() + "Donn\xC3\xA9" "es\\";
  testing_support::MakeFolder(folder);
  testing_support::WriteFile(sources_ / "a.txt", "a");
  WriteSettings({{"CommandMode", "2"}, {"CopyDestination", targets_.path() + "Donn\xE9" "es"}});
  std::string expected = IniBytes();
  expected.replace(expected.find("x=244"), 5, "x=300").replace(expected.find("y=200"), 5, "y=310");
  Start();
  robot_.Answer({IDYES});
  Drop({sources_ / "a.txt"});
  EXPECT_EQ(ReadFile(folder + "a.txt"), "a");
  ASSERT_EQ(robot_.Boxes().size(), 1u);
  const std::string question = robot_.Boxes()[0].text;
  EXPECT_NE(question.find("to copy these files to " + folder + "?"), std::string::npos) << question;
  SetWindowPos(DropBoxWindow, nullptr, 300, 310, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Send(WM_COMMAND, IDM_EXIT);
  EXPECT_EQ(IniBytes(), expected);
}

// Each action asks first; the robot says yes.
TEST_F(Win32Drop, CopyMoveAndDeleteAfterTheQuestion) {
  const struct {
    const char* mode;
    bool copied;
    bool source_kept;
  } cases[] = {{"2", true, true}, {"3", true, false}, {"4", false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "CommandMode=" << c.mode);
    const std::string name = std::string("mode") + c.mode + ".txt";
    testing_support::WriteFile(sources_ / name, c.mode);
    WriteSettings({{"CommandMode", c.mode}, {"deletetobin", "0"},
                   {"CopyDestination", targets_.path()}, {"MoveDestination", targets_.path()}});
    Start();
    robot_.Answer({IDYES});
    const size_t boxes_before = robot_.Boxes().size();
    Drop({sources_ / name});
    const std::vector<SeenBox> boxes = robot_.Boxes();
    ASSERT_EQ(boxes.size(), boxes_before + 1);
    EXPECT_EQ(boxes.back().caption, "Quorlith");
    EXPECT_EQ(boxes.back().style, static_cast<uint32_t>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(ReadFile(targets_ / name), c.copied ? c.mode : "");
    EXPECT_EQ(Exists(sources_ / name), c.source_kept);
    Finish();
  }
}

}  // namespace
}  // namespace win32_testing
