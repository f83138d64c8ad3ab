// The program as a user meets it on a real X server (the DISPLAY the tests
// run on): a real drop from another program over XDND, the X11 clipboard
// read back with xclip, the pointer driven with xdotool.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include "tests/support/temp_folder.h"

namespace {

// Runs a program to its end; its standard output, or nothing when it failed.
std::optional<std::string> Run(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    process.kill();
    process.waitForFinished();
    return std::nullopt;
  }
  return process.readAllStandardOutput().toStdString();
}

bool WaitFor(const std::function<bool()>& condition) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > 8000) return false;
    QThread::msleep(50);
  }
  return true;
}

// Waits for a visible window of process pid with this name.
bool WaitForWindow(qint64 pid, const QString& name) {
  return WaitFor([&] {
    const auto found = Run("xdotool", {"search", "--onlyvisible", "--pid", QString::number(pid),
                                       "--name", name});
    return found.has_value() && !found->empty();
  });
}

// A process ended when the test ends.
struct Started : QProcess {
  ~Started() override {
    kill();
    waitForFinished();
  }
};

TEST(QtX11, ADropFromAnotherProgramPutsThePathsOnTheClipboardAsACopy) {
  ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "these tests need an X display";
  // The program copied into a folder of its own, its settings file beside it.
  testing_support::TempFolder folder;
  const QString program = QString::fromStdString(folder / "quorlith");
  ASSERT_TRUE(QFile::copy(QUORLITH_PROGRAM, program));
  testing_support::WriteFile(folder / "Quorlith.ini",
                             "[Coordinates]\nx=100\ny=100\nw=120\nh=100\nt=100\nb=1\nm=1\n");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("HOME", QString::fromStdString(folder / "home"));
  env.insert("XDG_CONFIG_HOME", QString::fromStdString(folder / "config"));
  env.insert("QT_QPA_PLATFORM", "xcb");
  Started box;
  box.setProcessEnvironment(env);
  box.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  box.start(program, {});
  ASSERT_TRUE(box.waitForStarted() && WaitForWindow(box.processId(), "^Quorlithdropbox$"));

  const std::string a = folder / "drop/first file.txt", b = folder / "drop/second";
  testing_support::WriteFile(a, "1");
  testing_support::MakeFolder(b);
  Started source;
  source.start(QUORLITH_DRAG_SOURCE, {"400", "100", QString::fromStdString(a), QString::fromStdString(b)});
  ASSERT_TRUE(source.waitForStarted() &&
              WaitForWindow(source.processId(), "^quorlith drag source$"));
  // Pressed on the source and moved to the box in slow steps, as a hand drags.
  QStringList drag = {"mousemove", "460", "160", "sleep", "0.2", "mousedown", "1", "sleep", "0.3"};
  for (int i = 1; i <= 16; ++i) {
    drag << "mousemove" << QString::number(460 - 300 * i / 16) << QString::number(160 - 10 * i / 16)
         << "sleep" << "0.05";
  }
  ASSERT_TRUE(Run("xdotool", drag << "sleep" << "0.3" << "mouseup" << "1"));
  // Never a move, which would let the source delete its files.
  ASSERT_TRUE(source.canReadLine() || source.waitForReadyRead(10000));
  EXPECT_EQ(source.readLine().trimmed().toStdString(), "copy");
  std::optional<std::string> clipboard;
  EXPECT_TRUE(WaitFor([&] {
    clipboard = Run("xclip", {"-o", "-selection", "clipboard"});
    return clipboard == a + "\n" + b;
  })) << clipboard.value_or("(nothing)");
  EXPECT_EQ(box.state(), QProcess::Running);
}

}  // namespace
