#include "tests/win32/drop_box_fixture.h"

#include <shlobj.h>

#include <cstring>
#include <utility>

#include "app/common/program.h"
#include "platform/shell_open.h"
#include "settings/ini_file.h"
#include "settings/settings_record.h"

namespace win32_testing {
namespace {

// The settings file as the first start writes it, key by key in file order.
const std::pair<const char*, const char*> kFirstRun[] = {
    {"x", "244"},          {"y", "200"},           {"w", "75"},
    {"h", "75"},           {"t", "75"},            {"b", "1"},
    {"m", "1"},            {"CommandMode", "1"},   {"pathaction", "1"},
    {"listseparator", "1"}, {"encase", "0"},        {"deletetobin", "1"},
    {"confirmdelete", "1"}, {"confirmcopy", "1"},   {"confirmmove", "1"},
    {"overwritefile", "0"}, {"CopyDestination", ""}, {"MoveDestination", ""},
};
constexpr int kCoordinateKeys = 7;

}  // namespace

void DropBoxTest::SetUpTestSuite() {
  static const ATOM registered = [] {
    ClassName = "Quorlith";
    SetMetric("pixels");
    InitGui();
    return RegisterFormClass(ClassName.c_str(), DropBoxProc);
  }();
  ASSERT_NE(registered, 0);
}

void DropBoxTest::SetUp() {
  SettingsRecord = Settings{};
  DropBoxWindow = nullptr;
  platform::SetOpenHandler([this](const std::string& path) {
    opened_.push_back(path);
    return true;
  });
}

void DropBoxTest::TearDown() {
  Finish();
  platform::SetOpenHandler(nullptr);
}

void DropBoxTest::Finish() {
  if (IsWindow(DropBoxWindow)) DestroyWindow(DropBoxWindow);
  Pump();
  TakeQuit();
}

void DropBoxTest::WriteSettings(const SettingsChanges& changes) {
  std::string text = "[Coordinates]\r\n";
  int index = 0;
  for (const auto& [key, first_run] : kFirstRun) {
    if (index++ == kCoordinateKeys) text += "[Options]\r\n";
    const auto changed = changes.find(key);
    text += std::string(key) + "=" + (changed == changes.end() ? first_run : changed->second) + "\r\n";
  }
  testing_support::WriteFile(IniPathHere(), text);
}

void DropBoxTest::Start() {
  FormLoadIn(folder_.path(), "");
  ASSERT_TRUE(IsWindow(DropBoxWindow));
  Pump();
}

void DropBoxTest::Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Keep it for TakeQuit: the loop would end here.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

std::optional<WPARAM> DropBoxTest::TakeQuit() {
  MSG message;
  if (!PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return std::nullopt;
  return message.wParam;
}

RECT DropBoxTest::Outer() const {
  RECT r = {};
  GetWindowRect(DropBoxWindow, &r);
  return r;
}

BYTE DropBoxTest::Alpha() const {
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  GetLayeredWindowAttributes(DropBoxWindow, &key, &alpha, &flags);
  return alpha;
}

int DropBoxTest::FileNumber(const char* key) const {
  return ReadIniNumber(IniPathHere().c_str(), "Coordinates", key, -9999);
}

std::vector<int> DropBoxTest::SavedRect() const {
  return {FileNumber("x"), FileNumber("y"), FileNumber("w"), FileNumber("h")};
}

std::string DropBoxTest::IniBytes() const { return testing_support::ReadFile(IniPathHere()); }

HDROP MakeDrop(const std::vector<std::string>& names) {
  size_t bytes = sizeof(DROPFILES) + 1;  // the list ends in an empty name
  for (const std::string& name : names) bytes += name.size() + 1;
  HGLOBAL block = GlobalAlloc(GHND, bytes);
  auto* header = static_cast<DROPFILES*>(GlobalLock(block));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = FALSE;
  char* next = reinterpret_cast<char*>(header + 1);
  for (const std::string& name : names) {
    std::memcpy(next, name.c_str(), name.size() + 1);
    next += name.size() + 1;
  }
  GlobalUnlock(block);
  return static_cast<HDROP>(block);
}

std::optional<std::string> ClipboardText() {
  if (!OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::string> text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
      text = bytes;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void SetClipboard(const std::string& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
}

}  // namespace win32_testing
