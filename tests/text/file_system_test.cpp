#include "text/file_system.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_folder.h"

namespace {

TEST(FileSystem, AppDirIsTheFolderOfTheRunningProgram) {
  const std::string dir = AppDir();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), NativeSeparator());
#ifdef _WIN32
  EXPECT_EQ(FileExists((dir + "quorlith_text_tests.exe").c_str()), 1);
#else
  EXPECT_EQ(FileExists((dir + "quorlith_text_tests").c_str()), 1);
#endif
}

TEST(FileSystem, ExistenceOfFilesFoldersAndPatterns) {
  testing_support::TempFolder folder;
  testing_support::WriteFile(folder / "notes.txt", "x");
  testing_support::MakeFolder(folder / "empty");
#ifndef _WIN32
  testing_support::WriteFile(folder / "what?.txt", "x");
#endif
  const std::string long_path = folder.path() + std::string(4000, 'p');
  struct Case {
    std::string path;
    int exists;
  } cases[] = {
      {folder / "notes.txt", 1},
      {folder.path(), 1},
      {folder / "empty", 1},
      {folder / "missing.txt", 0},
#ifdef _WIN32
      {folder / "*.txt", 1},
      {folder / "note?.txt", 1},
      {folder / "NOTES.TXT", 1},
#else
      // No patterns and no case folding: names are taken as they are.
      {folder / "*.txt", 0},
      {folder / "note?.txt", 0},
      {folder / "NOTES.TXT", 0},
      {folder / "what?.txt", 1},
#endif
      {folder / "empty/*.txt", 0},
      {folder / "empty/*", 0},
      {long_path, 0},
      {long_path + "*", 0},
      {"", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.substr(0, 120));
    EXPECT_EQ(FileExists(c.path.c_str()), c.exists);
  }
}

TEST(FileSystem, ShortPathIsEmptyForWhatDoesNotExist) {
  testing_support::TempFolder folder;
  const std::string file = folder / "a file with a long name.text";
  testing_support::WriteFile(file, "x");
  EXPECT_STREQ(ShortPath((folder / "missing.txt").c_str()), "");
  EXPECT_STREQ(ShortPath(""), "");
  EXPECT_STREQ(ShortPath((folder.path() + std::string(4000, 's')).c_str()), "");
  const std::string short_form = ShortPath(file.c_str());
  ASSERT_FALSE(short_form.empty());
  EXPECT_EQ(FileExists(short_form.c_str()), 1);
#ifndef _WIN32
  EXPECT_EQ(short_form, file);  // no short names on Linux
#endif
}

TEST(FileSystem, TheDesktopFolderIsKnown) {
  const std::string desktop = SpecialFolder(kFolderDesktop, 0, nullptr);
  EXPECT_FALSE(desktop.empty());
  EXPECT_NE(desktop.back(), NativeSeparator());
  EXPECT_STREQ(SpecialFolder(-5, 0, nullptr), "");
}

}  // namespace
