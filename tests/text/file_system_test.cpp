#include "text/file_system.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_folder.h"

namespace {

// On Windows a path with "*" or "?" is a pattern; elsewhere they are name
// characters. A short form exists only for what exists.
TEST(FileSystem, FilesFoldersPatternsAndShortForms) {
  testing_support::TempFolder folder;
  const std::string file = folder / "a long name.txt";
  testing_support::WriteFile(file, "x");
#ifdef _WIN32
  const int patterns = 1;
#else
  const int patterns = 0;
  testing_support::WriteFile(folder / "what?.txt", "x");
  EXPECT_EQ(FileExists((folder / "what?.txt").c_str()), 1);
  EXPECT_EQ(ShortPath(file.c_str()), file);  // no short names: the path itself
#endif
  EXPECT_EQ(FileExists(file.c_str()) + FileExists(folder.path().c_str()), 2);
  EXPECT_EQ(FileExists((folder / "*.txt").c_str()), patterns);
  EXPECT_EQ(FileExists((folder / "a long nam?.txt").c_str()), patterns);
  EXPECT_EQ(FileExists((folder / "missing.txt").c_str()) + FileExists(""), 0);
  EXPECT_EQ(FileExists(ShortPath(file.c_str())), 1);
  EXPECT_STREQ(ShortPath((folder / "missing.txt").c_str()), "");
  EXPECT_STREQ(ShortPath((folder.path() + std::string(4000, 's')).c_str()), "");
}

TEST(FileSystem, TheProgramsFolderAndTheDesktop) {
  const std::string dir = AppDir(), desktop = SpecialFolder(kFolderDesktop, 0, nullptr);
#ifdef _WIN32
  EXPECT_EQ(FileExists((dir + "quorlith_text_tests.exe").c_str()), 1);
#else
  EXPECT_EQ(FileExists((dir + "quorlith_text_tests").c_str()), 1);
#endif
  EXPECT_FALSE(desktop.empty());
  EXPECT_NE(desktop.back(), NativeSeparator());
  EXPECT_STREQ(SpecialFolder(-5, 0, nullptr), "");
}

}  // namespace
