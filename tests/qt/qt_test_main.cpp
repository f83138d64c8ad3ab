// The widget tests run on Qt's offscreen platform, in one QApplication made
// before the first test and kept until the last.
#include <gtest/gtest.h>

#include <QApplication>
#include <QString>

namespace {

// The offscreen platform says so whenever the box is raised or its opacity
// set; everything else Qt reports still shows.
QtMessageHandler PreviousHandler = nullptr;

void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith("This plugin does not support")) return;
  PreviousHandler(type, context, text);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  static int qt_argc = 3;
  static char arg0[] = "quorlith_qt_tests";
  static char arg1[] = "-platform";
  static char arg2[] = "offscreen";
  static char* qt_argv[] = {arg0, arg1, arg2, nullptr};
  PreviousHandler = qInstallMessageHandler(QuietOffscreenNotes);
  QApplication app(qt_argc, qt_argv);
  // As in the program: closing a menu or message box never ends the run.
  QApplication::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
