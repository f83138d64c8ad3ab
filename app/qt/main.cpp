// The Linux program: one drop box on Qt 6 Widgets. Command-line arguments make
// no difference (Qt's own, such as -platform, are still honoured).
#include <QApplication>
#include <QIcon>
#include <memory>

#include "app/qt/drop_box_widget.h"
#include "app/qt/startup.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setWindowIcon(QIcon(":/quorlith.png"));
  // Matches resources/quorlith.desktop.
  QGuiApplication::setDesktopFileName("quorlith");
  // The box is a tool window: Qt would end the program whenever a message box
  // or the menu closed and left no ordinary window open. Only Exit, or
  // closing the box, ends it.
  QApplication::setQuitOnLastWindowClosed(false);

  const std::unique_ptr<DropBoxWidget> box = StartDropBox();
  QObject::connect(box.get(), &DropBoxWidget::ended, &app, [] { QCoreApplication::exit(0); });
  return QApplication::exec();
}
