// The user's folders on Windows, as the shell knows them.
#include "platform/known_folders.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "platform/file_query.h"
#include "platform/win32/long_path.h"

namespace platform {

namespace {

constexpr int kAppDataFolder = 0x001A;  // CSIDL_APPDATA

// Longest folder path accepted; the buffer grows up to this size.
constexpr DWORD kFolderPathLimit = 1 << 15;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The file-system path of a shell item, however long; empty when it has none.
// The call does not say whether it failed for want of room, so a failure is
// tried again with more, up to the limit.
std::string PathOfItem(PCIDLIST_ABSOLUTE item) {
  for (DWORD size = MAX_PATH; size <= kFolderPathLimit; size *= 2) {
    std::vector<wchar_t> buffer(size, L'\0');
    if (SHGetPathFromIDListEx(item, buffer.data(), size, GPFIDL_DEFAULT)) {
      return win32::ProgramPath(buffer.data());
    }
  }
  return {};
}

}  // namespace

std::string SpecialFolderPath(int csidl, bool create) {
  PIDLIST_ABSOLUTE item = nullptr;
  const int flags = create ? CSIDL_FLAG_CREATE : 0;
  if (FAILED(SHGetFolderLocation(nullptr, csidl | flags, nullptr, 0, &item))) return {};
  std::string path = PathOfItem(item);
  CoTaskMemFree(item);
  return path;
}

std::string UserSettingsFolder() {
  std::string folder = SpecialFolderPath(kAppDataFolder, false);
  if (folder.empty()) return {};
  if (!IsSeparator(folder.back())) folder += '\\';
  return folder + "Quorlith\\";
}

bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  // Each parent in turn. Steps that cannot be folders ("C:", the "\\server"
  // of a network path) or that exist already simply fail; only the end
  // result counts.
  for (size_t i = 1; i < path.size(); ++i) {
    if (IsSeparator(path[i]) && !IsSeparator(path[i - 1])) {
      CreateDirectoryW(win32::SystemPath(path.substr(0, i)).c_str(), nullptr);
    }
  }
  CreateDirectoryW(win32::SystemPath(path).c_str(), nullptr);
  return IsFolder(path);
}

}  // namespace platform
