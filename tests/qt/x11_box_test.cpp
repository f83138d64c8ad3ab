// The program as a user meets it, under a real X server: real drops from
// another program over XDND, the X11 clipboard read back with xclip, the
// pointer and keyboard driven with xdotool.
#include <gtest/gtest.h>

#include <QThread>
#include <string>

#include "tests/qt/x11_session.h"

namespace {

using x11_tests::ClipboardText;
using x11_tests::DragPointer;
using x11_tests::DragSource;
using x11_tests::Geometry;
using x11_tests::ProgramRun;
using x11_tests::VisibleWindowsOf;
using x11_tests::WaitFor;
using x11_tests::WindowGeometry;
using x11_tests::Xdotool;

// An opaque box at (100, 100), 120 x 100, unlocked, followed by options.
std::string Settings(const std::string& options = "", const std::string& coordinates = "b=1\n") {
  return "[Coordinates]\nx=100\ny=100\nw=120\nh=100\nt=100\n" + coordinates + "m=1\n[Options]\n" +
         options;
}

QString Number(int n) { return QString::number(n); }

// Right-clicks at (x, y); the menu's window once it is open, else empty.
QString OpenMenuAt(const ProgramRun& run, int x, int y) {
  Xdotool({"mousemove", Number(x), Number(y), "sleep", "0.2", "click", "3"});
  QString menu;
  WaitFor([&] {
    for (const QString& window : VisibleWindowsOf(run.pid())) {
      if (window != run.box()) menu = window;
    }
    return !menu.isEmpty();
  });
  return menu;
}

TEST(QtX11Drop, ADropFromAnotherProgramPutsThePathsOnTheClipboard) {
  struct Case {
    const char* options;
    const char* expected;  // with A, B standing for the two dropped paths
  };
  const Case cases[] = {
      {"", "A\rB"},
      {"listseparator=2\nencase=1\n", "\"A\" \"B\""},
      {"pathaction=2\nlistseparator=3\n", "first file.txt,second"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    ProgramRun run(Settings(c.options));
    ASSERT_FALSE(run.box().isEmpty());
    const std::string a = run.folder() / "drop/first file.txt";
    const std::string b = run.folder() / "drop/second";
    testing_support::WriteFile(a, "1");
    testing_support::MakeFolder(b);
    std::string expected = c.expected;
    for (size_t at; (at = expected.find('A')) != std::string::npos;) expected.replace(at, 1, a);
    for (size_t at; (at = expected.find('B')) != std::string::npos;) expected.replace(at, 1, b);

    DragSource source(400, 100, {QString::fromStdString(a), QString::fromStdString(b)});
    ASSERT_TRUE(source.Shown());
    DragPointer(460, 160, 160, 150);
    // The files stay where they are: the box never takes a drop as a move.
    EXPECT_EQ(source.Accepted(), "copy");
    EXPECT_TRUE(WaitFor([&] { return ClipboardText() == expected; })) << ClipboardText();
    EXPECT_TRUE(testing_support::Exists(a));
    EXPECT_TRUE(run.Running());
  }
}

TEST(QtX11Drop, ADragWithoutALocalFileIsRefused) {
  ProgramRun run(Settings());
  ASSERT_FALSE(run.box().isEmpty());
  DragSource source(400, 100, {"https://example.org/page.html"});
  ASSERT_TRUE(source.Shown());
  DragPointer(460, 160, 160, 150);
  EXPECT_EQ(source.Accepted(), "ignore");
  QThread::msleep(300);
  EXPECT_EQ(ClipboardText(), "");
}

TEST(QtX11Menu, ARightClickOpensTheMenuAtThePointerAndExitSavesAndEnds) {
  // Started with arguments, which make no difference.
  ProgramRun run(Settings(), {"--ignored", "and", "more"});
  ASSERT_FALSE(run.box().isEmpty());
  EXPECT_EQ(run.BoxGeometry(), (Geometry{100, 100, 120, 100}));
  const QString menu = OpenMenuAt(run, 150, 130);
  ASSERT_FALSE(menu.isEmpty()) << "no menu";
  const std::optional<Geometry> shown = WindowGeometry(menu);
  ASSERT_TRUE(shown.has_value());
  EXPECT_EQ(shown->x, 150);
  EXPECT_EQ(shown->y, 130);

  // E chooses "&Exit".
  Xdotool({"key", "e"});
  EXPECT_EQ(run.WaitForEnd(), 0);
  EXPECT_EQ(run.SettingsBytes(), Settings());  // the same rectangle, written back
}

TEST(QtX11Menu, TheProgramKeepsRunningWhenTheMenuOrAMessageBoxCloses) {
  ProgramRun run(Settings());
  ASSERT_FALSE(run.box().isEmpty());
  ASSERT_FALSE(OpenMenuAt(run, 150, 130).isEmpty());
  Xdotool({"key", "Escape"});
  ASSERT_TRUE(WaitFor([&] { return VisibleWindowsOf(run.pid()).size() == 1; }));

  // Help, the second item, shows the About box.
  ASSERT_FALSE(OpenMenuAt(run, 150, 130).isEmpty());
  Xdotool({"key", "Down", "Down", "Return"});
  QString about;
  ASSERT_TRUE(WaitFor([&] {
    const QStringList found = VisibleWindowsOf(run.pid(), "^About Quorlith$");
    if (!found.isEmpty()) about = found.front();
    return !about.isEmpty();
  }));
  // The message box takes the keyboard focus; Return presses its OK button.
  QString focus;
  EXPECT_TRUE(WaitFor([&] {
    focus = QString::fromStdString(x11_tests::Run("xdotool", {"getwindowfocus"}).out).trimmed();
    return focus == about;
  })) << focus.toStdString() << " has the focus, not " << about.toStdString();
  Xdotool({"key", "Return"});
  ASSERT_TRUE(WaitFor([&] { return VisibleWindowsOf(run.pid(), "^About Quorlith$").isEmpty(); }));
  QThread::msleep(500);
  EXPECT_TRUE(run.Running());
  EXPECT_EQ(VisibleWindowsOf(run.pid()), QStringList{run.box()});
}

TEST(QtX11Window, DraggingTheUnlockedBoxMovesAndResizesIt) {
  ProgramRun run(Settings());
  ASSERT_FALSE(run.box().isEmpty());
  DragPointer(160, 150, 260, 110);  // the body: moved by (100, -40)
  EXPECT_TRUE(WaitFor([&] { return run.BoxGeometry() == Geometry{200, 60, 120, 100}; }))
      << run.BoxGeometry();
  DragPointer(318, 158, 348, 178);  // the bottom-right corner: 30 x 20 larger
  EXPECT_TRUE(WaitFor([&] { return run.BoxGeometry() == Geometry{200, 60, 150, 120}; }))
      << run.BoxGeometry();

  ASSERT_FALSE(OpenMenuAt(run, 250, 100).isEmpty());
  Xdotool({"key", "e"});
  EXPECT_EQ(run.WaitForEnd(), 0);
  EXPECT_EQ(run.SettingsBytes(),
            "[Coordinates]\nx=200\ny=60\nw=150\nh=120\nt=100\nb=1\nm=1\n[Options]\n");
}

TEST(QtX11Window, ADoubleClickLocksTheBoxWhichThenStaysPut) {
  ProgramRun run(Settings());
  ASSERT_FALSE(run.box().isEmpty());
  Xdotool({"mousemove", "160", "150", "sleep", "0.2", "click", "--repeat", "2", "--delay", "80",
           "1"});
  EXPECT_TRUE(WaitFor([&] { return run.FileNumber("b") == 0; }));
  DragPointer(160, 150, 260, 110);
  QThread::msleep(300);
  EXPECT_EQ(run.BoxGeometry(), (Geometry{100, 100, 120, 100}));
}

TEST(QtX11Window, ClosingTheBoxEndsTheProgramWithoutWriting) {
  ProgramRun run(Settings());
  ASSERT_FALSE(run.box().isEmpty());
  DragPointer(160, 150, 200, 190);  // moved, but that is not saved
  ASSERT_TRUE(WaitFor([&] { return run.BoxGeometry().x == 140; }));
  const x11_tests::Result asked = x11_tests::Run(QUORLITH_CLOSE_REQUEST, {run.box()});
  EXPECT_EQ(asked.code, 0);
  EXPECT_EQ(run.WaitForEnd(), 0);
  EXPECT_EQ(run.SettingsBytes(), Settings());
}

TEST(QtX11Window, TheFirstStartWritesTheSettingsBesideTheProgram) {
  ProgramRun run("");
  ASSERT_FALSE(run.box().isEmpty());
  EXPECT_EQ(run.BoxGeometry(), (Geometry{244, 200, 75, 75}));
  const std::string desktop = run.folder() / "home/Desktop";
  EXPECT_EQ(run.SettingsBytes(),
            "[Coordinates]\nx=244\ny=200\nw=75\nh=75\nt=75\nb=1\nm=1\n"
            "[Options]\nCommandMode=1\npathaction=1\nlistseparator=1\nencase=0\n"
            "deletetobin=1\nconfirmdelete=1\nconfirmcopy=1\nconfirmmove=1\noverwritefile=0\n"
            "CopyDestination=" + desktop + "\nMoveDestination=" + desktop + "\n");
}

}  // namespace
