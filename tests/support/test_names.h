// Names in every script the program must carry whole, and paths far beyond
// the old limit of 260 characters, for the file and drop tests.
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

// Cyrillic, Greek, CJK, emoji, combining accents, and a full path of 300 and
// one of 1,000 characters below temp.
std::vector<TestName> NamesInEveryScript(const TempFolder& temp);
// The folder below temp, "/" between levels, in which name makes a full
// path of total characters.
std::string DeepFolder(const TempFolder& temp, size_t total, const std::string& name);

}  // namespace testing_support
