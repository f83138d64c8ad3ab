// The Win32 clipboard. The text goes there as CF_UNICODETEXT, so every
// program pastes the same characters whatever its locale; a program that asks
// for CF_TEXT gets the system's conversion to its ANSI code page. Files come
// from CF_HDROP, as Explorer copies and cuts them.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <string_view>

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

// The names in a DROPFILES block of size bytes: UTF-16 or, from old
// programs, in the system's ANSI code page; each ends with a NUL and an empty
// one ends the list. Nothing is read beyond the block.
std::vector<std::string> NamesInDropFiles(const char* block, size_t size) {
  std::vector<std::string> names;
  DROPFILES header;
  if (size < sizeof header) return names;
  std::memcpy(&header, block, sizeof header);
  if (header.pFiles > size) return names;
  const size_t unit = header.fWide ? sizeof(wchar_t) : 1;
  std::wstring wide;
  std::string ansi;
  for (size_t at = header.pFiles; at + unit <= size; at += unit) {
    wchar_t c = 0;
    if (header.fWide) {
      std::memcpy(&c, block + at, sizeof c);
    } else {
      c = static_cast<unsigned char>(block[at]);
    }
    if (c != 0) {
      header.fWide ? wide.push_back(c) : ansi.push_back(static_cast<char>(c));
      continue;
    }
    if (wide.empty() && ansi.empty()) break;
    names.push_back(header.fWide ? win32::Narrow(wide)
                                 : win32::FromCodePage(ansi, win32::SystemAnsiCodePage()));
    wide.clear();
    ansi.clear();
  }
  return names;
}

// The clipboard's data in format, copied out; empty when there is none.
std::string ClipboardBytes(UINT format) {
  const HANDLE data = GetClipboardData(format);
  const void* bytes = data != nullptr ? GlobalLock(data) : nullptr;
  if (bytes == nullptr) return {};
  std::string copy(static_cast<const char*>(bytes), GlobalSize(data));
  GlobalUnlock(data);
  return copy;
}

}  // namespace

std::optional<ClipboardFiles> ReadClipboardFiles() {
  if (!IsClipboardFormatAvailable(CF_HDROP) || !OpenClipboardPatiently()) return std::nullopt;
  static const UINT effect_format = RegisterClipboardFormatW(L"Preferred DropEffect");
  const std::string list = ClipboardBytes(CF_HDROP);
  const std::string effect = effect_format != 0 ? ClipboardBytes(effect_format) : std::string();
  CloseClipboard();
  ClipboardFiles files{NamesInDropFiles(list.data(), list.size()), false};
  if (files.paths.empty()) return std::nullopt;
  DWORD chosen = 0;
  if (effect.size() >= sizeof chosen) std::memcpy(&chosen, effect.data(), sizeof chosen);
  files.cut = (chosen & DROPEFFECT_MOVE) != 0;
  return files;
}

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
