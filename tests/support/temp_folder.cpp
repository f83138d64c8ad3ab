#include "tests/support/temp_folder.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "text/file_system.h"
#ifdef _WIN32
#include <windows.h>
#include "platform/win32/long_path.h"
using platform::win32::SystemPath;
#endif

namespace fs = std::filesystem;

namespace testing_support {
namespace {

// Paths are UTF-8: without this, Windows would read them in another code page.
fs::path PathOf(const std::string& utf8) { return std::u8string(utf8.begin(), utf8.end()); }
#ifdef _WIN32
// A file's path for the streams: long ones in the form the system takes at any length.
fs::path StreamPath(const std::string& utf8) { return SystemPath(utf8); }
#else
fs::path StreamPath(const std::string& utf8) { return utf8; }
#endif
std::string TextOf(const fs::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

#ifdef _WIN32
// std::filesystem walks folders with MAX_PATH buffers here: deep trees need the W calls.
template <typename Visit>
void ForEachEntry(const std::string& folder, Visit visit) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((SystemPath(folder) + L"\\*").c_str(), &found);
  for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
    const std::string name = platform::win32::ProgramPath(found.cFileName);
    if (name != "." && name != "..") visit(name, found.dwFileAttributes);
  }
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

void RemoveTree(const std::string& folder) {
  ForEachEntry(folder, [&](const std::string& name, DWORD attributes) {
    const std::string path = folder + "\\" + name;
    SetFileAttributesW(SystemPath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
      RemoveTree(path);
    else
      DeleteFileW(SystemPath(path).c_str());
  });
  RemoveDirectoryW(SystemPath(folder).c_str());
}
#endif

}  // namespace

TempFolder::TempFolder() : TempFolder(TextOf(fs::temp_directory_path())) {}

TempFolder::TempFolder(const std::string& base) {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const fs::path made =
      PathOf(base) / ("quorlith-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  fs::create_directories(made);
  path_ = TextOf(made) + NativeSeparator();
}

TempFolder::~TempFolder() { RemoveFolder(path_.substr(0, path_.size() - 1)); }

void RemoveFolder(const std::string& folder) {
#ifdef _WIN32
  RemoveTree(folder);
#else
  std::error_code ec;
  // Read-only entries must not keep the folder; links are skipped (a change reaches their target).
  for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    if (!it->is_symlink(ec)) fs::permissions(*it, fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(folder, ec);
#endif
}

std::string TempFolder::operator/(const std::string& relative) const {
  std::string path = path_ + relative;
  std::replace(path.begin() + std::ssize(path_), path.end(), '/', NativeSeparator());
  return path;
}

std::unique_ptr<TempFolder> OtherVolumeFolder(const TempFolder& here) {
#ifdef _WIN32
  const std::string shm = "Z:\\dev\\shm\\";
  const auto apart = [](const std::string& from, const std::string& to) {
    return !MoveFileExA(from.c_str(), to.c_str(), 0) && GetLastError() == ERROR_NOT_SAME_DEVICE;
  };
#else
  const std::string shm = "/dev/shm/";
  const auto apart = [](const std::string& from, const std::string& to) {
    return rename(from.c_str(), to.c_str()) != 0 && errno == EXDEV;
  };
#endif
  std::error_code error;
  if (!fs::is_directory(shm, error)) return nullptr;
  WriteFile(shm + "quorlith-probe", "");
  const bool other = apart(shm + "quorlith-probe", here / "probe");  // only across volumes
  fs::remove(shm + "quorlith-probe", error);
  fs::remove(here / "probe", error);
  return other ? std::make_unique<TempFolder>(shm) : nullptr;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  const size_t separator = path.find_last_of(NativeSeparator() == '\\' ? "\\/" : "/");
  if (separator != std::string::npos && separator > 0) MakeFolder(path.substr(0, separator));
  std::ofstream(StreamPath(path), std::ios::binary).write(bytes.data(), std::ssize(bytes));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(StreamPath(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
#ifdef _WIN32
  return GetFileAttributesW(SystemPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
#else
  std::error_code ec;
  return fs::symlink_status(PathOf(path), ec).type() != fs::file_type::not_found && !ec;
#endif
}

void MakeFolder(const std::string& path) {
#ifdef _WIN32
  // Each folder in turn, as std::filesystem takes no path beyond MAX_PATH here.
  for (size_t i = 3; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\' || path[i] == '/') {
      CreateDirectoryW(SystemPath(path.substr(0, i)).c_str(), nullptr);
    }
  }
#else
  fs::create_directories(PathOf(path));
#endif
}

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
#ifdef _WIN32
  ForEachEntry(folder.substr(0, folder.find_last_not_of("\\/") + 1),
               [&](const std::string& name, DWORD) { names.push_back(name); });
#else
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    names.push_back(entry.path().filename());
#endif
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace testing_support
