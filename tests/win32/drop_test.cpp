// Files dropped on the box on Windows: a drop handle as WM_DROPFILES, and a
// drag through the OLE drop target with the feedback it shows: the hover, the
// flash, the tip and the progress.
#include <ole2.h>
#include <shlobj.h>

#include <atomic>
#include <cstring>

#include "app/common/menu_commands.h"
#include "platform/file_ops.h"
#include "platform/message_box.h"
#include "platform/win32/wide_text.h"
#include "tests/support/test_names.h"
#include "tests/win32/box_fixture.h"

namespace {

// A drop handle holding names as the shell makes it: UTF-16 when wide, else
// 8-bit text as older programs drop; each name ends in a NUL, the list in two.
HGLOBAL DropHandle(const std::vector<std::string>& names, bool wide) {
  std::wstring list;
  std::string narrow;
  for (const std::string& name : names) {
    list += platform::win32::Widen(name) + L'\0';
    narrow += name + '\0';
  }
  const size_t size = wide ? (list.size() + 1) * 2 : narrow.size() + 1;
  HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + size);
  auto* header = static_cast<DROPFILES*>(GlobalLock(block));
  *header = {sizeof(DROPFILES), {}, FALSE, wide};
  std::memcpy(header + 1, wide ? static_cast<const void*>(list.c_str()) : narrow.c_str(), size);
  GlobalUnlock(block);
  return block;
}

class Win32Drop : public BoxTest {
 protected:
  // Drags names over the box as a file manager's data object offers them
  // (here through the clipboard) and drops them; the effect taken.
  DWORD DragAndDrop(const std::vector<std::string>& names) {
    if (OpenClipboard(DropBoxWindow)) {
      EmptyClipboard();
      SetClipboardData(CF_HDROP, DropHandle(names, true));
      CloseClipboard();
    }
    IDataObject* data = nullptr;
    EXPECT_EQ(OleGetClipboard(&data), S_OK);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(BoxDropTarget()->DragEnter(data, 0, {20, 20}, &effect), S_OK);
    EXPECT_EQ(BoxLook().tint, BoxFace::Tint::kHover);
    BoxDropTarget()->DragLeave();
    EXPECT_EQ(BoxLook().tint, BoxFace::Tint::kNone);
    BoxDropTarget()->DragEnter(data, 0, {20, 20}, &effect);
    EXPECT_EQ(BoxDropTarget()->Drop(data, 0, {20, 20}, &effect), S_OK);
    data->Release();
    return effect;
  }
};

// Names in every script, of 300 and 1,000 characters, or beyond MAX_PATH in
// 8-bit text, reach the action whole; a copy waits for the question's yes.
TEST_F(Win32Drop, EveryNameReachesTheActionWhole) {
  const auto rows = testing_support::NamesInEveryScript(folder_);
  std::vector<std::string> paths;
  std::string joined;
  for (const auto& row : rows) {
    paths.push_back(folder_ / (row.folder + "/" + row.name));
    testing_support::WriteFile(paths.back(), row.what);
    joined += (joined.empty() ? "" : "\r") + paths.back();
  }
  const std::string ascii = "C:\\" + std::string(1200, 'd') + "\\" + std::string(292, 'f') + ".txt";
  const std::string out = folder_ / "out\\";
  testing_support::MakeFolder(out);
  const struct {
    bool wide;
    const char* mode;
    std::vector<std::string> names;
    std::string clipboard;  // none when empty
  } cases[] = {{false, "1", {"C:\\a\\one.txt", ascii}, "C:\\a\\one.txt\r" + ascii},
               {true, "1", paths, joined},
               {true, "2", paths, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "wide " << c.wide << " CommandMode=" << c.mode);
    WriteSettings("", "CommandMode=" + std::string(c.mode) + "\r\nCopyDestination=" + out + "\r\n");
    Start();
    ui_.Answer({platform::kAnswerYes});
    const size_t captured = ui_.clipboard().size(), asked = ui_.boxes().size();
    EXPECT_EQ(Send(WM_DROPFILES, reinterpret_cast<WPARAM>(DropHandle(c.names, c.wide))), 0);
    PumpUntilDone();
    EXPECT_EQ(ui_.clipboard().size(), captured + !c.clipboard.empty());
    if (!c.clipboard.empty()) {
      EXPECT_EQ(ui_.LastClipboard(), c.clipboard);
    }
    EXPECT_EQ(ui_.boxes().size(), asked + c.clipboard.empty());
    for (size_t i = 0; c.clipboard.empty() && i < rows.size(); ++i) {
      SCOPED_TRACE(rows[i].what);
      EXPECT_EQ(testing_support::ReadFile(out + rows[i].name), rows[i].what);
      EXPECT_TRUE(testing_support::Exists(paths[i]));
    }
    Finish();
  }
}

TEST_F(Win32Drop, HoverHighlightsADropFlashesAndTheTipSaysWhatHappened) {
  WriteSettings();
  Start();
  EXPECT_EQ(DragAndDrop({"C:\\a\\one.txt", "C:\\b\\two.txt"}), static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(BoxLook().tint, BoxFace::Tint::kFlash);
  PumpUntilDone();
  EXPECT_EQ(ui_.LastClipboard(), "C:\\a\\one.txt\rC:\\b\\two.txt");
  EXPECT_EQ(BoxTip(), "2 paths on the clipboard");
  Sleep(600);
  PumpUntilDone();
  EXPECT_EQ(BoxLook().tint, BoxFace::Tint::kNone);
}

// The copy of the second file is held: the box answers, moves and shows its
// progress meanwhile; Exit lets that file finish and skips the third.
TEST_F(Win32Drop, TheBoxStaysFreeDuringWorkAndExitFinishesOnlyTheCurrentFile) {
  const std::string out = folder_ / "out\\", in = folder_ / "in\\";
  testing_support::MakeFolder(out);
  for (const auto& [name, size] : {std::pair{"a.bin", 2 << 20}, {"b.bin", 1 << 20}, {"c.bin", 1}}) {
    testing_support::WriteFile(in + name, std::string(size, *name));
  }
  WriteSettings("", "CommandMode=2\r\nconfirmcopy=0\r\nCopyDestination=" + out + "\r\n");
  Start();
  std::atomic<int> starts{0};
  platform::SetCopyPacer([&](uint64_t done) {
    if (done == 0 && ++starts == 2) Sleep(1500);
  });
  DragAndDrop({in + "a.bin", in + "b.bin", in + "c.bin"});
  const ULONGLONG give_up = GetTickCount64() + 5000;
  while (BoxTip().rfind("Copying", 0) != 0 && GetTickCount64() < give_up) Pump();
  EXPECT_EQ(BoxTip(), "Copying 2 of 3: b.bin (66 %)");
  EXPECT_GT(BoxLook().done, 0.6);
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutA(DropBoxWindow, WM_NULL, 0, 0, SMTO_BLOCK, 200, &answer), 0);
  SetWindowPos(DropBoxWindow, nullptr, 300, 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(Placement()[0], 300);

  Send(WM_COMMAND, IDM_EXIT);
  platform::SetCopyPacer(nullptr);
  EXPECT_FALSE(IsWindow(DropBoxWindow));
  EXPECT_EQ(testing_support::NamesIn(out), (std::vector<std::string>{"a.bin", "b.bin"}));
  EXPECT_EQ(testing_support::ReadFile(out + "b.bin").size(), size_t{1} << 20);
}

}  // namespace
