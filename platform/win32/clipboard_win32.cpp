// The Win32 clipboard as CF_TEXT (ANSI code page bytes).
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/native_ui.h"

namespace platform::native {
namespace {

// Another program may hold the clipboard open for a moment: retry opening it
// every kRetryMs for up to about kWaitMs.
constexpr DWORD kRetryMs = 20;
constexpr DWORD kWaitMs = 500;

// The clipboard block is never smaller than this, as readers of old kept
// fixed buffers of about that size.
constexpr size_t kMinBlockSize = 1023;

// A zero-filled movable block holding text and its terminating NUL; null when
// it cannot be allocated or locked.
HGLOBAL MakeTextBlock(const std::string& text) {
  const size_t size = std::max(kMinBlockSize, text.size() + 1);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (block == nullptr) return nullptr;
  void* bytes = GlobalLock(block);
  if (bytes == nullptr) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  return block;
}

bool OpenClipboardPatiently() {
  for (DWORD waited = 0;; waited += kRetryMs) {
    if (OpenClipboard(nullptr)) return true;
    if (waited >= kWaitMs) return false;
    Sleep(kRetryMs);
  }
}

}  // namespace

bool PutClipboardText(const std::string& text) {
  HGLOBAL block = MakeTextBlock(text);
  if (block == nullptr) return false;
  if (!OpenClipboardPatiently()) {
    GlobalFree(block);
    return false;
  }
  EmptyClipboard();
  // On success the clipboard owns the block; otherwise it is still ours.
  const bool accepted = SetClipboardData(CF_TEXT, block) != nullptr;
  CloseClipboard();
  if (!accepted) GlobalFree(block);
  return accepted;
}

}  // namespace platform::native
