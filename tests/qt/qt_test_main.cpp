// The Qt tests run in one QApplication on Qt's offscreen platform; programs
// they start use the real display.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  static int qt_argc = 3;
  static char arg0[] = "quorlith_qt_tests", arg1[] = "-platform", arg2[] = "offscreen";
  static char* qt_argv[] = {arg0, arg1, arg2, nullptr};
  // The offscreen platform complains whenever the box is raised or its
  // opacity set; everything else Qt reports still shows.
  static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& where, const QString& text) {
    if (!text.startsWith("This plugin does not support")) previous(type, where, text);
  });
  QApplication app(qt_argc, qt_argv);
  QApplication::setQuitOnLastWindowClosed(false);  // as in the program
  return RUN_ALL_TESTS();
}
