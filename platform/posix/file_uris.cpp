#include "platform/posix/file_uris.h"

#include <unistd.h>

#include <cctype>
#include <string>

namespace platform::posix {
namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// True for the host part of a file URI that names this machine.
bool IsThisMachine(std::string_view host) {
  if (host.empty() || SameLetters(host, "localhost")) return true;
  char name[256] = {};
  return gethostname(name, sizeof name - 1) == 0 && SameLetters(host, name);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The path a file: URI of this machine names; empty for any other URI, and
// for one with a fragment, a broken or NUL escape, or no absolute path.
std::string LocalPath(std::string_view uri) {
  constexpr std::string_view kScheme = "file:";
  if (uri.size() < kScheme.size() || !SameLetters(uri.substr(0, kScheme.size()), kScheme))
    return {};
  std::string_view rest = uri.substr(kScheme.size());
  if (rest.substr(0, 2) == "//") {
    const size_t slash = rest.find('/', 2);
    if (slash == std::string_view::npos || !IsThisMachine(rest.substr(2, slash - 2))) return {};
    rest.remove_prefix(slash);
  }
  // A "#" would begin a fragment; file managers escape it in names.
  if (rest.empty() || rest[0] != '/' || rest.find('#') != std::string_view::npos) return {};
  std::string path;
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] != '%') {
      path.push_back(rest[i]);
      continue;
    }
    const int high = i + 2 < rest.size() ? HexValue(rest[i + 1]) : -1;
    const int low = high >= 0 ? HexValue(rest[i + 2]) : -1;
    if (low < 0 || (high | low) == 0) return {};
    path.push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  return path;
}

// The local files of the URI lines that begin at the start of list.
std::optional<ClipboardFiles> LocalFiles(std::string_view list, bool cut) {
  ClipboardFiles files{{}, cut};
  // Some programs end the list with a NUL.
  while (!list.empty() && list.back() == '\0') list.remove_suffix(1);
  while (!list.empty()) {
    const size_t end = list.find('\n');
    std::string_view line = list.substr(0, end);
    list.remove_prefix(end == std::string_view::npos ? list.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == '#') continue;
    std::string path = LocalPath(line);
    if (!path.empty()) files.paths.push_back(std::move(path));
  }
  if (files.paths.empty()) return std::nullopt;
  return files;
}

}  // namespace

std::optional<ClipboardFiles> FilesInUriList(std::string_view list) {
  return LocalFiles(list, false);
}

std::optional<ClipboardFiles> FilesInCopiedFiles(std::string_view data) {
  const size_t end = data.find('\n');
  std::string_view verb = data.substr(0, end);
  if (!verb.empty() && verb.back() == '\r') verb.remove_suffix(1);
  if (verb != "copy" && verb != "cut") return std::nullopt;
  return LocalFiles(end == std::string_view::npos ? std::string_view() : data.substr(end + 1),
                    verb == "cut");
}

}  // namespace platform::posix
