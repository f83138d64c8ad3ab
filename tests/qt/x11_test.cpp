// The program on the real X server the tests run on: a drop from another program over XDND,
// the X11 clipboard read back with xclip, and the desktop's opener called for the readme.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <functional>
#include <optional>
#include <string>

#include "tests/support/temp_folder.h"

namespace {

// A program run to its end: its standard output, or nothing when it failed.
std::optional<std::string> RunTool(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    return std::nullopt;
  }
  return process.readAllStandardOutput().toStdString();
}

bool WaitFor(const std::function<bool()>& condition) {
  QElapsedTimer clock;
  clock.start();
  while (!condition() && clock.elapsed() < 8000) QThread::msleep(50);
  return condition();
}

// A program run beside the test; Start is false when its window, named title, does not come up.
struct Started : QProcess {
  bool Start(const QString& program, const QStringList& args, const QString& title) {
    start(program, args);
    return waitForStarted() && WaitFor([&] {
             return RunTool("xdotool", {"search", "--onlyvisible", "--pid",
                                        QString::number(processId()), "--name", title})
                        .value_or("") != "";
           });
  }
  ~Started() override {
    kill();
    waitForFinished();
  }
};

TEST(QtX11, ARealDropFillsTheClipboardAndTheMenuOpensTheReadMeByItsWholeUrl) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "no X display (scripts/test has one)";
  testing_support::TempFolder folder;  // the program's, its settings file beside it
  const QString program = QString::fromStdString(folder / "quorlith");
  ASSERT_TRUE(QFile::copy(QUORLITH_PROGRAM, program));
  testing_support::WriteFile(folder / "Quorlith.ini",
                             "[Coordinates]\nx=100\ny=100\nw=120\nh=100\nt=100\nm=1\n");
  // The readme here, and an opener that writes down what it is given.
  testing_support::WriteFile(folder / "Quorlith.txt", "read me");
  testing_support::WriteFile(folder / "bin/xdg-open", "#!/bin/sh\nprintf %s \"$1\" > opened\n");
  QFile::setPermissions(QString::fromStdString(folder / "bin/xdg-open"),
                        QFile::ReadOwner | QFile::ExeOwner);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("PATH", QString::fromStdString(folder / "bin:") + env.value("PATH"));
  env.insert("HOME", QString::fromStdString(folder / "home"));
  env.insert("XDG_CONFIG_HOME", QString::fromStdString(folder / "config"));
  env.insert("QT_QPA_PLATFORM", "xcb");
  Started box, source;
  box.setProcessEnvironment(env);
  box.setWorkingDirectory(QString::fromStdString(folder.path()));
  box.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  ASSERT_TRUE(box.Start(program, {}, "^Quorlithdropbox$")) << "is there a DISPLAY?";

  const std::string a = folder / "drop/first file.txt", b = folder / "drop/second";
  testing_support::WriteFile(a, "1");
  testing_support::MakeFolder(b);
  const QStringList args = {"400", "100", QString::fromStdString(a), QString::fromStdString(b)};
  ASSERT_TRUE(source.Start(QUORLITH_DRAG_SOURCE, args, "^quorlith drag source$"));
  // Pressed on the source and moved to the box in slow steps, as a hand drags.
  QStringList drag = {"mousemove", "460", "160", "sleep", "0.2", "mousedown", "1", "sleep", "0.3"};
  for (int i = 1; i <= 16; ++i) {
    drag += {"mousemove", QString::number(460 - 300 * i / 16), "150", "sleep", "0.05"};
  }
  ASSERT_TRUE(RunTool("xdotool", drag + QStringList{"sleep", "0.3", "mouseup", "1"}));
  // Never a move, which would let the source delete its files.
  ASSERT_TRUE(source.canReadLine() || source.waitForReadyRead(10000));
  EXPECT_EQ(source.readLine().trimmed().toStdString(), "copy");
  std::optional<std::string> clipboard;
  EXPECT_TRUE(WaitFor([&] {
    return (clipboard = RunTool("xclip", {"-o", "-selection", "clipboard"})) == a + "\n" + b;
  })) << clipboard.value_or("(nothing)");
  // Open ReadMe File hands the opener the readme's whole URL; Exit ends the box.
  for (const char* item : {"Down Down Down Down Down Return", "e"}) {
    ASSERT_TRUE(RunTool("xdotool",
                        QStringList{"mousemove", "160", "150", "click", "3", "sleep", "1", "key"} +
                            QString(item).split(' ')));
  }
  EXPECT_TRUE(WaitFor([&] { return testing_support::ReadFile(folder / "opened") != ""; }));
  EXPECT_EQ(testing_support::ReadFile(folder / "opened"), "file://" + folder / "Quorlith.txt");
  EXPECT_TRUE(box.waitForFinished(8000));
  EXPECT_EQ(box.exitCode(), 0);
}

}  // namespace
