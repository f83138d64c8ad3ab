// The Linux program: one drop box on Qt 6 Widgets. The command line is
// answered first (--help, --version, unknown options, no display); Qt's own
// options, such as -platform, go on to Qt.
#include <QApplication>
#include <QIcon>
#include <QSessionManager>
#include <QTimer>
#include <iostream>
#include <memory>

#include "app/common/program.h"
#include "app/qt/command_line.h"
#include "app/qt/drop_box_widget.h"
#include "app/qt/startup.h"
#include "platform/memory.h"
#include "platform/session_end.h"

namespace {

// What the first paint does not need waits this long after the start.
constexpr int kLateStartMs = 200;

}  // namespace

int main(int argc, char** argv) {
  // The box runs all day: what a large drop used goes back once freed.
  platform::ReturnLargeBlocksWhenFreed();
  CommandLine line;
  if (const auto code = AnswerCommandLine(argc, argv, std::cout, std::cerr, line)) return *code;

  // Qt sees its own options and nothing else: a path never reaches it.
  int qt_argc = static_cast<int>(line.qt_arguments.size()) - 1;
  BeginStartGuard();
  QApplication app(qt_argc, const_cast<char**>(line.qt_arguments.data()));
  EndStartGuard();
  // The desktop entry's name, so the desktop links the box's window to it.
  QGuiApplication::setDesktopFileName("org.quorlith.Quorlith");
  // The box is a tool window: Qt would end the program whenever a message box
  // or the menu closed and left no ordinary window open. Only Exit, or
  // closing the box, ends it.
  QApplication::setQuitOnLastWindowClosed(false);

  const std::unique_ptr<DropBoxWidget> box = StartDropBox(line.start);
  // The box already running took the request (or, asked to close, ended).
  if (box == nullptr) return EarlyExitCode;
  QObject::connect(box.get(), &DropBoxWidget::ended, &app, [] { QCoreApplication::exit(0); });
  // The end of the session (a logout, systemctl stop, a closed terminal, a
  // kill) stops running work at its next block and ends the program as a
  // close does, with 0; a session manager's logout makes the close it sends
  // one as well.
  const auto session_end = platform::WatchSessionEnd([&box](int) { box->EndSession(); });
  QObject::connect(&app, &QGuiApplication::commitDataRequest, box.get(),
                   [&box](QSessionManager&) { box->SessionEnding(); });
  // The icon, for the desktop's window lists, and the sweep of temporaries
  // that killed copies left in the destination folders, once the box is on
  // the screen: neither need delay the first paint.
  QTimer::singleShot(kLateStartMs, box.get(), [&box] {
    QApplication::setWindowIcon(QIcon(":/quorlith.png"));
    box->SweepDestinations();
  });
  const int code = QApplication::exec();
  // The settings file is let go while Qt still runs the event loop's watch.
  SettingsClaim.reset();
  return code;
}
