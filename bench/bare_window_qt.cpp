// A bare Qt window of the drop box's shape: a frameless tool window above the
// others, 75 x 75 at X, Y, three quarters opaque. It does nothing else.
//
//   quorlith_bench_bare_window X Y
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget box(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  const QStringList args = QCoreApplication::arguments();
  box.setGeometry(args.value(1, "244").toInt(), args.value(2, "200").toInt(), 75, 75);
  box.setWindowOpacity(0.75);
  box.show();
  return QApplication::exec();
}
