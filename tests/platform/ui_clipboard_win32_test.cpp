// The real Win32 clipboard: texts come back exactly as CF_UNICODETEXT, and a
// clipboard held open by another window is waited for, but not for long.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "platform/clipboard.h"
#include "tests/support/clipboard_win32.h"

namespace {

using testing_support::ClipboardText;
using testing_support::InSystemAnsi;

// Holds the clipboard open from a window of another thread, as another
// program would, for hold_ms; returns once it is open (opened false: it
// could not be opened).
std::thread HoldClipboard(DWORD hold_ms, bool& opened) {
  std::promise<bool> promise;
  std::future<bool> result = promise.get_future();
  std::thread holder([hold_ms, promise = std::move(promise)]() mutable {
    HWND window = CreateWindowExA(0, "STATIC", "holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    const bool ok = window != nullptr && OpenClipboard(window);
    promise.set_value(ok);
    if (ok) {
      Sleep(hold_ms);
      CloseClipboard();
    }
    if (window != nullptr) DestroyWindow(window);
  });
  opened = result.get();
  return holder;
}

// A reader of CF_UNICODETEXT gets the exact text in any script; a reader of
// CF_TEXT gets the system's conversion, which for ASCII is the text itself.
TEST(UiWin32Clipboard, HoldsTheExactText) {
  const std::string cases[] = {
      "C:\\Data\\a.txt\rC:\\Data\\b c.txt\r",
      "\"C:\\x\"\r\n'y'\t<&>",
      "C:\\Donn\xC3\xA9" "es\\\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82 \xCE\xB1 \xE6\x97\xA5 "
      "\xF0\x9F\x98\x80 e\xCC\x81.txt",
      std::string(1023, 'y'),            // one character more than the smallest block holds
      std::string(100000, 'q') + "end",  // never cut
      "",
  };
  for (const std::string& text : cases) {
    SCOPED_TRACE(text.substr(0, 40) + " (" + std::to_string(text.size()) + " bytes)");
    ASSERT_TRUE(platform::PutClipboardText(text));
    const std::optional<std::string> read = ClipboardText();
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->size(), text.size());
    EXPECT_TRUE(*read == text);  // long texts are not printed
    const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return c > 0; });
    EXPECT_TRUE(ClipboardText(CF_TEXT) == (ascii ? text : InSystemAnsi(text)));
  }
}

// A clipboard held briefly is waited for; one held long is given up on
// within about half a second, leaving the old content.
TEST(UiWin32Clipboard, WaitsButNotForLong) {
  const struct {
    DWORD hold_ms;
    bool put;
    long long min_ms, max_ms;
  } cases[] = {{200, true, 150, 1500}, {2000, false, 400, 1500}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hold_ms);
    ASSERT_TRUE(platform::PutClipboardText("old content"));
    bool opened = false;
    std::thread holder = HoldClipboard(c.hold_ms, opened);
    EXPECT_TRUE(opened);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(platform::PutClipboardText("new content"), c.put);
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start).count();
    holder.join();
    EXPECT_GE(waited, c.min_ms);
    EXPECT_LT(waited, c.max_ms);
    EXPECT_EQ(ClipboardText(), c.put ? "new content" : "old content");
  }
}

}  // namespace
