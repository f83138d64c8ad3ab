// A helper shared by the file tests of the platform layer.
#pragma once

#include "tests/support/temp_folder.h"

namespace files_test {

// The names in a folder, sorted, hidden ones included.
using testing_support::NamesIn;

}  // namespace files_test
