// A helper shared by the file tests of the platform layer.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace files_test {

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

}  // namespace files_test
