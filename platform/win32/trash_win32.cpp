// Files to the Recycle Bin through the shell's file operation, one file per
// operation. The shell wants a single-threaded apartment on the calling
// thread: it gets one for the call when it has none yet.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <vector>

#include "platform/failure.h"
#include "platform/file_ops.h"
#include "platform/file_query.h"
#include "platform/win32/wide_text.h"

namespace platform {

namespace {

// Longest short form worth asking for: more would not pass to the shell.
constexpr int kShellPathLimit = 4 * MAX_PATH;

// The shell's file operation takes no path of MAX_PATH characters or more
// (a longer one may even overrun its buffers), nor the "\\?\" form. A long
// path is handed over through the short (8.3) form of its folder, which
// keeps the item's own name for the Recycle Bin, or else through the short
// form of the whole path; empty when neither fits.
std::wstring ShellPath(const std::string& path) {
  std::wstring wide = win32::Widen(path);
  if (wide.size() < MAX_PATH) return wide;
  const size_t cut = path.find_last_of("\\/");
  if (cut != std::string::npos && cut + 1 < path.size()) {
    const std::string folder = ShortPathOf(path.substr(0, cut), kShellPathLimit);
    if (!folder.empty()) wide = win32::Widen(folder + "\\" + path.substr(cut + 1));
    if (wide.size() < MAX_PATH) return wide;
  }
  wide = win32::Widen(ShortPathOf(path, kShellPathLimit));
  return wide.size() < MAX_PATH ? wide : std::wstring();
}

// An apartment for the shell for as long as this lives, unless the thread
// had one already.
class ShellApartment {
 public:
  ShellApartment()
      : joined_(
            SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
  }
  ~ShellApartment() {
    if (joined_) CoUninitialize();
  }
  ShellApartment(const ShellApartment&) = delete;
  ShellApartment& operator=(const ShellApartment&) = delete;

 private:
  bool joined_;
};

// The shell's file operation answers with its own old codes (DE_*, from
// 0x71 to 0x88, and 0x402) where it has one, and with the system's error
// codes otherwise; an old one is noted as the system error nearest to it.
void NoteShellFailure(int code) {
  unsigned long error = static_cast<unsigned long>(code);
  switch (code) {
    case 0x75:  // DE_OPCANCELLED
      NoteFailure(Failure::kStopped);
      return;
    case 0x74:  // DE_ROOTDIR
    case 0x78:  // DE_ACCESSDENIEDSRC
      error = ERROR_ACCESS_DENIED;
      break;
    case 0x79:  // DE_PATHTOODEEP
    case 0x81:  // DE_FILENAMETOOLONG
      error = ERROR_FILENAME_EXCED_RANGE;
      break;
    case 0x7C:  // DE_INVALIDFILES: no such file
      error = ERROR_FILE_NOT_FOUND;
      break;
    case 0x402:  // "unknown", in practice a path that is not there
      error = ERROR_PATH_NOT_FOUND;
      break;
    case 0x86:  // DE_SRC_IS_CDROM
    case 0x87:  // DE_SRC_IS_DVD
    case 0x88:  // DE_SRC_IS_CDRECORD
      error = ERROR_WRITE_PROTECT;
      break;
    default:
      if (code >= 0x71 && code <= 0x88) error = ERROR_INVALID_FUNCTION;
      break;
  }
  NoteFailure(Failure::kSystem, error);
}

}  // namespace

bool MoveToTrash(const std::string& path) {
  ClearFailure();
  const std::wstring shell_path = ShellPath(path);
  if (shell_path.empty()) {
    NoteFailure(Failure::kSystem,
                PathExists(path) ? ERROR_FILENAME_EXCED_RANGE : ERROR_FILE_NOT_FOUND);
    return false;
  }
  // The shell takes a list of paths, each ended by a zero, the list ended by
  // one more; the buffer is sized to the path, so no path can overflow it.
  std::vector<wchar_t> from(shell_path.size() + 2, L'\0');
  shell_path.copy(from.data(), shell_path.size());

  const ShellApartment apartment;
  SHFILEOPSTRUCTW operation;
  ZeroMemory(&operation, sizeof operation);
  operation.hwnd = nullptr;
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.data();
  operation.pTo = nullptr;
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION;
  const int result = SHFileOperationW(&operation);
  if (result != 0) NoteShellFailure(result);
  return result == 0;
}

}  // namespace platform
