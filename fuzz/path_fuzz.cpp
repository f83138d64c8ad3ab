// Path splitting on arbitrary text, in both path styles. Each part has its
// shape; when no part was cut, the four parts re-join to the whole path; and
// every accessor gives the chosen parts joined in order.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "text/path_parts.h"
#include "text/strings.h"

namespace {

bool IsSeparator(PathStyle style, char c) {
  return c == '/' || (style == PathStyle::Windows && c == '\\');
}

bool HasSeparator(PathStyle style, const std::string& text) {
  for (const char c : text) {
    if (IsSeparator(style, c)) return true;
  }
  return false;
}

void Check(PathStyle style, const char* path) {
  char drive[kPathComponentSize];
  char dir[kPathComponentSize];
  char name[kPathComponentSize];
  char ext[kPathComponentSize];
  SplitPathStyled(style, path, drive, dir, name, ext);
  const std::string parts[4] = {drive, dir, name, ext};
  if (style == NativePathStyle()) {
    SplitPath(path, drive, dir, name, ext);
    if (parts[0] != drive || parts[1] != dir || parts[2] != name || parts[3] != ext) abort();
  }
  size_t total = 0;
  for (const std::string& part : parts) {
    if (part.size() > kPathComponentSize - 1) abort();
    total += part.size();
  }
  const std::string& d = parts[0];
  const std::string& p = parts[1];
  const std::string& n = parts[2];
  const std::string& e = parts[3];
  if (!d.empty() && (style != PathStyle::Windows || d.size() != 2 || d[1] != ':')) abort();
  const size_t length = std::strlen(path);
  // A folder part ends in a separator unless it was cut (at a whole character).
  if (!p.empty() && !IsSeparator(style, p.back()) && total == length) abort();
  if (HasSeparator(style, n) || HasSeparator(style, e)) abort();
  if (!e.empty() && (e[0] != '.' || std::strchr(e.c_str() + 1, '.') != nullptr)) abort();

  // Parts are disjoint pieces of the path: when none was cut they are all of it.
  if (total > length) abort();
  if (total == length && d + p + n + e != path) abort();

  // Every choice of parts comes back in the order drive, folder, name,
  // extension; other bits change nothing.
  for (unsigned flags = 0; flags < 32; ++flags) {
    std::string expected;
    if (flags & kPartDrive) expected += d;
    if (flags & kPartDir) expected += p;
    if (flags & kPartName) expected += n;
    if (flags & kPartExtension) expected += e;
    if (PathPartStyled(style, path, flags | 1u | 64u) != expected) abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The program's paths are C strings: they end at the first NUL.
  const std::string text(reinterpret_cast<const char*>(data), size);
  const char* path = text.c_str();
  Check(PathStyle::Windows, path);
  Check(PathStyle::Posix, path);
  const std::string name_ext = std::string(PathName(path)) + PathExtension(path);
  if (name_ext != PathNameExtension(path)) abort();
  if (std::string(PathDriveDir(path)) != std::string(PathDrive(path)) + PathDir(path)) abort();
  return 0;
}
