#include "platform/posix/file_uris.h"

#include <unistd.h>

#include <string>
#include <utility>

#include "platform/shared/ascii_case.h"

namespace platform::posix {
namespace {

// True for the host part of a file URI that names this machine.
bool IsThisMachine(std::string_view host) {
  if (host.empty() || EqualIgnoringAsciiCase(host, "localhost")) return true;
  char name[256] = {};
  return gethostname(name, sizeof name - 1) == 0 && EqualIgnoringAsciiCase(host, name);
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
  // Nearly every list spells the scheme in small letters.
  const std::string_view scheme = uri.substr(0, kScheme.size());
  if (scheme != kScheme && !EqualIgnoringAsciiCase(scheme, kScheme)) return {};
  std::string_view rest = uri.substr(kScheme.size());
  if (rest.substr(0, 2) == "//") {
    const size_t slash = rest.find('/', 2);
    if (slash == std::string_view::npos || !IsThisMachine(rest.substr(2, slash - 2))) return {};
    rest.remove_prefix(slash);
  }
  // A "#" would begin a fragment; file managers escape it in names.
  if (rest.empty() || rest[0] != '/' || rest.find('#') != std::string_view::npos) return {};
  // The runs between escapes are copied whole: most names have few escapes
  // or none, and lists of many files pass through here line by line.
  std::string path;
  path.reserve(rest.size());
  for (;;) {
    const size_t escape = rest.find('%');
    path.append(rest.substr(0, escape));
    if (escape == std::string_view::npos) break;
    const int high = escape + 2 < rest.size() ? HexValue(rest[escape + 1]) : -1;
    const int low = high >= 0 ? HexValue(rest[escape + 2]) : -1;
    if (low < 0 || (high | low) == 0) return {};
    path.push_back(static_cast<char>(high * 16 + low));
    rest.remove_prefix(escape + 3);
  }
  return path;
}

// Lines in list, the last one counted whether it ends in a line break or not.
size_t LineCount(std::string_view list) {
  size_t lines = 1;
  for (size_t at = list.find('\n'); at != std::string_view::npos; at = list.find('\n', at + 1)) {
    ++lines;
  }
  return lines;
}

// Calls take(path) for each file of this machine among the URI lines that
// begin at the start of list, in their order, until take answers false.
template <typename Take>
void EachLocalPath(std::string_view list, Take take) {
  // Some programs end the list with a NUL.
  while (!list.empty() && list.back() == '\0') list.remove_suffix(1);
  while (!list.empty()) {
    const size_t end = list.find('\n');
    std::string_view line = list.substr(0, end);
    list.remove_prefix(end == std::string_view::npos ? list.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == '#') continue;
    std::string path = LocalPath(line);
    if (!path.empty() && !take(std::move(path))) return;
  }
}

// The local files of the URI lines that begin at the start of list.
std::optional<ClipboardFiles> LocalFiles(std::string_view list, bool cut) {
  ClipboardFiles files{{}, cut};
  // One slot a line, made at once: a list of many files is not copied
  // over again as it grows.
  files.paths.reserve(LineCount(list));
  EachLocalPath(list, [&files](std::string path) {
    files.paths.push_back(std::move(path));
    return true;
  });
  if (files.paths.empty()) return std::nullopt;
  return files;
}

}  // namespace

std::optional<ClipboardFiles> FilesInUriList(std::string_view list) {
  return LocalFiles(list, false);
}

bool NamesLocalFile(std::string_view list) {
  bool found = false;
  EachLocalPath(list, [&found](const std::string&) {
    found = true;
    return false;
  });
  return found;
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
