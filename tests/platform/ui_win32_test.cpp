// The real clipboard as others read it: exact names as CF_UNICODETEXT, CF_TEXT converted; and
// files as Explorer copies them, read back whole.
#include <windows.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/win32/wide_text.h"

// The clipboard's text in format, as UTF-8 for CF_UNICODETEXT.
static std::string ClipboardText(UINT format) {
  if (!OpenClipboard(nullptr)) return "<busy>";
  const HANDLE block = GetClipboardData(format);
  const void* data = block ? GlobalLock(block) : nullptr;
  const std::string text = data == nullptr ? "<none>"
                           : format == CF_TEXT
                               ? std::string(static_cast<const char*>(data))
                               : platform::win32::Narrow(static_cast<const wchar_t*>(data));
  if (data != nullptr) GlobalUnlock(block);
  CloseClipboard();
  return text;
}

TEST(UiWin32, TheClipboardHoldsTheExactNames) {
  for (const std::string text : {"C:\\a\\report.txt\rC:\\b c\\d.txt",
                                 "C:\\\xD0\x9E\xD1\x82\xD1\x87"
                                 "\xD1\x91\xD1\x82.txt\rD:\\\xE6\x97\xA5\xF0\x9F\x98\x80.txt"}) {
    ASSERT_TRUE(platform::PutClipboardText(text));
    EXPECT_EQ(ClipboardText(CF_UNICODETEXT), text);
    const std::wstring wide = platform::win32::Widen(text);
    std::string ansi(wide.size() * 4 + 1, '\0');
    ansi.resize(WideCharToMultiByte(platform::win32::SystemAnsiCodePage(), 0, wide.c_str(), -1,
                                    ansi.data(), static_cast<int>(ansi.size()), nullptr, nullptr) -
                1);
    EXPECT_EQ(ClipboardText(CF_TEXT), ansi);  // the system's conversion, "?" where it has none
  }
}

// Puts a DROPFILES block with names (UTF-16, or ANSI when not wide), or text alone when names is
// empty, and Explorer's drop effect when given.
static void PutOnClipboard(const std::vector<std::string>& names, bool wide, DWORD effect) {
  std::string block(sizeof(DROPFILES), '\0');
  DROPFILES header = {};
  header.pFiles = sizeof header;
  header.fWide = wide;
  std::memcpy(block.data(), &header, sizeof header);
  for (const std::string& name : names) {
    const std::wstring utf16 = platform::win32::Widen(name);
    if (wide) block.append(reinterpret_cast<const char*>(utf16.c_str()), (utf16.size() + 1) * 2);
    if (!wide) block.append(name + '\0');
  }
  block.append(wide ? 2 : 1, '\0');
  const auto global = [](const void* bytes, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(memory), bytes, size);
    GlobalUnlock(memory);
    return memory;
  };
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  if (names.empty()) SetClipboardData(CF_UNICODETEXT, global(L"C:\\a.txt", sizeof L"C:\\a.txt"));
  if (!names.empty()) SetClipboardData(CF_HDROP, global(block.data(), block.size()));
  if (effect != 0) {
    SetClipboardData(RegisterClipboardFormatW(L"Preferred DropEffect"), global(&effect, 4));
  }
  CloseClipboard();
}

TEST(UiWin32, PasteFindsTheFilesExplorerCopied) {
  const std::string long_name = "C:\\" + std::string(150, 'a') + "\\" + std::string(150, 'b');
  const std::vector<std::string> names = {
      "C:\\a b\\with  spaces.txt",
      "D:\\\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82 \xE6\x97\xA5\xF0\x9F\x98\x80.txt", "-dash",
      long_name};
  const struct {
    const char* what;
    std::vector<std::string> names;
    bool wide;
    DWORD effect;
    bool cut;
  } rows[] = {{"copied, UTF-16", names, true, DROPEFFECT_COPY | DROPEFFECT_LINK, false},
              {"cut", names, true, DROPEFFECT_MOVE, true},
              {"ANSI names of an old program", {"C:\\old\\one.txt", "C:\\two"}, false, 0, false},
              {"text alone", {}, true, 0, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    PutOnClipboard(row.names, row.wide, row.effect);
    const std::optional<platform::ClipboardFiles> files = platform::ReadClipboardFiles();
    ASSERT_EQ(files.has_value(), !row.names.empty());
    if (!files) continue;
    EXPECT_EQ(files->paths, row.names);
    EXPECT_EQ(files->cut, row.cut);
  }
}
