// Starting with the session on Linux: the autostart entry made, read back and removed in a
// configuration folder of the test's own; its Exec line names this program and, when asked,
// the settings file, whatever their names hold.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/file_query.h"
#include "platform/session_start.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace {

using platform::SessionEntry;
using testing_support::ReadFile;
using testing_support::WriteFile;

// The arguments of a desktop entry's Exec value, read as a session reads them: the string
// value's escapes, then quoted arguments with their backslash escapes.
std::vector<std::string> ExecArguments(const std::string& entry) {
  const size_t at = entry.find("\nExec=");
  std::string value;
  for (size_t i = at + 6; i < entry.size() && entry[i] != '\n'; ++i) {
    if ((entry[i] == '\\' || entry[i] == '%') && i + 1 < entry.size()) ++i;
    value += entry[i];
  }
  std::vector<std::string> arguments;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == ' ') continue;
    std::string argument;
    const bool quoted = value[i] == '"';
    for (i += quoted ? 1 : 0; i < value.size() && value[i] != (quoted ? '"' : ' '); ++i) {
      if (quoted && value[i] == '\\') ++i;
      argument += value[i];
    }
    arguments.push_back(argument);
  }
  return arguments;
}

TEST(SessionStart, TheAutostartEntryStartsThisProgramAndGoesWhenUnticked) {
  testing_support::TempFolder folder;
  const testing_support::ScopedEnv home("HOME", folder / "home");
  const std::string odd = folder / "a \"b\" $c `d` \\e 100%.ini";
  const struct {
    const char* config_home;  // relative ones are ignored: ~/.config
    std::string settings_file;
    std::string place;
  } cases[] = {
      {"cfg", "", folder / "cfg/autostart/quorlith.desktop"},
      {"cfg", odd, folder / "cfg/autostart/quorlith.desktop"},
      {"relative", folder / "Quorlith.ini", folder / "home/.config/autostart/quorlith.desktop"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings_file + " in " + c.config_home);
    const std::string config = c.config_home == std::string("cfg") ? folder / "cfg" : "relative";
    const testing_support::ScopedEnv xdg("XDG_CONFIG_HOME", config);
    EXPECT_EQ(platform::SessionEntryPlace(SessionEntry::kStartWithSession), c.place);
    EXPECT_FALSE(platform::HasSessionEntry(SessionEntry::kStartWithSession));
    ASSERT_TRUE(platform::SetSessionEntry(SessionEntry::kStartWithSession, true, c.settings_file));
    EXPECT_TRUE(platform::HasSessionEntry(SessionEntry::kStartWithSession));
    const std::string entry = ReadFile(c.place);
    std::vector<std::string> expected = {platform::ExecutablePath()};
    if (!c.settings_file.empty()) expected.insert(expected.end(), {"-s", c.settings_file});
    EXPECT_EQ(ExecArguments(entry), expected);
    if (std::system("command -v desktop-file-validate >/dev/null") == 0) {
      EXPECT_EQ(std::system(("desktop-file-validate '" + c.place + "'").c_str()), 0) << entry;
    }
    // Switched off by another tool, it is not in force; unticked, it goes, and going again is
    // no failure.
    for (const char* off : {"Hidden=true\n", "X-GNOME-Autostart-enabled=false\n"}) {
      WriteFile(c.place, entry + off);
      EXPECT_FALSE(platform::HasSessionEntry(SessionEntry::kStartWithSession)) << off;
    }
    for (int i = 0; i < 2; ++i) {
      EXPECT_TRUE(platform::SetSessionEntry(SessionEntry::kStartWithSession, false, ""));
      EXPECT_FALSE(testing_support::Exists(c.place));
    }
  }
  // A file where the autostart folder should be: the entry cannot be made, and that is said.
  const testing_support::ScopedEnv xdg("XDG_CONFIG_HOME", folder / "blocked");
  WriteFile(folder / "blocked/autostart", "");
  platform::ClearFailure();
  EXPECT_FALSE(platform::SetSessionEntry(SessionEntry::kStartWithSession, true, ""));
  EXPECT_NE(platform::LastFailure(), "");
  EXPECT_FALSE(platform::SessionEntryKnown(SessionEntry::kSendTo));
  EXPECT_FALSE(platform::SetSessionEntry(SessionEntry::kSendTo, true, ""));
}

}  // namespace
