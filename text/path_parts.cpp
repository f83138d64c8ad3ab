#include "text/path_parts.h"

#include <cstring>

#include "text/strings.h"
#include "text/temp_text.h"

namespace {

bool IsSeparator(PathStyle style, char c) {
  return c == '/' || (style == PathStyle::Windows && c == '\\');
}

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Copies [begin, end) into a component buffer, cut after its last whole
// character that fits.
void PutComponent(char* out, const char* begin, const char* end) {
  const char* cut = begin;
  for (int chars = 0; cut < end && chars < kPathComponentChars; ++chars) {
    const char* next = cut + 1;
    while (next < end && next - cut < 4 && IsContinuation(*next)) ++next;
    cut = next;
  }
  const size_t length = static_cast<size_t>(cut - begin);
  std::memcpy(out, begin, length);
  out[length] = '\0';
}

}  // namespace

PathStyle NativePathStyle() {
#ifdef _WIN32
  return PathStyle::Windows;
#else
  return PathStyle::Posix;
#endif
}

void SplitPathStyled(PathStyle style, TextArg path, char* drive, char* dir, char* name, char* ext) {
  const char* rest = path;
  if (style == PathStyle::Windows && path[0] != '\0' && path[1] == ':') rest = path + 2;
  PutComponent(drive, path, rest);

  const char* name_start = rest;  // just after the last separator
  const char* last_point = nullptr;
  const char* end = rest;
  for (; *end != '\0'; ++end) {
    if (IsSeparator(style, *end)) name_start = end + 1;
    if (*end == '.') last_point = end;
  }

  PutComponent(dir, rest, name_start);
  if (last_point != nullptr && last_point >= name_start) {
    PutComponent(name, name_start, last_point);
    PutComponent(ext, last_point, end);
  } else {
    PutComponent(name, name_start, end);
    PutComponent(ext, end, end);
  }
}

void SplitPath(TextArg path, char* drive, char* dir, char* name, char* ext) {
  SplitPathStyled(NativePathStyle(), path, drive, dir, name, ext);
}

char* PathPartStyled(PathStyle style, TextArg path, unsigned flags) {
  if (path == nullptr) return TempText(1);
  char* result = TempText(static_cast<int32_t>(std::strlen(path)));
  char drive[kPathComponentSize];
  char dir[kPathComponentSize];
  char name[kPathComponentSize];
  char ext[kPathComponentSize];
  SplitPathStyled(style, path, drive, dir, name, ext);
  // The components are disjoint pieces of the path, so they always fit.
  if (flags & kPartDrive) std::strcat(result, drive);
  if (flags & kPartDir) std::strcat(result, dir);
  if (flags & kPartName) std::strcat(result, name);
  if (flags & kPartExtension) std::strcat(result, ext);
  return result;
}

char* PathPart(TextArg path, unsigned flags) {
  return PathPartStyled(NativePathStyle(), path, flags);
}

char* PathExtension(TextArg path) { return PathPart(path, kPartExtension); }
char* PathNameExtension(TextArg path) { return JoinText(2, PathName(path), PathExtension(path)); }
char* PathName(TextArg path) { return PathPart(path, kPartName); }
char* PathDriveDir(TextArg path) { return PathPart(path, kPartDrive | kPartDir); }
char* PathDir(TextArg path) { return PathPart(path, kPartDir); }
char* PathDrive(TextArg path) { return PathPart(path, kPartDrive); }
