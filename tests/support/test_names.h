// Names in every script and paths far beyond 260 characters, which must pass whole.
#pragma once

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace testing_support {

struct TestName {
  const char* what;
  std::string folder;  // below the temporary folder, "/" between levels
  std::string name;    // distinct for every row
};

// The folder below temp ("/" between levels) in which name makes a full path of total characters.
inline std::string DeepFolder(const TempFolder& temp, size_t total, const std::string& name) {
  std::string folder;
  for (char c = 'a'; temp.path().size() + folder.size() + name.size() + 101 < total; ++c) {
    folder += std::string(99, c) + "/";
  }
  const size_t used = temp.path().size() + folder.size() + name.size() + 1;
  return folder + std::string(total > used ? total - used : 1, 'z');
}

// Cyrillic, Greek, CJK, emoji, combining accents; full paths of 300 and 1,000 characters.
inline std::vector<TestName> NamesInEveryScript(const TempFolder& temp) {
  return {{"Cyrillic", "\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0",
           "\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82.txt"},
          {"Greek", "\xCE\xA6\xCE\xAC\xCE\xBA\xCE\xB5\xCE\xBB\xCE\xBF\xCF\x82",
           "\xCE\xB1\xCF\x81\xCF\x87\xCE\xB5\xCE\xAF\xCE\xBF.txt"},
          {"CJK", "\xE8\xB3\x87\xE6\x96\x99", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt"},
          {"emoji", "\xF0\x9F\x98\x80", "\xF0\x9F\x8E\x89 party.txt"},
          {"combining accents", "Cafe\xCC\x81", "re\xCC\x81sume\xCC\x81.txt"},
          {"300 characters", DeepFolder(temp, 300, "long 300.txt"), "long 300.txt"},
          {"1,000 characters", DeepFolder(temp, 1000, "long 1000.txt"), "long 1000.txt"}};
}

}  // namespace testing_support
