// Questions about files, answered by POSIX calls. Patterns follow the
// Windows meaning of "*" and "?" so that settings behave alike on both
// systems.
#include "platform/file_query.h"
#include "platform/shared/ascii_case.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string_view>
#include <vector>

namespace platform {

namespace {

// Longest executable path accepted; the buffer grows up to this size.
constexpr size_t kExecutablePathLimit = 1 << 20;

// Splits UTF-8 text into characters (a lead byte with its continuation
// bytes), so that "?" stands for one character, not one byte. Stray bytes
// that are not valid UTF-8 count as one character each.
std::vector<std::string_view> Characters(std::string_view text) {
  std::vector<std::string_view> result;
  size_t i = 0;
  while (i < text.size()) {
    size_t end = i + 1;
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0xC0) {
      while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    }
    result.push_back(text.substr(i, end - i));
    i = end;
  }
  return result;
}

// Wildcard match of a whole name: "*" any run of characters (also none), "?"
// exactly one character, ASCII letters without regard to case. Greedy with
// one backtracking point, so it stays linear-ish even for many stars.
bool WildcardMatch(const std::vector<std::string_view>& pattern,
                   const std::vector<std::string_view>& name) {
  size_t p = 0;
  size_t n = 0;
  size_t star = std::string_view::npos;  // position of the last "*" seen
  size_t star_name = 0;                  // where in the name that star resumes
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == "*") {
      star = p++;
      star_name = n;
    } else if (p < pattern.size() && (pattern[p] == "?" || EqualIgnoringAsciiCase(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == "*") ++p;
  return p == pattern.size();
}

// True when the name matches the pattern as Windows matches names: besides
// the plain match, a pattern ending in ".*" also takes names that have
// nothing at that point, so "*.*" matches every name and "notes.*" matches
// "notes".
bool NameMatches(std::string_view pattern, std::string_view name) {
  const auto name_chars = Characters(name);
  if (WildcardMatch(Characters(pattern), name_chars)) return true;
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*") {
    return WildcardMatch(Characters(pattern.substr(0, pattern.size() - 2)), name_chars);
  }
  return false;
}

}  // namespace

std::string ExecutablePath() {
  std::vector<char> buffer(1024);
  while (buffer.size() <= kExecutablePathLimit) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    // A result that fills the buffer may have been cut: try again larger.
    if (static_cast<size_t>(length) < buffer.size()) {
      return std::string(buffer.data(), static_cast<size_t>(length));
    }
    buffer.resize(buffer.size() * 2);
  }
  return {};
}

// A symbolic link exists even when what it points to does not: copying onto
// it replaces the link, so callers must treat it as an existing entry.
bool PathExists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

bool PatternMatches(const std::string& pattern) {
  const size_t slash = pattern.rfind('/');
  std::string folder;
  std::string name_pattern;
  if (slash == std::string::npos) {
    folder = ".";
    name_pattern = pattern;
  } else {
    folder = slash == 0 ? "/" : pattern.substr(0, slash);
    name_pattern = pattern.substr(slash + 1);
  }
  if (name_pattern.empty()) return false;

  // Wildcards in the folder part are not expanded: such a folder is simply
  // not found (unless one is really named so).
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return false;
  bool found = false;
  while (!found) {
    const dirent* entry = readdir(dir);
    if (entry == nullptr) break;
    const std::string_view name(entry->d_name);
    if (name == "." || name == "..") continue;
    found = NameMatches(name_pattern, name);
  }
  closedir(dir);
  return found;
}

std::string ShortPathOf(const std::string& path, int max_length) {
  // No short names here: the path stands for itself when it exists and fits.
  if (max_length <= 0 || path.size() > static_cast<size_t>(max_length)) return {};
  return PathExists(path) ? path : std::string();
}

bool IsSameFile(const std::string& a, const std::string& b) {
  struct stat first;
  struct stat second;
  if (stat(a.c_str(), &first) != 0 || stat(b.c_str(), &second) != 0) return false;
  return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool IsFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsRegularFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace platform
