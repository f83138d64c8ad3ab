// The real Win32 clipboard: texts come back byte for byte as CF_TEXT, and a
// clipboard held open by another window is waited for, but not for long.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "platform/clipboard.h"

namespace {

bool OpenForTest() {
  for (int tries = 0; tries < 100; ++tries) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(20);
  }
  return false;
}

// The CF_TEXT on the clipboard up to its NUL; nothing when there is none or
// the block holds no NUL.
std::optional<std::string> ClipboardText() {
  if (!OpenForTest()) return std::nullopt;
  std::optional<std::string> text;
  if (HANDLE block = GetClipboardData(CF_TEXT)) {
    const SIZE_T size = GlobalSize(block);
    if (const char* bytes = static_cast<const char*>(GlobalLock(block))) {
      const size_t length = strnlen(bytes, size);
      if (length < size) text = std::string(bytes, length);
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  return text;
}

// Holds the clipboard open from a window of its own thread, as another
// program would, for a given time.
class ClipboardHolder {
 public:
  explicit ClipboardHolder(DWORD hold_ms) {
    std::promise<bool> opened;
    std::future<bool> result = opened.get_future();
    thread_ = std::thread([hold_ms, opened = std::move(opened)]() mutable {
      HWND window = CreateWindowExA(0, "STATIC", "holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
      const bool ok = window != nullptr && OpenClipboard(window);
      opened.set_value(ok);
      if (ok) {
        Sleep(hold_ms);
        CloseClipboard();
      }
      if (window != nullptr) DestroyWindow(window);
    });
    opened_ = result.get();
  }
  ~ClipboardHolder() { thread_.join(); }
  ClipboardHolder(const ClipboardHolder&) = delete;
  ClipboardHolder& operator=(const ClipboardHolder&) = delete;

  bool opened() const { return opened_; }

 private:
  std::thread thread_;
  bool opened_ = false;
};

long long MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start)
      .count();
}

TEST(UiWin32Clipboard, HoldsTheExactText) {
  const std::string cases[] = {
      "C:\\Data\\a.txt",
      "C:\\Data\\a.txt\rC:\\Data\\b c.txt\r",
      "\"C:\\x\"\r\n'y'\t<&>",
      "Stra\xdf" "e \xe9t\xe9",          // ANSI code page bytes
      std::string(1022, 'x'),            // exactly fills the smallest block
      std::string(1023, 'y'),            // one byte more than it holds
      std::string(100000, 'q') + "end",  // far beyond it, never cut
      "",
  };
  for (const std::string& text : cases) {
    SCOPED_TRACE(text.substr(0, 40) + " (" + std::to_string(text.size()) + " bytes)");
    ASSERT_TRUE(platform::PutClipboardText(text));
    const std::optional<std::string> read = ClipboardText();
    ASSERT_TRUE(read.has_value());
    // Long texts are compared without printing them.
    EXPECT_EQ(read->size(), text.size());
    if (text.size() <= 1024) {
      EXPECT_EQ(*read, text);
    } else {
      EXPECT_TRUE(*read == text);
    }
  }
}

TEST(UiWin32Clipboard, WaitsForAClipboardHeldBriefly) {
  ASSERT_TRUE(platform::PutClipboardText("before"));
  const auto start = std::chrono::steady_clock::now();
  {
    ClipboardHolder holder(200);
    ASSERT_TRUE(holder.opened());
    EXPECT_TRUE(platform::PutClipboardText("after the wait"));
    EXPECT_GE(MillisecondsSince(start), 150);
  }
  EXPECT_EQ(ClipboardText(), "after the wait");
}

TEST(UiWin32Clipboard, GivesUpOnAClipboardHeldLong) {
  ASSERT_TRUE(platform::PutClipboardText("old content"));
  {
    ClipboardHolder holder(2000);
    ASSERT_TRUE(holder.opened());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(platform::PutClipboardText("new content"));
    const long long waited = MillisecondsSince(start);
    EXPECT_GE(waited, 400);
    EXPECT_LT(waited, 1500);
  }
  EXPECT_EQ(ClipboardText(), "old content");
}

}  // namespace
