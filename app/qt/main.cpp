// The Linux program: one drop box on Qt 6 Widgets. The command line is
// answered first (--help, --version, unknown options, no display); Qt's own
// options, such as -platform, go on to Qt.
#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <iostream>
#include <memory>

#include "app/common/program.h"
#include "app/qt/command_line.h"
#include "app/qt/drop_box_widget.h"
#include "app/qt/startup.h"

namespace {

// What the first paint does not need waits this long after the start.
constexpr int kLateStartMs = 200;

}  // namespace

int main(int argc, char** argv) {
  if (const auto code = AnswerCommandLine(argc, argv, std::cout, std::cerr)) return *code;

  BeginStartGuard();
  QApplication app(argc, argv);
  EndStartGuard();
  // The desktop entry's name, so the desktop links the box's window to it.
  QGuiApplication::setDesktopFileName("org.quorlith.Quorlith");
  // The box is a tool window: Qt would end the program whenever a message box
  // or the menu closed and left no ordinary window open. Only Exit, or
  // closing the box, ends it.
  QApplication::setQuitOnLastWindowClosed(false);

  const std::unique_ptr<DropBoxWidget> box = StartDropBox();
  if (box == nullptr) return 0;  // the box already running came to the front
  QObject::connect(box.get(), &DropBoxWidget::ended, &app, [] { QCoreApplication::exit(0); });
  // The icon, for the desktop's window lists, once the box is on the screen:
  // decoding it would only delay the first paint.
  QTimer::singleShot(kLateStartMs, &app,
                     [] { QApplication::setWindowIcon(QIcon(":/quorlith.png")); });
  const int code = QApplication::exec();
  // The settings file is let go while Qt still runs the event loop's watch.
  SettingsClaim.reset();
  return code;
}
