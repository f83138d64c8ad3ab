#include "tests/support/temp_folder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "text/file_system.h"

namespace fs = std::filesystem;

namespace testing_support {

namespace {

std::string Native(std::string text) {
  const char sep = NativeSeparator();
  for (char& c : text) {
    if (c == '/') c = sep;
  }
  return text;
}

}  // namespace

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path base = fs::temp_directory_path() /
                  ("quorlith-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  fs::create_directories(base);
  path_ = base.string();
  if (path_.empty() || path_.back() != NativeSeparator()) path_ += NativeSeparator();
}

TempFolder::~TempFolder() {
  std::error_code ec;
  // Read-only files in the folder must not keep it from going. Links are
  // left alone: a change would reach what they point to (/dev/zero, say).
  for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    if (it->is_symlink(ec)) continue;
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(path_, ec);
}

std::string TempFolder::operator/(const std::string& relative) const {
  return path_ + Native(relative);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  fs::path p(path);
  if (p.has_parent_path()) fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::symlink_status(fs::path(path), ec).type() != fs::file_type::not_found && !ec;
}

void MakeFolder(const std::string& path) { fs::create_directories(fs::path(path)); }

}  // namespace testing_support
