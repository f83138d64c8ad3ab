// The desktop and the settings folder by the XDG rules, with HOME and
// XDG_CONFIG_HOME pointed at temporary folders.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "platform/file_query.h"
#include "platform/special_folders.h"
#include "tests/platform/files_test_helpers.h"
#include "tests/support/temp_folder.h"

namespace {

using files_test::ScopedEnv;
using testing_support::Exists;
using testing_support::TempFolder;
using testing_support::WriteFile;

constexpr int kDesktop = 0x0010;

TEST(FilesSpecial, DesktopFromUserDirs) {
  struct Row {
    const char* what;
    std::optional<std::string> file;  // content of user-dirs.dirs; none: no file
    std::string expected;             // "~" stands for HOME
  };
  const Row rows[] = {
      {"no file", std::nullopt, "~/Desktop"},
      {"below home", "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n", "~/Schreibtisch"},
      {"comment only", "# XDG_DESKTOP_DIR=\"$HOME/Commented\"\n", "~/Desktop"},
      {"comment, then the line",
       "# written by hand\n  # XDG_DESKTOP_DIR=\"/no\"\nXDG_DESKTOP_DIR=\"$HOME/Bureau\"\n",
       "~/Bureau"},
      {"absolute", "XDG_DESKTOP_DIR=\"/srv/desk\"\n", "/srv/desk"},
      {"trailing slash", "XDG_DESKTOP_DIR=\"$HOME/Desk/\"\n", "~/Desk"},
      {"among other folders",
       "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\r\nXDG_DESKTOP_DIR=\"$HOME/My Desk\"\r\n"
       "XDG_MUSIC_DIR=\"$HOME/Music\"\r\n",
       "~/My Desk"},
      {"later line wins", "XDG_DESKTOP_DIR=\"$HOME/One\"\nXDG_DESKTOP_DIR=\"$HOME/Two\"\n",
       "~/Two"},
      {"escaped quote", "XDG_DESKTOP_DIR=\"$HOME/say \\\"hi\\\"\"\n", "~/say \"hi\""},
      {"$HOME only at the start", "XDG_DESKTOP_DIR=\"/data/$HOME/x\"\n", "/data/$HOME/x"},
      {"relative is ignored", "XDG_DESKTOP_DIR=\"Desk\"\n", "~/Desktop"},
      {"$HOME without slash", "XDG_DESKTOP_DIR=\"$HOMEDesk\"\n", "~/Desktop"},
      {"unquoted is ignored", "XDG_DESKTOP_DIR=$HOME/Desk\n", "~/Desktop"},
      {"longer key", "XDG_DESKTOP_DIR_OLD=\"$HOME/Old\"\n", "~/Desktop"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TempFolder temp;
    const std::string home = temp / "home";
    ScopedEnv home_env("HOME", home);
    ScopedEnv config_env("XDG_CONFIG_HOME", temp / "config");
    if (row.file) WriteFile(temp / "config/user-dirs.dirs", *row.file);
    const std::string expected =
        row.expected[0] == '~' ? home + row.expected.substr(1) : row.expected;
    EXPECT_EQ(platform::SpecialFolderPath(kDesktop, false), expected);
    EXPECT_FALSE(Exists(expected));
  }
}

TEST(FilesSpecial, UserDirsFileFollowsTheConfigHome) {
  TempFolder temp;
  const std::string home = temp / "home";
  WriteFile(temp / "home/.config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Default\"\n");
  WriteFile(temp / "elsewhere/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Elsewhere\"\n");
  ScopedEnv home_env("HOME", home + "/");  // a trailing slash in HOME is not doubled
  struct Row {
    std::optional<std::string> config_home;
    std::string expected;
  };
  const Row rows[] = {
      {std::nullopt, home + "/Default"},
      {"relative/config", home + "/Default"},
      {temp / "elsewhere", home + "/Elsewhere"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.config_home.value_or("(unset)"));
    ScopedEnv config_env("XDG_CONFIG_HOME", row.config_home);
    EXPECT_EQ(platform::SpecialFolderPath(kDesktop, false), row.expected);
  }
}

TEST(FilesSpecial, DesktopWithoutHomeComesFromTheAccount) {
  TempFolder temp;
  ScopedEnv home_env("HOME", std::nullopt);
  ScopedEnv config_env("XDG_CONFIG_HOME", temp / "config");
  const passwd* account = getpwuid(getuid());
  ASSERT_NE(account, nullptr);
  std::string home = account->pw_dir;
  if (home.size() > 1 && home.back() == '/') home.pop_back();
  EXPECT_EQ(platform::SpecialFolderPath(kDesktop, false), home + "/Desktop");
}

TEST(FilesSpecial, DesktopIsCreatedOnlyWhenAsked) {
  TempFolder temp;
  ScopedEnv home_env("HOME", temp / "home");
  ScopedEnv config_env("XDG_CONFIG_HOME", temp / "config");
  WriteFile(temp / "config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/deep/Desk\"\n");
  EXPECT_EQ(platform::SpecialFolderPath(kDesktop, false), temp / "home/deep/Desk");
  EXPECT_FALSE(Exists(temp / "home"));
  EXPECT_EQ(platform::SpecialFolderPath(kDesktop, true), temp / "home/deep/Desk");
  EXPECT_TRUE(platform::IsFolder(temp / "home/deep/Desk"));

  // A desktop that cannot be made (its parent is a file) gives nothing.
  WriteFile(temp / "config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/file/Desk\"\n");
  WriteFile(temp / "home/file", "x");
  EXPECT_EQ(platform::SpecialFolderPath(kDesktop, true), "");
}

TEST(FilesSpecial, OnlyTheDesktopIsKnown) {
  for (const int csidl : {0x0000, 0x0005, 0x001A, 0x0028, 0x0110}) {
    SCOPED_TRACE(csidl);
    EXPECT_EQ(platform::SpecialFolderPath(csidl, false), "");
  }
}

TEST(FilesSpecial, UserSettingsFolder) {
  TempFolder temp;
  ScopedEnv home_env("HOME", temp / "home");
  struct Row {
    std::optional<std::string> config_home;
    std::string expected;
  };
  const Row rows[] = {
      {std::nullopt, temp / "home/.config/quorlith/"},
      {"relative", temp / "home/.config/quorlith/"},
      {temp / "cfg", temp / "cfg/quorlith/"},
      {temp / "cfg/", temp / "cfg/quorlith/"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.config_home.value_or("(unset)"));
    ScopedEnv config_env("XDG_CONFIG_HOME", row.config_home);
    EXPECT_EQ(platform::UserSettingsFolder(), row.expected);
  }
  EXPECT_FALSE(Exists(temp / "home"));
  EXPECT_FALSE(Exists(temp / "cfg"));
}

}  // namespace
