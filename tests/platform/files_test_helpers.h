// Small helpers for the file tests of the platform layer.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/scoped_env.h"

namespace files_test {

#ifndef _WIN32
using testing_support::ScopedEnv;
#endif

// The names in a folder, sorted, hidden ones included: a left-over
// temporary shows up here.
inline std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Bytes 0..255 over and over, so that a shifted or cut copy shows.
inline std::string PatternBytes(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
  return bytes;
}


}  // namespace files_test
