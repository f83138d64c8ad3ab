// The settings window in-process under Wine, opened from the box's menu and driven as a user
// drives it: its lists and check boxes, the slider, the system's folder picker, keys through
// the program's own message loop, and what screen readers are told of each control.
#include <gtest/gtest.h>
#include <ole2.h>
#include <oleacc.h>

#include <commctrl.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/common/menu_commands.h"
#include "app/common/program.h"
#include "app/win32/drop_box_shell.h"
#include "app/win32/settings_ids.h"
#include "platform/win32/wide_text.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tests/win32/box_class.h"

namespace {

namespace fs = std::filesystem;
using platform::win32::Narrow;
using platform::win32::Widen;

// Written by hand: a comment, spaces, an unknown key, a value the window has no name for, a
// line end of another kind, no line end at the very end.
const std::string kHand =
    "; my box\r\n[Coordinates]\r\nx=100\r\ny=100\r\nw=80\r\nh=70\r\nb=1\r\nt=75\r\n\r\n"
    "[Options]\r\nCommandMode = 1\r\nhotkey=Ctrl+Alt+Q\npathaction=42\r\nconfirmcopy=2";

std::string TextOf(HWND window) {
  wchar_t text[1024] = L"";
  GetWindowTextW(window, text, 1024);
  return Narrow(text);
}

// What a screen reader hears as the window's name.
std::string SpokenNameOf(HWND window) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object)))) {
    return "";
  }
  VARIANT self = {};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  std::string spoken;
  if (object->get_accName(self, &name) == S_OK && name != nullptr) spoken = Narrow(name);
  SysFreeString(name);
  object->Release();
  return spoken;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND c = GetWindow(parent, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    children.push_back(c);
  }
  return children;
}

class Win32Settings : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(RegisterBoxClassOnce()); }
  Win32Settings() {
    testing_support::WriteFile(File(), kHand);
    FormLoadIn(folder_.path(), "");
    Pump();
  }
  ~Win32Settings() override {
    if (IsWindow(DropBoxWindow)) DestroyWindow(DropBoxWindow);
    Pump();
  }
  // The program's own loop, as far as messages wait.
  static void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchLoopMessage(message);
  }
  std::string File() const { return folder_ / "Quorlith.ini"; }
  std::string Bytes() const { return testing_support::ReadFile(File()); }
  HWND Open() {
    SendMessageA(DropBoxWindow, WM_COMMAND, IDM_SETTINGS, 0);
    Pump();
    return SettingsWindow;
  }
  // The window's control a screen reader knows by this name.
  static HWND Named(const std::string& name) {
    for (HWND c : Children(SettingsWindow)) {
      if (IsWindowVisible(c) && SpokenNameOf(c) == name) return c;
    }
    ADD_FAILURE() << "no control named " << name;
    return nullptr;
  }
  // A key as the user types it, into the control that has the focus.
  static void Key(WPARAM key, bool alt = false) {
    HWND focus = GetFocus();
    if (alt) {
      PostMessageW(focus, WM_SYSKEYDOWN, VK_MENU, 0x20000000);
      PostMessageW(focus, WM_SYSCHAR, key, 0x20000000);
    } else {
      PostMessageW(focus, WM_KEYDOWN, key, 0);
      PostMessageW(focus, WM_KEYUP, key, 0xC0000000);
    }
    Pump();
  }
  static void Choose(HWND list, int index) {
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
  }
  static void Slide(HWND slider, int to) {
    SendMessageW(slider, TBM_SETPOS, TRUE, to);
    SendMessageW(GetParent(slider), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, to),
                 reinterpret_cast<LPARAM>(slider));
  }
  static int Alpha() {
    BYTE alpha = 0;
    GetLayeredWindowAttributes(DropBoxWindow, nullptr, &alpha, nullptr);
    return alpha;
  }

  testing_support::TempFolder folder_;
  testing_support::ScriptedUi ui_;
};

