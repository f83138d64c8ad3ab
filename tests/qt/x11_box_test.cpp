// The program as a user meets it, under a real X server: a real drop from
// another program over XDND, the X11 clipboard read back with xclip, the
// pointer and keyboard driven with xdotool.
#include <gtest/gtest.h>

#include <string>

#include "tests/qt/x11_session.h"

namespace {

using namespace x11_tests;

// An opaque, unlocked box at (x, y), 120 x 100, with these options.
std::string Settings(int x = 100, int y = 100, const std::string& options = "") {
  return "[Coordinates]\nx=" + std::to_string(x) + "\ny=" + std::to_string(y) +
         "\nw=120\nh=100\nt=100\nb=1\nm=1\n[Options]\n" + options;
}

// A visible window of the program besides the box, once there is one.
QString OtherWindow(const ProgramRun& run) {
  QString other;
  WaitFor([&] {
    for (const QString& window : VisibleWindowsOf(run.pid())) {
      if (window != run.box()) other = window;
    }
    return !other.isEmpty();
  });
  return other;
}

// Right-clicks at (x, y); the menu's window once it is open, else empty.
QString OpenMenuAt(const ProgramRun& run, int x, int y) {
  Xdotool({"mousemove", QString::number(x), QString::number(y), "sleep", "0.2", "click", "3"});
  return OtherWindow(run);
}

// Asks a window to close as a window manager would.
bool RequestClose(const QString& window) {
  return x11_tests::Run(QUORLITH_CLOSE_REQUEST, {window}).code == 0;
}

TEST(QtX11, ADropFromAnotherProgramPutsThePathsOnTheClipboard) {
  ProgramRun run(Settings());
  ASSERT_FALSE(run.box().isEmpty());
  const std::string a = run.folder() / "drop/first file.txt";
  const std::string b = run.folder() / "drop/second";
  testing_support::WriteFile(a, "1");
  testing_support::MakeFolder(b);
  DragSource source(400, 100, {QString::fromStdString(a), QString::fromStdString(b)});
  // Never a move, which would let the source delete its files.
  EXPECT_EQ(source.DropAt(160, 150), "copy");
  EXPECT_TRUE(WaitFor([&] { return ClipboardText() == a + "\n" + b; })) << ClipboardText();
  EXPECT_TRUE(run.Running());
}

TEST(QtX11, ADragMovesTheBoxARightClickOpensTheMenuAndExitSavesAndEnds) {
  ProgramRun run(Settings());
  ASSERT_FALSE(run.box().isEmpty());
  DragPointer(160, 150, 260, 110);  // the body, by (100, -40)
  EXPECT_TRUE(WaitFor([&] { return run.BoxGeometry() == Geometry{200, 60, 120, 100}; }))
      << testing::PrintToString(run.BoxGeometry());
  const QString menu = OpenMenuAt(run, 250, 100);
  ASSERT_FALSE(menu.isEmpty()) << "no menu";
  EXPECT_EQ(WindowGeometry(menu)[0], 250);
  EXPECT_EQ(WindowGeometry(menu)[1], 100);
  Xdotool({"key", "e"});  // "&Exit"
  EXPECT_EQ(run.WaitForEnd(), 0);
  EXPECT_EQ(run.SettingsBytes(), Settings(200, 60));
}

TEST(QtX11, TheProgramRunsOnWhenAQuestionOrTheMenuClosesAndEndsWithTheBox) {
  ProgramRun run(Settings(100, 100, "CommandMode=2\n"));
  ASSERT_FALSE(run.box().isEmpty());
  // The question after a drop from another program, which holds the focus:
  // a message box with no window of the program behind it.
  testing_support::WriteFile(run.folder() / "note.txt", "1");
  DragSource source(400, 100, {QString::fromStdString(run.folder() / "note.txt")});
  EXPECT_EQ(source.DropAt(160, 150), "copy");
  const QString question = OtherWindow(run);
  ASSERT_FALSE(question.isEmpty()) << "no question";
  EXPECT_TRUE(RequestClose(question));
  ASSERT_TRUE(WaitFor([&] { return VisibleWindowsOf(run.pid()) == QStringList{run.box()}; }));
  ASSERT_FALSE(OpenMenuAt(run, 150, 130).isEmpty());
  Xdotool({"key", "Escape"});
  ASSERT_TRUE(WaitFor([&] { return VisibleWindowsOf(run.pid()) == QStringList{run.box()}; }));

  // Closed by the window manager, the moved box saves nothing.
  DragPointer(160, 150, 200, 190);
  ASSERT_TRUE(WaitFor([&] { return run.BoxGeometry()[0] == 140; }));
  EXPECT_TRUE(RequestClose(run.box()));
  EXPECT_EQ(run.WaitForEnd(), 0);
  EXPECT_EQ(run.SettingsBytes(), Settings(100, 100, "CommandMode=2\n"));
}

// Open ReadMe File with the readme in the current folder: the desktop's
// opener (a stand-in xdg-open that writes down its argument) gets the file's
// full URL; with no opener at all, a box says so.
TEST(QtX11, OpenReadMeHandsTheOpenerAFullUrlOrSaysNothingCouldOpenIt) {
  for (const bool with_opener : {true, false}) {
    SCOPED_TRACE(with_opener ? "with xdg-open" : "without");
    testing_support::TempFolder bin;
    const std::string record = bin / "opened";
    if (with_opener) {
      testing_support::WriteFile(bin / "xdg-open",
                                 "#!/bin/sh\nprintf %s \"$1\" > '" + record + "'\n");
      QFile::setPermissions(QString::fromStdString(bin / "xdg-open"),
                            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ProgramRun run(Settings(), {{"PATH", QString::fromStdString(bin.path())},
                                {"XDG_CURRENT_DESKTOP", ""}, {"DESKTOP_SESSION", ""}});
    ASSERT_FALSE(run.box().isEmpty());
    testing_support::WriteFile(run.folder() / "Quorlith.txt", "readme");
    ASSERT_FALSE(OpenMenuAt(run, 150, 130).isEmpty()) << "no menu";
    Xdotool({"key", "Down", "Down", "Down", "Down", "Return"});  // Open ReadMe File
    if (with_opener) {
      EXPECT_TRUE(WaitFor([&] { return !testing_support::ReadFile(record).empty(); }));
      EXPECT_EQ(testing_support::ReadFile(record), "file://" + run.folder() / "Quorlith.txt");
    } else {
      EXPECT_FALSE(WaitForWindow(run.pid(), "^Quorlith$").isEmpty()) << "no box";
    }
  }
}

}  // namespace
