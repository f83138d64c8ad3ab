// One box per settings file: the key of a settings file, and the claim a
// running box holds on it.
#include "platform/instance.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/temp_folder.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

using platform::InstanceKey;
using testing_support::TempFolder;

TEST(InstanceKey, EverySpellingOfOneFileGivesOneKey) {
  TempFolder folder;
  testing_support::MakeFolder(folder / "a");
  testing_support::MakeFolder(folder / "b");
  const std::string file = folder / "a/Quorlith.ini";
#ifdef _WIN32
  const std::string other_spellings[] = {folder / "b/../a/./Quorlith.ini",
                                         folder.path() + "A/QUORLITH.INI"};
  const std::string other_files[] = {folder / "b/Quorlith.ini", folder / "a/Quorlith.ini.txt"};
#else
  ASSERT_EQ(symlink((folder / "a").c_str(), (folder / "link").c_str()), 0);
  const std::string other_spellings[] = {folder / "b/../a/./Quorlith.ini",
                                         folder / "link/Quorlith.ini"};
  const std::string other_files[] = {folder / "b/Quorlith.ini", folder / "a/quorlith.ini"};
#endif
  // Before the file is written (a first start) and after.
  for (const bool written : {false, true}) {
    SCOPED_TRACE(written ? "written" : "not written yet");
    if (written) testing_support::WriteFile(file, "[Coordinates]\n");
    const std::string key = InstanceKey(file);
    for (const std::string& spelling : other_spellings) {
      EXPECT_EQ(InstanceKey(spelling), key) << spelling;
    }
    for (const std::string& other : other_files) EXPECT_NE(InstanceKey(other), key) << other;
  }
}

// A later claim on a held key is refused (the holder is asked to come to the
// front: the process tests see that); a claim on another key is not; once the
// holder lets go, the key can be claimed again.
TEST(InstanceClaim, OneHolderPerKeyUntilItLetsGo) {
  TempFolder folder;
  const std::string key = InstanceKey(folder / "Quorlith.ini");
  auto holder = platform::ClaimInstance(key);
  ASSERT_NE(holder, nullptr);
  EXPECT_NE(platform::ClaimInstance(InstanceKey(folder / "other/Quorlith.ini")), nullptr);
  EXPECT_EQ(platform::ClaimInstance(key), nullptr);
  holder.reset();
  EXPECT_NE(platform::ClaimInstance(key), nullptr);
}

}  // namespace
