// The Linux program's command line: its answer, stream and exit code, when it
// lets the box start, and the platform it picks in a Wayland session.
#include "app/qt/command_line.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/scoped_env.h"

namespace {

using Env = std::optional<std::string>;

TEST(CommandLine, AnswersOrLetsTheBoxStartOnTheRightPlatform) {
  const std::string usage =
                        "; usage: quorlith [--help | --version | [-s FILE] (--paste | --close | "
                        "[--] [FILE...])]\n",
                    me = "quorlith: ";
  const auto paste = platform::RequestKind::kPaste, close = platform::RequestKind::kClose;
  using Texts = std::vector<std::string>;
  const std::string no_display = "quorlith: no display; set DISPLAY or run scripts/run\n";
  const std::string wayland =
      "quorlith: running on Wayland, where the compositor decides where the box\n"
      "appears and whether it stays above other windows\n";
  const std::optional<int> runs;
  const Env unset, x = ":0";
  const struct {
    std::vector<const char*> args;
    Env display, wayland_display, platform;  // the environment before
    std::optional<int> code;
    std::string out;  // "help" for the help text
    std::string err;
    Env chosen;  // QT_QPA_PLATFORM afterwards
    std::string settings;
    Texts paths, qt;  // what the box is asked, and what Qt is given after the program's name
    platform::RequestKind kind = platform::RequestKind::kPaths;
    // clang-format off
  } cases[] = {
      {{"--version"}, unset, unset, unset, 0, "Quorlith version 1.1\n", "", unset, "", {}, {}},
      {{"-reverse", "-h", "-x"}, x, unset, unset, 0, "help", "", unset, "", {}, {}},
      {{"--verbose"}, x, unset, unset, 2, "", me + "unknown option '--verbose'" + usage, unset, "", {}, {}},
      {{"-reverse=1"}, x, unset, unset, 2, "", me + "unknown option '-reverse=1'" + usage, unset, "", {}, {}},
      {{"a.txt"}, x, unset, unset, runs, "", "", unset, "", {"a.txt"}, {}},
      {{"-s", "b.ini", "-reverse", "--", "-x.txt", "ü b"}, x, unset, unset, runs, "", "", unset, "b.ini",
       {"-x.txt", "ü b"}, {"-reverse"}},
      // Options among the paths, until "--".
      {{"a", "--settings=c.ini", "-reverse", "b", "--", "-d"}, x, unset, unset, runs, "", "", unset, "c.ini",
       {"a", "b", "-d"}, {"-reverse"}},
      {{"-s"}, x, unset, unset, 2, "", me + "option '-s' needs a value" + usage, unset, "", {}, {}},
      // A paste or a close for the box over a settings file, never with files.
      {{"--paste", "-s", "b.ini"}, x, unset, unset, runs, "", "", unset, "b.ini", {}, {}, paste},
      {{"-reverse", "--close"}, x, unset, unset, runs, "", "", unset, "", {}, {"-reverse"}, close},
      {{"--paste", "a"}, x, unset, unset, 2, "", me + "--paste and --close take no files" + usage, unset, "", {}, {}},
      {{"--close", "--", "-a"}, x, unset, unset, 2, "", me + "--paste and --close take no files" + usage, unset, "", {}, {}},
      {{"-style"}, x, unset, unset, 2, "", me + "option '-style' needs a value" + usage, unset, "", {}, {}},
      {{"-reverse", "-style", "fusion", "--qwindowtitle=t"}, x, unset, unset, runs, "", "", unset, "", {},
       {"-reverse", "-style", "fusion", "--qwindowtitle=t"}},
      {{}, unset, unset, unset, 1, "", no_display, unset, "", {}, {}},
      {{}, "", unset, unset, 1, "", no_display, unset, "", {}, {}},
      {{}, unset, unset, "xcb", 1, "", no_display, "xcb", "", {}, {}},
      {{"-display", ":3"}, unset, unset, unset, runs, "", "", unset, "", {}, {"-display", ":3"}},
      {{"-platform", "offscreen"}, unset, unset, "xcb", runs, "", "", "xcb", "", {}, {"-platform", "offscreen"}},
      {{"--platform=wayland"}, unset, unset, "offscreen", 1, "", no_display, "offscreen", "", {}, {}},
      {{}, unset, unset, "offscreen", runs, "", "", "offscreen", "", {}, {}},
      // Wayland: XWayland with an X display unless a platform was chosen; alone it says so.
      {{}, x, "wayland-0", unset, runs, "", "", "xcb", "", {}, {}},
      {{}, unset, "wayland-0", unset, runs, "", wayland, "wayland", "", {}, {}},
      {{"-display", ":3"}, unset, "wayland-0", unset, runs, "", "", "xcb", "", {}, {"-display", ":3"}},
      {{}, x, "wayland-0", "wayland", runs, "", "", "wayland", "", {}, {}},
      {{"-platform", "wayland"}, x, "wayland-0", unset, runs, "", "", unset, "", {}, {"-platform", "wayland"}}};
  // clang-format on
  for (const auto& c : cases) {
    std::vector<const char*> argv = {"quorlith"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    SCOPED_TRACE(testing::Message() << "row " << &c - cases);
    const testing_support::ScopedEnv display("DISPLAY", c.display);
    const testing_support::ScopedEnv wayland_display("WAYLAND_DISPLAY", c.wayland_display);
    const testing_support::ScopedEnv platform("QT_QPA_PLATFORM", c.platform);
    std::ostringstream out, err;
    CommandLine line;
    EXPECT_EQ(AnswerCommandLine(static_cast<int>(argv.size()), argv.data(), out, err, line),
              c.code);
    if (!c.code) {
      EXPECT_EQ(line.start.settings_file, c.settings);
      EXPECT_EQ(line.start.paths, c.paths);
      EXPECT_EQ(line.start.kind, c.kind);
      ASSERT_GE(line.qt_arguments.size(), 2u);
      EXPECT_EQ(line.qt_arguments.back(), nullptr);
      EXPECT_EQ(Texts(line.qt_arguments.begin() + 1, line.qt_arguments.end() - 1), c.qt);
    }
    if (c.out == "help") {
      EXPECT_EQ(out.str().rfind("Usage: quorlith", 0), 0u) << out.str();
    } else {
      EXPECT_EQ(out.str(), c.out);
    }
    EXPECT_EQ(err.str(), c.err);
    const char* chosen = std::getenv("QT_QPA_PLATFORM");
    EXPECT_EQ(chosen != nullptr ? Env(chosen) : unset, c.chosen);
  }
}

}  // namespace
