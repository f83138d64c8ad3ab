// The Win32 clipboard. The text goes there as CF_UNICODETEXT, so every
// program pastes the same characters whatever its locale; a program that asks
// for CF_TEXT gets the system's conversion to its ANSI code page.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/failure.h"
#include "platform/native_ui.h"
#include "platform/win32/wide_text.h"

namespace platform::native {
namespace {

// Another program may hold the clipboard open for a moment: retry opening it
// every kRetryMs for up to about kWaitMs.
constexpr DWORD kRetryMs = 20;
constexpr DWORD kWaitMs = 500;

// The clipboard block never holds fewer characters than this, as readers of
// old kept fixed buffers of about that size.
constexpr size_t kMinBlockChars = 1023;

// A zero-filled movable block holding the UTF-16 text and its terminating
// NUL; null when it cannot be allocated or locked.
HGLOBAL MakeTextBlock(const std::string& text) {
  const std::wstring wide = win32::Widen(text);
  const size_t size = std::max(kMinBlockChars, wide.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (block == nullptr) return nullptr;
  void* bytes = GlobalLock(block);
  if (bytes == nullptr) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(bytes, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(block);
  return block;
}

bool OpenClipboardPatiently() {
  for (DWORD waited = 0;; waited += kRetryMs) {
    if (OpenClipboard(nullptr)) return true;
    if (waited >= kWaitMs) {
      NoteSystemFailure();
      return false;
    }
    Sleep(kRetryMs);
  }
}

}  // namespace

bool PutClipboardText(const std::string& text) {
  HGLOBAL block = MakeTextBlock(text);
  if (block == nullptr) {
    NoteSystemFailure();
    return false;
  }
  if (!OpenClipboardPatiently()) {
    GlobalFree(block);
    return false;
  }
  EmptyClipboard();
  // On success the clipboard owns the block; otherwise it is still ours.
  const bool accepted = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  if (!accepted) NoteSystemFailure();
  CloseClipboard();
  if (!accepted) GlobalFree(block);
  return accepted;
}

}  // namespace platform::native
