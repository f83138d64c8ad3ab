// Tools for the tests under a real X server: programs run to their end,
// xdotool, the clipboard read back with xclip, the program run from a folder
// of its own, and the drag source helper.
#pragma once

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QThread>
#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/temp_folder.h"

namespace x11_tests {

inline void Stop(QProcess& process) {
  if (process.state() == QProcess::NotRunning) return;
  process.kill();
  process.waitForFinished(5000);
}

struct Result {
  int code = -1;  // -1 when the program did not end in time
  std::string out;
};
inline Result Run(const QString& program, const QStringList& args, int timeout_ms = 20000) {
  QProcess process;
  process.start(program, args);
  Result result;
  if (!process.waitForStarted(timeout_ms)) return result;
  if (!process.waitForFinished(timeout_ms)) {
    Stop(process);
    return result;
  }
  result.out = process.readAllStandardOutput().toStdString();
  result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  return result;
}

// Runs xdotool; a failure fails the test.
inline void Xdotool(const QStringList& args) {
  EXPECT_EQ(Run("xdotool", args).code, 0) << "xdotool " << args.join(' ').toStdString();
}

// The text of the CLIPBOARD selection; empty when nobody holds it.
inline std::string ClipboardText() {
  const Result result = Run("xclip", {"-o", "-selection", "clipboard"}, 5000);
  return result.code == 0 ? result.out : std::string();
}

inline bool WaitFor(const std::function<bool()>& condition, int timeout_ms = 8000) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > timeout_ms) return false;
    QThread::msleep(50);
  }
  return true;
}

using Geometry = std::array<int, 4>;  // x, y, width, height

// A window's geometry; zeros when there is no such window.
inline Geometry WindowGeometry(const QString& window) {
  const char* const keys[] = {"X=", "Y=", "WIDTH=", "HEIGHT="};
  Geometry g{};
  const Result shell = Run("xdotool", {"getwindowgeometry", "--shell", window});
  for (const QString& line : QString::fromStdString(shell.out).split('\n')) {
    for (size_t i = 0; i < g.size(); ++i) {
      if (line.startsWith(keys[i])) g[i] = line.section('=', 1).toInt();
    }
  }
  return g;
}

// The visible windows of a process, by the process id Qt puts on them.
inline QStringList VisibleWindowsOf(qint64 pid, const QString& name = QString()) {
  QStringList args = {"search", "--all", "--onlyvisible", "--pid", QString::number(pid)};
  if (!name.isEmpty()) args << "--name" << name;
  return QString::fromStdString(Run("xdotool", args).out).split('\n', Qt::SkipEmptyParts);
}

// Waits for the one visible window of pid with this name; empty if none came.
inline QString WaitForWindow(qint64 pid, const QString& name) {
  QString window;
  WaitFor([&] {
    const QStringList found = VisibleWindowsOf(pid, name);
    if (found.size() == 1) window = found.front();
    return !window.isEmpty();
  });
  return window;
}

// Moves the pointer in small, slow steps with the left button down, as a hand
// does (drags need the motion in between).
inline void DragPointer(int from_x, int from_y, int to_x, int to_y) {
  QStringList args = {"mousemove", QString::number(from_x), QString::number(from_y),
                      "sleep", "0.2", "mousedown", "1", "sleep", "0.3"};
  for (int i = 1; i <= 16; ++i) {
    args << "mousemove" << QString::number(from_x + (to_x - from_x) * i / 16)
         << QString::number(from_y + (to_y - from_y) * i / 16) << "sleep" << "0.05";
  }
  Xdotool(args << "sleep" << "0.3" << "mouseup" << "1");
}

// The built program copied into a temporary folder (its settings file beside
// it) and run there with a home of its own.
class ProgramRun {
 public:
  // settings: the file's bytes; empty to start without a file. env: more
  // variables for the program's environment, as name and value.
  explicit ProgramRun(const std::string& settings,
                      const std::vector<std::pair<QString, QString>>& env_extra = {}) {
    const QString program = QString::fromStdString(folder_ / "quorlith");
    if (!QFile::copy(QUORLITH_PROGRAM, program)) {
      ADD_FAILURE() << "cannot copy " << QUORLITH_PROGRAM;
      return;
    }
    if (!settings.empty()) testing_support::WriteFile(folder_ / "Quorlith.ini", settings);
    const QString runtime = QString::fromStdString(folder_ / "runtime");
    testing_support::MakeFolder(runtime.toStdString());
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", QString::fromStdString(folder_ / "home"));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(folder_ / "config"));
    env.insert("XDG_DATA_HOME", QString::fromStdString(folder_ / "data"));
    env.insert("XDG_RUNTIME_DIR", runtime);
    env.insert("QT_QPA_PLATFORM", "xcb");
    for (const auto& [name, value] : env_extra) env.insert(name, value);
    process_.setProcessEnvironment(env);
    process_.setWorkingDirectory(QString::fromStdString(folder_.path()));
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(program, {});
    if (process_.waitForStarted(10000)) box_ = WaitForWindow(pid(), "^Quorlithdropbox$");
    EXPECT_FALSE(box_.isEmpty()) << "the box did not come up";
  }
  ~ProgramRun() { Stop(process_); }

  // The box's window id; empty when it did not come up.
  const QString& box() const { return box_; }
  Geometry BoxGeometry() const { return WindowGeometry(box_); }
  qint64 pid() const { return process_.processId(); }
  bool Running() const { return process_.state() != QProcess::NotRunning; }
  // The exit code; -1 when it still runs after timeout_ms, or crashed.
  int WaitForEnd(int timeout_ms = 8000) {
    if (Running() && !process_.waitForFinished(timeout_ms)) return -1;
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }
  std::string SettingsBytes() const { return testing_support::ReadFile(folder_ / "Quorlith.ini"); }
  const testing_support::TempFolder& folder() const { return folder_; }

 private:
  testing_support::TempFolder folder_;
  QProcess process_;
  QString box_;
};

// The drag source helper's window at (x, y), dragging these files.
class DragSource {
 public:
  DragSource(int x, int y, const QStringList& paths) : x_(x), y_(y) {
    process_.start(QUORLITH_DRAG_SOURCE, QStringList{QString::number(x), QString::number(y)} + paths);
    if (process_.waitForStarted(10000)) {
      window_ = WaitForWindow(process_.processId(), "^quorlith drag source$");
    }
  }
  ~DragSource() { Stop(process_); }

  // Drags the files from the window to (to_x, to_y) and drops them there; the
  // action the target accepted. The source stays until it is destroyed, as
  // the target may fetch the data after the drop.
  std::string DropAt(int to_x, int to_y) {
    if (window_.isEmpty()) return "(no drag source)";
    DragPointer(x_ + 60, y_ + 60, to_x, to_y);
    if (!process_.canReadLine() && !process_.waitForReadyRead(10000)) return "(no answer)";
    return process_.readLine().trimmed().toStdString();
  }

 private:
  QProcess process_;
  QString window_;
  int x_;
  int y_;
};

}  // namespace x11_tests
