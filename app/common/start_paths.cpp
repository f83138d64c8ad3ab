#include "app/common/start_paths.h"

#include <cctype>

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
bool IsSeparator(char c) { return c == '\\' || c == '/'; }
bool HasDrive(const std::string& path) { return path.size() >= 2 && path[1] == ':'; }
#else
constexpr char kSeparator = '/';
bool IsSeparator(char c) { return c == '/'; }
#endif

}  // namespace

std::string AbsolutePath(const std::string& path, const std::string& folder) {
  if (path.empty() || folder.empty()) return path;
#ifdef _WIN32
  // "C:\x", "C:x" (the drive's own current folder, kept as the system has
  // it) and "\\server\share\x".
  if (HasDrive(path) || (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]))) {
    return path;
  }
  // "\x": the root of the folder's drive.
  if (IsSeparator(path[0])) return HasDrive(folder) ? folder.substr(0, 2) + path : path;
#else
  if (IsSeparator(path[0])) return path;
#endif
  return folder + (IsSeparator(folder.back()) ? "" : std::string(1, kSeparator)) + path;
}

std::optional<platform::RequestKind> CommandSwitch(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) return std::nullopt;
  std::string word = arguments[0];
  for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (word == "/paste") return platform::RequestKind::kPaste;
  if (word == "/close") return platform::RequestKind::kClose;
  return std::nullopt;
}
