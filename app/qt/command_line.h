// The Linux program's command line, answered before Qt starts: help, the
// version, the settings file and the paths to handle, a clear word for
// unknown options and for a missing display.
#pragma once

#include <iosfwd>
#include <optional>
#include <vector>

#include "app/common/program.h"

// What the command line asks of the start.
struct CommandLine {
  StartRequest start;  // --settings FILE, and the files and folders after the options
  // The program's name and Qt's own options, for QApplication; ends in null.
  std::vector<const char*> qt_arguments;
};

// Reads the arguments (argv[0] is the program) and the environment:
//   quorlith [-s FILE | --settings FILE] [Qt's options] [--] [FILE...]
// Every argument that does not begin with a dash is a path, in the order
// given; after "--" every argument is, so a path may begin with a dash. Returns the exit
// code when the program should end at once, after writing its answer to out
// (--help, --version: 0) or err (an unknown option: 2; no display: 1);
// nothing when the box should start, with line filled in. Qt's own options
// (-platform NAME, -display NAME, -style NAME, -reverse, ...) are passed on
// to Qt, and nothing else is. In a Wayland session where the user chose no
// platform it sets QT_QPA_PLATFORM: xcb when there is an X display too,
// otherwise wayland, with a word on err that the compositor then places the
// box.
std::optional<int> AnswerCommandLine(int argc, const char* const* argv, std::ostream& out,
                                     std::ostream& err, CommandLine& line);

// While Qt connects to the display: a display that cannot be opened ends the
// program with one line on standard error and exit code 1, instead of Qt's
// abort and core dump. Undone by EndStartGuard, so later faults still abort.
void BeginStartGuard();
void EndStartGuard();
