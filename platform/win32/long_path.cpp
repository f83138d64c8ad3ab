#include "platform/win32/long_path.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

// From this length on a path gets the long form: a folder must leave room
// for an 8.3 name below MAX_PATH, so folders fail 12 characters earlier.
constexpr size_t kLongFrom = MAX_PATH - 12;

constexpr std::wstring_view kLocalPrefix = L"\\\\?\\";
constexpr std::wstring_view kNetworkPrefix = L"\\\\?\\UNC\\";

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool IsDrivePath(std::wstring_view path) {
  return path.size() >= 3 && path[1] == L':' && IsSeparator(path[2]) &&
         ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
}

// "\\server\share...", but not the device forms "\\?\" and "\\.\".
bool IsNetworkPath(std::wstring_view path) {
  return path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) && path[2] != L'?' &&
         path[2] != L'.';
}

// The long form takes the path literally, so it is first made what the
// system would make of it: backslashes only, "." and ".." resolved.
std::wstring FullPath(const std::wstring& path) {
  std::wstring full(path.size() + 1, L'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD length =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return path;
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.assign(length, L'\0');  // the size asked for, terminator included
  }
  return path;
}

}  // namespace

std::wstring SystemPath(const std::string& path) {
  std::wstring wide = Widen(path);
  if (wide.size() < kLongFrom || StartsWith(wide, kLocalPrefix)) return wide;
  if (IsDrivePath(wide)) return std::wstring(kLocalPrefix) + FullPath(wide);
  if (IsNetworkPath(wide)) return std::wstring(kNetworkPrefix) + FullPath(wide).substr(2);
  return wide;  // a relative path stays as it is
}

std::string ProgramPath(std::wstring_view path) {
  if (StartsWith(path, kNetworkPrefix)) return "\\\\" + Narrow(path.substr(kNetworkPrefix.size()));
  if (StartsWith(path, kLocalPrefix) && IsDrivePath(path.substr(kLocalPrefix.size()))) {
    path.remove_prefix(kLocalPrefix.size());
  }
  return Narrow(path);
}

}  // namespace platform::win32
