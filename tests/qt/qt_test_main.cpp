// The widget tests run on Qt's offscreen platform, in one QApplication kept
// for the whole run.
#include <gtest/gtest.h>

#include <QApplication>

namespace {

QtMessageHandler PreviousHandler = nullptr;

// The offscreen platform complains whenever the box is raised or its opacity
// set; everything else Qt reports still shows.
void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (!text.startsWith("This plugin does not support")) PreviousHandler(type, context, text);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  static int qt_argc = 3;
  static char arg0[] = "quorlith_qt_tests", arg1[] = "-platform", arg2[] = "offscreen";
  static char* qt_argv[] = {arg0, arg1, arg2, nullptr};
  PreviousHandler = qInstallMessageHandler(QuietOffscreenNotes);
  QApplication app(qt_argc, qt_argv);
  // As in the program: closing a menu or message box never ends the run.
  QApplication::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
