// The real drop box in-process: start-up, the screen's scale, a click on the frame, the menu,
// drops and their feedback; boxes scripted, real mouse input in box_mouse.sh.
#include <gtest/gtest.h>
#include <ole2.h>
#include <oleacc.h>
#include <shlobj.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "app/common/menu_commands.h"
#include "app/common/program.h"
#include "app/win32/drop_box_shell.h"
#include "platform/clipboard.h"
#include "platform/file_ops.h"
#include "platform/win32/wide_text.h"
#include "settings/ini_file.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_names.h"
#include "tests/win32/box_class.h"

namespace {

namespace fs = std::filesystem;

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

class Win32Box : public ::testing::Test {
 protected:
  // The class is registered once, as StartUp does it.
  static void SetUpTestSuite() { ASSERT_TRUE(RegisterBoxClassOnce()); }
  ~Win32Box() override { Finish(); }

  // Keys left out keep the values last read.
  void WriteSettings(const std::string& coordinates = "x=244\r\ny=200\r\nw=75\r\nh=75\r\nb=1\r\n",
                     const std::string& options = "") {
    testing_support::WriteFile(IniPath(),
                               "[Coordinates]\r\n" + coordinates + "[Options]\r\n" + options);
  }
  void Start() {
    FormLoadIn(folder_.path(), "");
    ASSERT_TRUE(IsWindow(DropBoxWindow));
    Pump();
  }
  // Destroys the box if it is still there and empties the queue.
  void Finish() {
    if (IsWindow(DropBoxWindow)) DestroyWindow(DropBoxWindow);
    Pump();
  }
  static void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  // Runs the message loop until the drops' work, on its own thread, has ended.
  static void PumpUntilDone() {
    for (int i = 0; i < 20000 && (Box && Box->Busy()); ++i) {
      Pump();
      Sleep(1);
    }
    Pump();
  }
  LRESULT Send(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const {
    return SendMessageA(DropBoxWindow, message, wparam, lparam);
  }
  // x, y, width, height: of the box's outer rectangle, and as the file holds them.
  std::vector<int> Placement() const {
    RECT r = {};
    GetWindowRect(DropBoxWindow, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  std::vector<int> SavedRect() const {
    const auto n = [this](const char* key) {
      return ReadIniNumber(IniPath().c_str(), "Coordinates", key, -1);
    };
    return {n("x"), n("y"), n("w"), n("h")};
  }
  std::string IniPath() const { return folder_ / "Quorlith.ini"; }
  std::string IniBytes() const { return testing_support::ReadFile(IniPath()); }

  // Drags names over the box as a file manager's data object offers them (here through the
  // clipboard), lets the drag leave, comes back and drops them; the effect taken. The hover
  // shows unless a drop's flash still does.
  DWORD DragAndDrop(const std::vector<std::string>& names, bool flashing = false) {
    if (OpenClipboard(DropBoxWindow)) {
      EmptyClipboard();
      SetClipboardData(CF_HDROP, DropHandle(names, true));
      CloseClipboard();
    }
    IDataObject* data = nullptr;
    EXPECT_EQ(OleGetClipboard(&data), S_OK);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(BoxDropTarget()->DragEnter(data, 0, {20, 20}, &effect), S_OK);
    const auto tint = [flashing](BoxFeedback::Tint shown) {
      return flashing ? BoxFeedback::Tint::kFlash : shown;
    };
    EXPECT_EQ(Box->Look().tint, tint(BoxFeedback::Tint::kHover));
    BoxDropTarget()->DragLeave();
    EXPECT_EQ(Box->Look().tint, tint(BoxFeedback::Tint::kNone));
    BoxDropTarget()->DragEnter(data, 0, {20, 20}, &effect);
    EXPECT_EQ(BoxDropTarget()->Drop(data, 0, {20, 20}, &effect), S_OK);
    data->Release();
    return effect;
  }

  testing_support::TempFolder folder_;
  testing_support::ScriptedUi ui_;
};

TEST_F(Win32Box, StartShowsTheFileRectangleOnTopAtItsOpacityAndNeverWritesTheFile) {
  for (const auto& [b, t, alpha] : {std::tuple{"1", "75", 191}, {"0", "101", 1}, {"1", "0", 191}}) {
    SCOPED_TRACE(t);
    WriteSettings(std::string("x=100\r\ny=-20\r\nw=90\r\nh=61\r\nb=") + b + "\r\nt=" + t + "\r\n");
    const std::string before = IniBytes();
    Start();
    const LONG shown = WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES;
    EXPECT_EQ(GetWindowLongA(DropBoxWindow, GWL_EXSTYLE) & shown, shown);
    EXPECT_EQ((GetWindowLongA(DropBoxWindow, GWL_STYLE) & WS_THICKFRAME) != 0, *b == '1');
    BYTE shown_alpha = 0;
    GetLayeredWindowAttributes(DropBoxWindow, nullptr, &shown_alpha, nullptr);
    EXPECT_EQ(shown_alpha, alpha);
    EXPECT_EQ(Placement(), (std::vector<int>{100, -20, 90, 61}));
    EXPECT_EQ(IniBytes(), before);
    Finish();
  }
}

// The file holds 96-DPI pixels, shown scaled: at 96 DPI and once more at 192 (at_dpi.sh). A
// place off every work area (the display is 1280 wide) shows at the first-run place.
TEST_F(Win32Box, TheBoxIsScaledToTheScreenAndTheFileKeeps96DpiPixels) {
  const char* named = std::getenv("QUORLITH_TEST_DPI");
  const int dpi = named != nullptr ? std::atoi(named) : 96;
  for (const auto& [x, shown_x] : {std::pair{100, 100}, {700, dpi > 96 ? 244 : 700}, {5000, 244}}) {
    SCOPED_TRACE(x);
    WriteSettings("x=" + std::to_string(x) + "\r\ny=50\r\nw=75\r\nh=61\r\n");
    Start();
    ASSERT_EQ(WindowDpi(DropBoxWindow), dpi);
    std::vector<int> scaled = {shown_x, x == shown_x ? 50 : 200, 75, 61};
    for (int& p : scaled) p = p * dpi / 96;
    EXPECT_EQ(Placement(), scaled);
    SetWindowPos(DropBoxWindow, nullptr, 20 * dpi / 96, 40 * dpi / 96, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    Send(WM_COMMAND, IDM_EXIT);
    EXPECT_EQ(SavedRect(), (std::vector<int>{20, 40, 75, 61}));
  }
}

// The frame sizes the box only once the pointer has left the drag rectangle,
// and then by the whole way from the press.
TEST_F(Win32Box, DraggingTheFrameResizesTheBoxAndAClickNever) {
  for (const auto& [dx, width] : {std::pair{0, 75}, {2, 75}, {30, 105}}) {
    SCOPED_TRACE(dx);
    WriteSettings();
    Start();
    SetCursorPos(318 + dx, 237);  // from the right side of the first-run box
    // The move and the release are already waiting when the press comes.
    PostMessageA(DropBoxWindow, WM_MOUSEMOVE, 0, 0);
    PostMessageA(DropBoxWindow, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(Send(WM_NCLBUTTONDOWN, HTRIGHT, MAKELPARAM(318, 237)), 0);
    EXPECT_EQ(Placement(), (std::vector<int>{244, 200, width, 75}));
    EXPECT_EQ(GetCapture(), nullptr);
    Finish();
  }
}

// The box is moved away from the file's rectangle first, so a command that
// saves it shows in the file; a box that closes ends the message loop.
TEST_F(Win32Box, EachCommandReachesTheBox) {
  const struct {
    UINT message;
    int id;
    bool saves, ends;
    size_t shown;  // boxes shown
  } cases[] = {{WM_COMMAND, IDM_EXIT, true, true, 0},
               {0, 0, true, true, 0},  // a later start's close, which is an Exit
               {WM_CLOSE, 0, false, true, 0},
               {WM_COMMAND, 1004, false, false, 0},
               {WM_COMMAND, IDM_ABOUT, false, false, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "message " << c.message << " id " << c.id);
    WriteSettings();
    Start();
    SetWindowPos(DropBoxWindow, nullptr, 300, 310, 130, 95, SWP_NOZORDER);
    const size_t shown = ui_.boxes().size();
    if (c.message == 0) {
      HandleRequest({"", {}, platform::RequestKind::kClose});
    } else {
      EXPECT_EQ(Send(c.message, c.id), 0);
    }
    EXPECT_EQ(SavedRect(),
              (c.saves ? std::vector<int>{300, 310, 130, 95} : std::vector<int>{244, 200, 75, 75}));
    EXPECT_EQ(IsWindow(DropBoxWindow), !c.ends);
    MSG quit;
    const bool quits = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    EXPECT_EQ(quits ? static_cast<int>(quit.wParam) : -1, c.ends ? 0 : -1);  // -1: no quit
    EXPECT_EQ(ui_.boxes().size() - shown, c.shown);
    Finish();
  }
}

// Names in every script, of 300 and 1,000 characters, or beyond MAX_PATH in
// 8-bit text, reach the action whole.
TEST_F(Win32Box, EveryDroppedNameReachesTheActionWhole) {
  std::vector<std::string> paths;
  std::string joined;
  for (const auto& row : testing_support::NamesInEveryScript(folder_)) {
    paths.push_back(folder_ / (row.folder + "/" + row.name));
    joined += (joined.empty() ? "" : "\r") + paths.back();
  }
  const std::string ascii = "C:\\" + std::string(1200, 'd') + "\\" + std::string(292, 'f');
  WriteSettings();
  Start();
  for (const auto& [wide, names, clipboard] :
       {std::tuple{false, std::vector<std::string>{"C:\\a.txt", ascii}, "C:\\a.txt\r" + ascii},
        {true, paths, joined}}) {
    SCOPED_TRACE(wide);
    EXPECT_EQ(Send(WM_DROPFILES, reinterpret_cast<WPARAM>(DropHandle(names, wide))), 0);
    PumpUntilDone();
    EXPECT_EQ(ui_.LastClipboard(), clipboard);
  }
}

TEST_F(Win32Box, HoverHighlightsADropFlashesAndTheTipSaysWhatHappened) {
  WriteSettings();
  Start();
  const DWORD copy = DROPEFFECT_COPY;
  EXPECT_EQ(DragAndDrop({"C:\\a\\one.txt", "C:\\b\\two.txt"}), copy);  // never a move
  EXPECT_EQ(Box->Look().tint, BoxFeedback::Tint::kFlash);
  PumpUntilDone();
  EXPECT_EQ(ui_.LastClipboard(), "C:\\a\\one.txt\rC:\\b\\two.txt");
  EXPECT_EQ(Box->Tip(), "Drop files to copy their paths\n2 paths on the clipboard");
  Sleep(600);
  PumpUntilDone();
  EXPECT_EQ(Box->Look().tint, BoxFeedback::Tint::kNone);
}

// A drop made while a question is open is taken at once and handled after that drop, with its own
// question; the first drop's answer counts for it alone.
TEST_F(Win32Box, ADropDuringAQuestionIsTakenAndHandledAfterIt) {
  const std::string out = folder_ / "out\\", a = folder_ / "in\\a.txt", b = folder_ / "in\\b.txt";
  testing_support::MakeFolder(out);
  testing_support::WriteFile(a, "a");
  testing_support::WriteFile(b, "b");
  WriteSettings("", "CommandMode=2\r\nconfirmcopy=1\r\nCopyDestination=" + out + "\r\n");
  Start();
  DWORD during = DROPEFFECT_NONE;
  ui_.WhileShowing([&] { during = DragAndDrop({b}, true); });
  ui_.Answer({platform::kAnswerNo, platform::kAnswerYes});
  EXPECT_EQ(DragAndDrop({a}), DWORD{DROPEFFECT_COPY});
  for (int i = 0; i < 5000 && testing_support::NamesIn(out).empty(); ++i) {
    Pump();
    Sleep(1);
  }
  PumpUntilDone();
  EXPECT_EQ(during, DWORD{DROPEFFECT_COPY});
  ASSERT_EQ(ui_.boxes().size(), 2u);
  EXPECT_EQ(ui_.boxes()[1].text, ui_.boxes()[0].text);  // the same question, asked again
  EXPECT_EQ(testing_support::NamesIn(out), std::vector<std::string>{"b.txt"});
}

// The copy of the second file is held: the box shows its progress meanwhile. Exit lets that
// file finish and skips the third; the session's end gives it up, leaving no temporary, and
// closes the box without saving its place.
TEST_F(Win32Box, TheBoxShowsProgressAndItsEndLosesNothing) {
  const std::string out = folder_ / "out\\", in = folder_ / "in\\";
  for (const bool session : {false, true}) {
    SCOPED_TRACE(session ? "the session ends" : "Exit");
    fs::remove_all(out);
    testing_support::MakeFolder(out);
    for (const auto& [name, size] : {std::pair{"a.bin", 2 << 20}, {"b.bin", 1 << 20}, {"c", 1}}) {
      testing_support::WriteFile(in + name, std::string(size, *name));
    }
    WriteSettings("", "CommandMode=2\r\nconfirmcopy=0\r\nCopyDestination=" + out + "\r\n");
    Start();
    SetWindowPos(DropBoxWindow, nullptr, 300, 310, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    std::atomic<int> starts{0};
    platform::SetCopyPacer([&](uint64_t done) {
      if (done == 0 && ++starts == 2) Sleep(1500);
    });
    DragAndDrop({in + "a.bin", in + "b.bin", in + "c"});
    for (int i = 0; i < 1000 && Box->Tip().rfind("Copying", 0) != 0; ++i) {
      Pump();
      Sleep(5);
    }
    EXPECT_EQ(Box->Tip(), "Copying 2 of 3 files: b.bin (66 %)");
    EXPECT_GT(Box->Look().done, 0.6);
    if (session) {
      EXPECT_EQ(Send(WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
      EXPECT_EQ(testing_support::NamesIn(out), (std::vector<std::string>{"a.bin"}));  // all of it
      Send(WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    } else {
      Send(WM_COMMAND, IDM_EXIT);
    }
    platform::SetCopyPacer(nullptr);
    EXPECT_FALSE(IsWindow(DropBoxWindow));
    const std::vector<std::string> kept =
        session ? std::vector<std::string>{"a.bin"} : std::vector<std::string>{"a.bin", "b.bin"};
    EXPECT_EQ(testing_support::NamesIn(out), kept);
    EXPECT_EQ(testing_support::ReadFile(out + "a.bin").size(), size_t{2} << 20);
    EXPECT_EQ(SavedRect()[0], session ? -1 : 300);  // a close saves nothing
  }
}

// The keyboard pastes copied files and nothing else; a later start's paths, made whole against
// its folder, are a drop; screen readers hear the box's name and what a drop does.
TEST_F(Win32Box, PastesALaterStartsPathsAndSaysWhatItDoes) {
  WriteSettings();
  Start();
  BYTE keys[256] = {};
  keys[VK_CONTROL] = 0x80;  // Ctrl is held
  SetKeyboardState(keys);
  ui_.SetClipboardFiles(platform::ClipboardFiles{{"C:\\a b.txt", "C:\\-c"}, false});
  EXPECT_EQ(Send(WM_KEYDOWN, 'V'), 0);
  EXPECT_EQ(ui_.LastClipboard(), "C:\\a b.txt\rC:\\-c");
  ui_.SetClipboardFiles(std::nullopt);
  Send(WM_KEYDOWN, 'V');
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(Box->Tip(), "Only copied files can be pasted");
  HandleRequest({"D:\\Work", {"report.txt", "\\x.txt", "\\\\srv\\y"}});
  EXPECT_EQ(ui_.LastClipboard(), "D:\\Work\\report.txt\rD:\\x.txt\r\\\\srv\\y");
  // A later start's paste takes the clipboard's files as Ctrl+V does.
  ui_.SetClipboardFiles(platform::ClipboardFiles{{"C:\\pasted.txt"}, false});
  HandleRequest({"D:\\Work", {}, platform::RequestKind::kPaste});
  EXPECT_EQ(ui_.LastClipboard(), "C:\\pasted.txt");
  ui_.SetClipboardFiles(std::nullopt);

  IAccessible* accessible = nullptr;
  ASSERT_EQ(AccessibleObjectFromWindow(DropBoxWindow, OBJID_CLIENT, __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&accessible)),
            S_OK);
  VARIANT self = {};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr, description = nullptr;
  EXPECT_EQ(accessible->get_accName(self, &name), S_OK);
  EXPECT_EQ(accessible->get_accDescription(self, &description), S_OK);
  EXPECT_EQ(platform::win32::Narrow(name != nullptr ? name : L""), "Quorlith drop box");
  EXPECT_EQ(platform::win32::Narrow(description != nullptr ? description : L""),
            "Drop files to copy their paths");
  SysFreeString(name);
  SysFreeString(description);
  accessible->Release();
  char title[64] = "";
  GetWindowTextA(DropBoxWindow, title, sizeof title);
  EXPECT_STREQ(title, "Quorlithdropbox");
}

}  // namespace
