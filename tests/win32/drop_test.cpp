// Files dropped on the box: a real drop handle sent as WM_DROPFILES reaches
// the actions. What the actions do with the names is tested in tests/actions.
#include <shlobj.h>

#include <algorithm>

#include "tests/win32/drop_box_fixture.h"

namespace win32_testing {
namespace {

using testing_support::Exists;
using testing_support::ReadFile;

class Win32Drop : public DropBoxTest {
 protected:
  // Sends a drop handle holding names, made as the shell makes it.
  void Drop(const std::vector<std::string>& names) {
    size_t bytes = sizeof(DROPFILES) + 1;  // the list ends in an empty name
    for (const std::string& name : names) bytes += name.size() + 1;
    HGLOBAL block = GlobalAlloc(GHND, bytes);
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    char* next = reinterpret_cast<char*>(header + 1);
    for (const std::string& name : names) next = std::copy_n(name.c_str(), name.size() + 1, next);
    GlobalUnlock(block);
    EXPECT_EQ(Send(WM_DROPFILES, reinterpret_cast<WPARAM>(block)), 0);
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
  std::string text;
  ASSERT_TRUE(OpenClipboard(nullptr));
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  EXPECT_EQ(text, "C:\\a\\one.txt\r" + long_name);
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
