// The user's folders on Linux: the desktop by the XDG user-dirs rules, the
// settings folder by the XDG base-directory rules.
#include "platform/known_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/file_query.h"
#include "platform/posix/home_folders.h"
#include "platform/posix/posix_files.h"

namespace platform {

namespace {

constexpr int kDesktopFolder = 0x0010;

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The value of one line of user-dirs.dirs when it assigns the desktop:
//   XDG_DESKTOP_DIR="$HOME/Desktop"
// The value is in double quotes, a backslash takes the next character as it
// is, and only "$HOME/" at its start is expanded. Values that are neither
// absolute nor below $HOME are not used; empty when the line gives nothing.
std::string DesktopFromLine(const std::string& line, const std::string& home) {
  static const std::string kKey = "XDG_DESKTOP_DIR=\"";
  size_t i = line.find_first_not_of(" \t");
  if (i == std::string::npos || line.compare(i, kKey.size(), kKey) != 0) return {};
  i += kKey.size();
  std::string value;
  bool closed = false;
  for (; i < line.size(); ++i) {
    if (line[i] == '"') {
      closed = true;
      break;
    }
    if (line[i] == '\\' && i + 1 < line.size()) ++i;
    value += line[i];
  }
  if (!closed) return {};
  static const std::string kHome = "$HOME/";
  if (value.compare(0, kHome.size(), kHome) == 0) {
    return WithoutTrailingSlashes(home + value.substr(kHome.size() - 1));
  }
  if (!value.empty() && value[0] == '/') return WithoutTrailingSlashes(value);
  return {};
}

std::string DesktopFolder() {
  const std::string home = HomeFolder();
  std::string desktop;
  std::ifstream file(ConfigHome() + "/user-dirs.dirs");
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    // As when the file is read by a shell, a later assignment wins.
    std::string value = DesktopFromLine(line, home);
    if (!value.empty()) desktop = std::move(value);
  }
  if (desktop.empty()) desktop = home + "/Desktop";
  return desktop;
}

}  // namespace

std::string ConfigHome() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return WithoutTrailingSlashes(config);
  return HomeFolder() + "/.config";
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return WithoutTrailingSlashes(home);
  const passwd* account = getpwuid(getuid());
  if (account != nullptr && account->pw_dir != nullptr)
    return WithoutTrailingSlashes(account->pw_dir);
  return {};
}

std::string DataHome() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') return WithoutTrailingSlashes(data);
  const std::string home = HomeFolder();
  return home.empty() ? home : home + "/.local/share";
}

std::string SpecialFolderPath(int csidl, bool create) {
  if (csidl != kDesktopFolder) return {};
  std::string desktop = DesktopFolder();
  if (create && !MakeFolders(desktop)) return {};
  return desktop;
}

std::string UserSettingsFolder() { return ConfigHome() + "/quorlith/"; }

bool MakeFolders(const std::string& path) { return posix::MakeFolderPath(path, 0777); }

}  // namespace platform
