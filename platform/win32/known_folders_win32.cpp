// The user's folders on Windows, as the shell knows them.
#include "platform/known_folders.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/file_query.h"

namespace platform {

namespace {

constexpr int kAppDataFolder = 0x001A;  // CSIDL_APPDATA

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::string SpecialFolderPath(int csidl, bool create) {
  char buffer[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathA(nullptr, buffer, csidl, create ? TRUE : FALSE)) return {};
  return buffer;
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
      CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
  }
  CreateDirectoryA(path.c_str(), nullptr);
  return IsFolder(path);
}

}  // namespace platform