// One window however often it is asked for. Closed by Cancel, Esc, or OK with nothing changed,
// the file stays as it was, byte for byte, and the box shows its own opacity again; Enter (OK)
// after a change writes that key alone, in its place, and the box takes it at once.
TEST_F(Win32Settings, OnlyOkAfterAChangeWritesAndThenOnlyThatKey) {
  for (const std::string way : {"Cancel", "Esc", "OK", "change, Enter"}) {
    SCOPED_TRACE(way);
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Open(), window);
    EXPECT_EQ(TextOf(window), "Quorlith Settings");
    HWND path = Named("Part of each path");
    wchar_t shown[64] = L"";
    SendMessageW(path, CB_GETLBTEXT, SendMessageW(path, CB_GETCURSEL, 0, 0),
                 reinterpret_cast<LPARAM>(shown));
    EXPECT_EQ(Narrow(shown), "Other (42)");
    EXPECT_EQ(SendMessageW(Named("Ask before copying"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    if (way == "Cancel" || way == "Esc") {
      Choose(Named("Separator"), 2);
      Slide(Named("Opacity"), 40);
      EXPECT_EQ(Alpha(), 102);  // shown at once, while the slider moves
    }
    if (way == "change, Enter") {
      Choose(Named("Action"), 1);
      EXPECT_EQ(TextOf(GetDlgItem(window, IDC_SETTINGS_PREVIEW))
                    .rfind("A drop of report.txt and holiday 1.jpg copies them to ", 0),
                0u);
    }
    if (way == "Esc" || way == "change, Enter") {
      SetFocus(Named("Action"));
      Key(way == "Esc" ? VK_ESCAPE : VK_RETURN);
    } else {
      SendMessageW(GetDlgItem(window, way == "OK" ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
      Pump();
    }
    EXPECT_EQ(SettingsWindow, nullptr);
    EXPECT_EQ(Alpha(), 191);
  }
  std::string expected = kHand;
  expected.replace(expected.find("CommandMode = 1"), 15, "CommandMode =2");
  EXPECT_EQ(Bytes(), expected);
  EXPECT_EQ(Box->Description().rfind("Drop files to copy them to ", 0), 0u);
}

// Apply saves and keeps the window open; Browse opens the system's folder picker, answered here
// by typing a folder into it; a file that cannot be written is left whole and the window says
// why.
TEST_F(Win32Settings, ApplyBrowseAndAFileThatCannotBeWritten) {
  const std::string chosen = folder_ / "copies";
  testing_support::MakeFolder(chosen);
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  std::thread user([&chosen] {
    const std::wstring title = L"Browse for the folder to copy into";
    HWND picker = nullptr;
    for (int i = 0; i < 300 && picker == nullptr; ++i) {
      Sleep(50);
      picker = FindWindowW(nullptr, title.c_str());
    }
    HWND field = picker != nullptr ? FindWindowExW(picker, nullptr, L"Edit", nullptr) : nullptr;
    for (HWND c = nullptr; picker != nullptr && field == nullptr;) {
      c = FindWindowExW(picker, c, nullptr, nullptr);
      if (c == nullptr) break;
      field = FindWindowExW(c, nullptr, L"Edit", nullptr);
    }
    if (field != nullptr)
      SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(chosen).c_str()));
    if (picker != nullptr) PostMessageW(picker, WM_COMMAND, IDOK, 0);
  });
  SendMessageW(Named("Browse for the folder to copy into"), BM_CLICK, 0, 0);
  user.join();
  Pump();
  EXPECT_EQ(TextOf(Named("Copy into")), chosen);
  Slide(Named("Opacity"), 40);
  SendMessageW(GetDlgItem(window, IDC_SETTINGS_APPLY), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(SettingsWindow, window);
  EXPECT_NE(Bytes().find("\r\nt=40\r\n"), std::string::npos) << Bytes();
  EXPECT_NE(Bytes().find("\r\nCopyDestination=" + chosen + "\r\n"), std::string::npos) << Bytes();
  EXPECT_EQ(Alpha(), 102);

  const std::string before = Bytes();
  SetFileAttributesW(Widen(File()).c_str(), FILE_ATTRIBUTE_READONLY);
  SendMessageW(Named("Quote each path"), BM_CLICK, 0, 0);
  SendMessageW(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(SettingsWindow, window);
  HWND problem = GetDlgItem(window, IDC_SETTINGS_PROBLEM);
  EXPECT_TRUE(IsWindowVisible(problem));
  EXPECT_EQ(TextOf(problem).rfind("The settings could not be saved in " + File() + ".\r\n", 0), 0u)
      << TextOf(problem);
  EXPECT_EQ(Bytes(), before);
  SetFileAttributesW(Widen(File()).c_str(), FILE_ATTRIBUTE_NORMAL);

  SendMessageW(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
  Pump();
}

// Tab reaches every control in turn, each has a name for screen readers, and each access key
// moves to its own control.
TEST_F(Win32Settings, EveryControlIsReachedByKeyAndNamed) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  std::set<HWND> controls;
  for (HWND c : Children(window)) {
    if (IsWindowVisible(c) && IsWindowEnabled(c) && (GetWindowLongW(c, GWL_STYLE) & WS_TABSTOP)) {
      controls.insert(c);
    }
  }
  EXPECT_GE(controls.size(), 20u);
  std::set<HWND> reached;
  SetFocus(Named("Action"));
  for (size_t i = 0; i < controls.size(); ++i) {
    reached.insert(GetFocus());
    Key(VK_TAB);
  }
  EXPECT_EQ(reached, controls);
  for (HWND c : controls) EXPECT_NE(SpokenNameOf(c), "") << TextOf(c);
  std::set<wchar_t> keys;
  const std::vector<HWND> all = Children(window);
  for (size_t i = 0; i < all.size(); ++i) {
    const std::wstring text = Widen(TextOf(all[i]));
    const size_t amp = text.find(L'&');
    if (amp == std::wstring::npos) continue;
    const wchar_t key = static_cast<wchar_t>(towlower(text[amp + 1]));
    EXPECT_TRUE(keys.insert(key).second) << TextOf(all[i]);
    wchar_t kind[16] = L"";
    GetClassNameW(all[i], kind, 16);
    if (std::wstring(kind) != L"Static") continue;
    SetFocus(Named("Action"));
    Key(key, true);
    EXPECT_EQ(GetFocus(), all[i + 1]) << TextOf(all[i]);
  }
}

// On a screen of any scale (at_dpi.sh runs this at 192 DPI) the window grows with its font:
// every control lies inside it and none covers another.
TEST_F(Win32Settings, TheWindowIsScaledWithItsFontAndNothingOverlaps) {
  const char* named = std::getenv("QUORLITH_TEST_DPI");
  const int dpi = named != nullptr ? std::atoi(named) : 96;
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  RECT client = {};
  GetClientRect(window, &client);
  const int width96 = MulDiv(client.right, 96, dpi);
  EXPECT_GT(width96, 500);
  EXPECT_LT(width96, 900);
  std::vector<RECT> placed;
  for (HWND c : Children(window)) {
    RECT r = {};
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
        << TextOf(c);
    // Group boxes hold controls; hidden ones take no room.
    const bool frame = (GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
    if (frame || !IsWindowVisible(c)) continue;
    for (const RECT& other : placed) {
      RECT both = {};
      EXPECT_FALSE(IntersectRect(&both, &r, &other)) << TextOf(c);
    }
    placed.push_back(r);
  }
  SendMessageW(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
  Pump();
}

}  // namespace
