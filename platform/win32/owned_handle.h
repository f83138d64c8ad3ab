// Owners of Win32 handles: each closes its handle, with the call that kind of
// handle needs, when it goes out of scope. Handles that are not ours to close
// never go into one: the clipboard's memory once SetClipboardData took it, an
// OLE medium (ReleaseStgMedium releases it), a window (DestroyWindow, by its
// own rules).
#pragma once

#include <windows.h>

#include <utility>

namespace platform::win32 {

template <typename Handle, typename Kind>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  ~Owned() { Close(); }
  Owned(Owned&& other) noexcept : handle_(other.Release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.Release();
    }
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  Handle get() const { return handle_; }
  bool valid() const { return Kind::Valid(handle_); }
  // Hands the handle over to the caller, who closes it.
  Handle Release() { return std::exchange(handle_, Kind::None()); }
  // Closes now; false when there was nothing to close or the close failed
  // (a failing close of a written file can mean lost data).
  bool Close() {
    const Handle handle = Release();
    return Kind::Valid(handle) && Kind::Close(handle);
  }

 private:
  Handle handle_ = Kind::None();
};

// Files, mappings, processes, events: closed by CloseHandle. CreateFileW
// answers INVALID_HANDLE_VALUE on failure and most other calls null; neither
// is a handle.
struct KernelHandleKind {
  static HANDLE None() { return nullptr; }
  static bool Valid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static bool Close(HANDLE handle) { return CloseHandle(handle) != 0; }
};

// A directory search from FindFirstFileW, ended by FindClose.
struct FindHandleKind {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static bool Valid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static bool Close(HANDLE handle) { return FindClose(handle) != 0; }
};

// A view of a file mapping from MapViewOfFile, ended by UnmapViewOfFile.
struct MappedViewKind {
  static void* None() { return nullptr; }
  static bool Valid(void* view) { return view != nullptr; }
  static bool Close(void* view) { return UnmapViewOfFile(view) != 0; }
};

using OwnedHandle = Owned<HANDLE, KernelHandleKind>;
using OwnedSearch = Owned<HANDLE, FindHandleKind>;
using OwnedView = Owned<void*, MappedViewKind>;

}  // namespace platform::win32
