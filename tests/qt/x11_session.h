// Tools for the tests under a real X server: the display, running programs
// and xdotool, the clipboard read back with xclip, and the program itself run
// from a folder of its own.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>

#include "tests/support/temp_folder.h"

namespace x11_tests {

struct Result {
  int code = -1;  // -1 when the program did not end in time
  std::string out;
};

// Runs a program to its end, at most timeout_ms.
Result Run(const QString& program, const QStringList& args, int timeout_ms = 20000);
// Runs xdotool; a failure fails the test.
std::string Xdotool(const QStringList& args);
// The text of the CLIPBOARD selection; empty when nobody holds it.
std::string ClipboardText();
// Polls condition until it holds or timeout_ms has passed.
bool WaitFor(const std::function<bool()>& condition, int timeout_ms = 8000);

struct Geometry {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Geometry&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Geometry& g);
std::optional<Geometry> WindowGeometry(const QString& window);
// The visible windows of a process, by the process id Qt puts on them.
QStringList VisibleWindowsOf(qint64 pid, const QString& name = QString());

// Moves the pointer from one point to another in small, slow steps with the
// left button down, as a hand does (drags need the motion in between).
void DragPointer(int from_x, int from_y, int to_x, int to_y);

// One run of the program: the built executable copied into a temporary
// folder (its settings file is written beside it) with a home of its own.
class ProgramRun {
 public:
  // settings: the file's bytes; empty to start without a file.
  explicit ProgramRun(const std::string& settings, const QStringList& args = {});
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  // The box's window id; empty when it did not come up.
  const QString& box() const { return box_; }
  Geometry BoxGeometry() const;
  qint64 pid() const { return process_.processId(); }
  bool Running() const { return process_.state() != QProcess::NotRunning; }
  // The exit code once the program has ended; -1 when it still runs after
  // timeout_ms, or when it crashed.
  int WaitForEnd(int timeout_ms = 8000);
  std::string SettingsBytes() const;
  int FileNumber(const char* key) const;
  const testing_support::TempFolder& folder() const { return folder_; }

 private:
  testing_support::TempFolder folder_;
  QProcess process_;
  QString box_;
};

// The drag source helper, showing a window at (x, y) that drags items.
class DragSource {
 public:
  DragSource(int x, int y, const QStringList& items);
  ~DragSource();
  bool Shown() const { return !window_.isEmpty(); }
  // The action the target accepted, once the drag is over.
  std::string Accepted();

 private:
  QProcess process_;
  QString window_;
};

}  // namespace x11_tests
