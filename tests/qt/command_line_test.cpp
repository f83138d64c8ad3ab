// The Linux program's command line: what it answers, on which stream, with
// which exit code, and when it lets the box start.
#include "app/qt/command_line.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/scoped_env.h"

namespace {

using testing_support::ScopedEnv;

const std::string kWaylandNote =
    "quorlith: running on Wayland, where the compositor decides where the box\n"
    "appears and whether it stays above other windows\n";

TEST(CommandLine, AnswersOrLetsTheBoxStart) {
  const std::string usage = "; usage: quorlith [--help | --version]\n";
  const std::string no_display = "quorlith: no display; set DISPLAY or run scripts/run\n";
  const std::optional<int> runs;
  const struct {
    std::vector<const char*> args;
    std::string env;  // the one variable set, NAME=value; DISPLAY, WAYLAND_DISPLAY unset
    std::optional<int> code;
    std::string out;  // "help" for the help text
    std::string err;
  } cases[] = {
      {{"--version"}, "", 0, "Quorlith version 1.1\n", ""},
      {{"-h"}, "DISPLAY=:0", 0, "help", ""},
      {{"-reverse", "--help", "-x"}, "DISPLAY=:0", 0, "help", ""},
      {{"-x"}, "DISPLAY=:0", 2, "", "quorlith: unknown option '-x'" + usage},
      {{"--verbose"}, "DISPLAY=:0", 2, "", "quorlith: unknown option '--verbose'" + usage},
      {{"-reverse=1"}, "DISPLAY=:0", 2, "", "quorlith: unknown option '-reverse=1'" + usage},
      {{"notes.txt"}, "DISPLAY=:0", 2, "", "quorlith: unexpected argument 'notes.txt'" + usage},
      {{"-style"}, "DISPLAY=:0", 2, "", "quorlith: option '-style' needs a value" + usage},
      {{"-reverse", "-style", "fusion", "--qwindowtitle=t"}, "DISPLAY=:0", runs, "", ""},
      {{}, "", 1, "", no_display},
      {{}, "DISPLAY=", 1, "", no_display},
      {{}, "QT_QPA_PLATFORM=xcb", 1, "", no_display},
      {{}, "WAYLAND_DISPLAY=wayland-0", runs, "", kWaylandNote},
      {{"-display", ":3"}, "", runs, "", ""},
      {{"-platform", "offscreen"}, "QT_QPA_PLATFORM=xcb", runs, "", ""},
      {{"--platform=wayland"}, "QT_QPA_PLATFORM=offscreen", 1, "", no_display},
      {{}, "QT_QPA_PLATFORM=offscreen", runs, "", ""},
  };
  for (const auto& c : cases) {
    std::string joined = c.env;
    for (const char* arg : c.args) joined += std::string(" ") + arg;
    SCOPED_TRACE(joined);
    const ScopedEnv display("DISPLAY", std::nullopt);
    const ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
    const ScopedEnv platform("QT_QPA_PLATFORM", std::nullopt);
    const size_t equals = c.env.find('=');
    const std::string name = equals == std::string::npos ? "QUORLITH_UNUSED" : c.env.substr(0, equals);
    const ScopedEnv chosen(name.c_str(), c.env.substr(equals + 1));
    std::vector<const char*> argv = {"quorlith"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(AnswerCommandLine(static_cast<int>(argv.size()), argv.data(), out, err), c.code);
    if (c.out == "help") {
      EXPECT_EQ(out.str().rfind("Usage: quorlith", 0), 0u) << out.str();
    } else {
      EXPECT_EQ(out.str(), c.out);
    }
    EXPECT_EQ(err.str(), c.err);
  }
}

// In a Wayland session the box runs on XWayland when it can, unless the user
// chose a platform; on Wayland alone it says once who places it.
TEST(CommandLine, ChoosesXWaylandInAWaylandSession) {
  const std::optional<std::string> unset;
  const struct {
    std::optional<std::string> display, platform;
    std::vector<const char*> args;
    std::optional<std::string> chosen;  // QT_QPA_PLATFORM afterwards
    bool note;
  } cases[] = {
      {":0", unset, {}, "xcb", false},
      {unset, unset, {}, "wayland", true},
      {unset, unset, {"-display", ":3"}, "xcb", false},
      {":0", "wayland", {}, "wayland", false},
      {":0", unset, {"-platform", "wayland"}, unset, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.display.value_or("-") + " " + c.platform.value_or("-") + " " +
                 std::to_string(c.args.size()));
    const ScopedEnv display("DISPLAY", c.display);
    const ScopedEnv wayland("WAYLAND_DISPLAY", "wayland-0");
    const ScopedEnv platform("QT_QPA_PLATFORM", c.platform);
    std::vector<const char*> argv = {"quorlith"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(AnswerCommandLine(static_cast<int>(argv.size()), argv.data(), out, err),
              std::nullopt);
    const char* chosen = std::getenv("QT_QPA_PLATFORM");
    EXPECT_EQ(chosen != nullptr ? std::optional<std::string>(chosen) : unset, c.chosen);
    EXPECT_EQ(err.str(), c.note ? kWaylandNote : "");
  }
}

}  // namespace
