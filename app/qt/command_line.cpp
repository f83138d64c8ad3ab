#include "app/qt/command_line.h"

#include <QtGlobal>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>
#include <string_view>

#include "build_info.h"

namespace {

constexpr const char* kUsage =
    "usage: quorlith [--help | --version | [-s FILE] (--paste | --close | [--] [FILE...])]";

// Options QGuiApplication and QApplication take, without their dash.
constexpr std::array<std::string_view, 15> kQtOptionsWithValue = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "display", "geometry",
    "style",       "stylesheet",         "name",          "title",   "qmljsdebugger"};
constexpr std::array<std::string_view, 5> kQtFlags = {"reverse", "widgetcount", "nograb", "dograb",
                                                      "sync"};

template <size_t N>
bool OneOf(const std::array<std::string_view, N>& names, std::string_view name) {
  for (std::string_view n : names) {
    if (n == name) return true;
  }
  return false;
}

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// A platform that draws on no display (offscreen, vnc, linuxfb, ...) needs
// none; "xcb", "wayland" and their variants do.
bool NeedsDisplay(std::string_view platform) {
  platform = platform.substr(0, platform.find_first_of(":;"));
  return platform.empty() || platform.starts_with("xcb") || platform.starts_with("wayland");
}

void PrintHelp(std::ostream& out) {
  out << "Usage: quorlith [OPTION]... [--] [FILE]...\n"
         "Shows the Quorlith drop box. Files dropped on it have their paths put on the\n"
         "clipboard, or are copied, moved or deleted, as its settings file says.\n"
         "Each FILE (a file or a folder) is handled as if it had been dropped on the\n"
         "box: by the box already running over the same settings file, else by this\n"
         "one. \"--\" ends the options, for names that begin with a dash.\n"
         "\n"
         "  -s, --settings FILE  use the settings file FILE (made with the first\n"
         "                       settings when missing): one box per settings file\n"
         "      --paste          handle the files on the clipboard (copied in a file\n"
         "                       manager) as a drop, in the box already running or\n"
         "                       in this one; bind a desktop shortcut to it\n"
         "      --close          end the box running over the settings file as its\n"
         "                       Exit does, and wait until it has ended\n"
         "  -h, --help           show this help and exit\n"
         "  --version            show the version and exit\n"
         "\n"
         "Qt's own options, such as -platform NAME and -display NAME, are passed on.\n"
         "Settings: Quorlith.ini beside the program when it can be written there,\n"
         "otherwise $XDG_CONFIG_HOME/quorlith/Quorlith.ini (~/.config/quorlith/).\n"
         "The right-click menu's Open ReadMe File describes every setting.\n";
}

}  // namespace

std::optional<int> AnswerCommandLine(int argc, const char* const* argv, std::ostream& out,
                                     std::ostream& err, CommandLine& line) {
  const char* platform_env = std::getenv("QT_QPA_PLATFORM");
  std::string platform = platform_env != nullptr ? platform_env : "";
  bool display_given = false;
  line = {};
  line.qt_arguments.push_back(argc > 0 ? argv[0] : "quorlith");
  int first_path = argc;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") {
      first_path = i + 1;
      break;
    }
    if (arg.empty() || arg[0] != '-' || arg == "-") {
      line.start.paths.emplace_back(arg);
      continue;
    }
    if (arg == "-s" || arg == "--settings") {
      if (i + 1 >= argc) {
        err << "quorlith: option '" << arg << "' needs a value; " << kUsage << "\n";
        return 2;
      }
      line.start.settings_file = argv[++i];
      continue;
    }
    if (arg.starts_with("--settings=")) {
      line.start.settings_file = arg.substr(arg.find('=') + 1);
      continue;
    }
    if (arg == "--paste" || arg == "--close") {
      line.start.kind =
          arg == "--paste" ? platform::RequestKind::kPaste : platform::RequestKind::kClose;
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      PrintHelp(out);
      return 0;
    }
    if (arg == "--version") {
      out << "Quorlith version " QUORLITH_VERSION "\n";
      return 0;
    }
    // Qt takes its options with one dash or two, the value after "=" or as
    // the next argument.
    std::string_view name = arg;
    if (name.starts_with("--")) name.remove_prefix(1);
    name.remove_prefix(1);
    const size_t equals = name.find('=');
    std::string_view value;
    const bool has_value = equals != std::string_view::npos;
    if (has_value) {
      value = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    line.qt_arguments.push_back(argv[i]);
    if (OneOf(kQtOptionsWithValue, name)) {
      if (!has_value) {
        if (i + 1 >= argc) {
          err << "quorlith: option '" << arg << "' needs a value; " << kUsage << "\n";
          return 2;
        }
        value = argv[++i];
        line.qt_arguments.push_back(argv[i]);
      }
      if (name == "platform") platform = value;
      if (name == "display") display_given = true;
    } else if (!OneOf(kQtFlags, name) || has_value) {
      err << "quorlith: unknown option '" << arg << "'; " << kUsage << "\n";
      return 2;
    }
  }
  for (int i = first_path; i < argc; ++i) line.start.paths.emplace_back(argv[i]);
  if (line.start.kind != platform::RequestKind::kPaths && !line.start.paths.empty()) {
    err << "quorlith: --paste and --close take no files; " << kUsage << "\n";
    return 2;
  }
  line.qt_arguments.push_back(nullptr);
  if (!display_given && !Set("DISPLAY") && !Set("WAYLAND_DISPLAY") && NeedsDisplay(platform)) {
    err << "quorlith: no display; set DISPLAY or run scripts/run\n";
    return 1;
  }
  // A Wayland client can neither place its window nor keep it above the
  // others, and the box needs both: unless the user chose a platform, it runs
  // on X11 (XWayland) wherever the session offers an X display.
  if (platform.empty() && Set("WAYLAND_DISPLAY")) {
    if (display_given || Set("DISPLAY")) {
      setenv("QT_QPA_PLATFORM", "xcb", 1);
    } else {
      setenv("QT_QPA_PLATFORM", "wayland", 1);
      err << "quorlith: running on Wayland, where the compositor decides where the box\n"
             "appears and whether it stays above other windows\n";
    }
  }
  return std::nullopt;
}

namespace {

QtMessageHandler previous_handler = nullptr;

void StartHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg) {
    if (previous_handler != nullptr) previous_handler(type, context, message);
    return;
  }
  // Qt's own words here suggest reinstalling; the warnings before them have
  // already said what failed.
  std::fputs("quorlith: the display could not be opened; check DISPLAY or run scripts/run\n",
             stderr);
  std::fflush(stderr);
  std::_Exit(1);
}

}  // namespace

void BeginStartGuard() { previous_handler = qInstallMessageHandler(StartHandler); }

void EndStartGuard() { qInstallMessageHandler(previous_handler); }
