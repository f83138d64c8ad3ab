#include "tests/support/temp_folder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "text/file_system.h"

#ifndef _WIN32
#include <cerrno>
#include <cstdio>
#endif

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/long_path.h"
#endif

namespace fs = std::filesystem;

namespace testing_support {

namespace {

// Paths are UTF-8 texts on both systems; std::filesystem is told so, since on
// Windows it would otherwise read narrow strings in another code page.
fs::path PathOf(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string TextOf(const fs::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

#ifdef _WIN32
// std::filesystem walks folders with buffers of MAX_PATH characters here, so
// deep test trees are walked with the W calls.
template <typename Visit>
void ForEachEntry(const std::wstring& folder, Visit visit) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") visit(name, found.dwFileAttributes);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

void RemoveTree(const std::wstring& folder) {
  ForEachEntry(folder, [&](const std::wstring& name, DWORD attributes) {
    const std::wstring path = folder + L"\\" + name;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveTree(path);
    } else {
      DeleteFileW(path.c_str());
    }
  });
  RemoveDirectoryW(folder.c_str());
}
#endif

std::string Native(std::string text) {
  const char sep = NativeSeparator();
  for (char& c : text) {
    if (c == '/') c = sep;
  }
  return text;
}

}  // namespace

TempFolder::TempFolder() : TempFolder(TextOf(fs::temp_directory_path())) {}

TempFolder::TempFolder(const std::string& parent) {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path base = PathOf(parent) /
                  ("quorlith-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  fs::create_directories(base);
  path_ = TextOf(base);
  if (path_.empty() || path_.back() != NativeSeparator()) path_ += NativeSeparator();
}

TempFolder::~TempFolder() {
#ifdef _WIN32
  RemoveTree(platform::win32::SystemPath(path_.substr(0, path_.size() - 1)));
#else
  std::error_code ec;
  // Read-only files in the folder must not keep it from going. Links are
  // left alone: a change would reach what they point to (/dev/zero, say).
  for (auto it = fs::recursive_directory_iterator(PathOf(path_), ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    if (it->is_symlink(ec)) continue;
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(PathOf(path_), ec);
#endif
}

std::string TempFolder::operator/(const std::string& relative) const {
  return path_ + Native(relative);
}

std::unique_ptr<TempFolder> OtherVolumeFolder(const TempFolder& here) {
#ifdef _WIN32
  const std::string shm = "Z:\\dev\\shm\\";
#else
  const std::string shm = "/dev/shm/";
#endif
  std::error_code error;
  if (!fs::is_directory(shm, error)) return nullptr;
  WriteFile(shm + "quorlith-probe", "");
  // A plain rename between them fails only across volumes.
#ifdef _WIN32
  const bool apart = !MoveFileExA((shm + "quorlith-probe").c_str(), (here / "probe").c_str(), 0) &&
                     GetLastError() == ERROR_NOT_SAME_DEVICE;
#else
  const bool apart = rename((shm + "quorlith-probe").c_str(), (here / "probe").c_str()) != 0 &&
                     errno == EXDEV;
#endif
  fs::remove(shm + "quorlith-probe", error);
  fs::remove(here / "probe", error);
  return apart ? std::make_unique<TempFolder>(shm) : nullptr;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  const fs::path p = PathOf(path);
  if (p.has_parent_path()) fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(PathOf(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::symlink_status(PathOf(path), ec).type() != fs::file_type::not_found && !ec;
}

void MakeFolder(const std::string& path) { fs::create_directories(PathOf(path)); }

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
#ifdef _WIN32
  std::string trimmed = folder;
  if (!trimmed.empty() && (trimmed.back() == '\\' || trimmed.back() == '/')) trimmed.pop_back();
  ForEachEntry(platform::win32::SystemPath(trimmed), [&](const std::wstring& name, DWORD) {
    names.push_back(platform::win32::ProgramPath(name));
  });
#else
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(PathOf(folder), ec)) {
    names.push_back(TextOf(entry.path().filename()));
  }
#endif
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace testing_support
