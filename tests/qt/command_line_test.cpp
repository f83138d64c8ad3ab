// The Linux program's command line: what it answers, on which stream, with
// which exit code, and when it lets the box start.
#include "app/qt/command_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/scoped_env.h"

namespace {

using testing_support::ScopedEnv;

TEST(CommandLine, AnswersOrLetsTheBoxStart) {
  const std::string usage = "; usage: quorlith [--help | --version]\n";
  const char* const x11 = ":0";
  const struct {
    std::vector<const char*> args;
    const char* display;
    const char* wayland;
    const char* platform;  // QT_QPA_PLATFORM
    std::optional<int> code;
    std::string out;  // "*" for any non-empty text
    std::string err;
  } cases[] = {
      {{"--version"}, nullptr, nullptr, nullptr, 0, "Quorlith version 1.1\n", ""},
      {{"-h"}, x11, nullptr, nullptr, 0, "*", ""},
      {{"-reverse", "--help", "-x"}, x11, nullptr, nullptr, 0, "*", ""},
      {{"-x"}, x11, nullptr, nullptr, 2, "", "quorlith: unknown option '-x'" + usage},
      {{"--verbose"}, x11, nullptr, nullptr, 2, "", "quorlith: unknown option '--verbose'" + usage},
      {{"-reverse=1"}, x11, nullptr, nullptr, 2, "", "quorlith: unknown option '-reverse=1'" + usage},
      {{"notes.txt"}, x11, nullptr, nullptr, 2, "", "quorlith: unexpected argument 'notes.txt'" + usage},
      {{"-style"}, x11, nullptr, nullptr, 2, "", "quorlith: option '-style' needs a value" + usage},
      {{"-reverse", "-style", "fusion", "--qwindowtitle=t"}, x11, nullptr, nullptr, std::nullopt, "", ""},
      {{}, nullptr, nullptr, nullptr, 1, "", "quorlith: no display; set DISPLAY or run scripts/run\n"},
      {{}, "", "", "xcb", 1, "", "quorlith: no display; set DISPLAY or run scripts/run\n"},
      {{}, nullptr, "wayland-0", nullptr, std::nullopt, "", ""},
      {{"-display", ":3"}, nullptr, nullptr, nullptr, std::nullopt, "", ""},
      {{"-platform", "offscreen"}, nullptr, nullptr, "xcb", std::nullopt, "", ""},
      {{"--platform=wayland"}, nullptr, nullptr, "offscreen", 1, "", "*"},
      {{}, nullptr, nullptr, "offscreen", std::nullopt, "", ""},
  };
  for (const auto& c : cases) {
    std::string joined;
    for (const char* arg : c.args) joined += std::string(arg) + " ";
    SCOPED_TRACE(joined);
    const ScopedEnv display("DISPLAY", c.display ? std::optional<std::string>(c.display) : std::nullopt);
    const ScopedEnv wayland("WAYLAND_DISPLAY",
                            c.wayland ? std::optional<std::string>(c.wayland) : std::nullopt);
    const ScopedEnv platform("QT_QPA_PLATFORM",
                             c.platform ? std::optional<std::string>(c.platform) : std::nullopt);
    std::vector<const char*> argv = {"quorlith"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(AnswerCommandLine(static_cast<int>(argv.size()), argv.data(), out, err), c.code);
    if (c.out == "*") {
      EXPECT_NE(out.str().find("Usage: quorlith"), std::string::npos) << out.str();
    } else {
      EXPECT_EQ(out.str(), c.out);
    }
    if (c.err == "*") {
      EXPECT_FALSE(err.str().empty());
    } else {
      EXPECT_EQ(err.str(), c.err);
    }
  }
}

}  // namespace
