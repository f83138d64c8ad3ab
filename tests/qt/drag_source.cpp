// A drag source for the X server tests: a window at (X, Y) that, when pressed,
// drags its files as a file manager does, offering every action, and prints
// the action the target took. It stays on, as a target may fetch the data
// after the drop.
//   quorlith_drag_source X Y PATH...
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <cstdio>

namespace {

class DragSource : public QWidget {
 public:
  explicit DragSource(const QList<QUrl>& urls) : urls_(urls) {
    setWindowTitle("quorlith drag source");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  }

 protected:
  void mousePressEvent(QMouseEvent*) override {
    auto* drag = new QDrag(this);
    auto* mime = new QMimeData;
    mime->setUrls(urls_);
    drag->setMimeData(mime);
    const Qt::DropAction taken = drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::MoveAction);
    std::printf("%s\n", taken == Qt::CopyAction ? "copy" : taken == Qt::MoveAction ? "move" : "other");
    std::fflush(stdout);
  }

 private:
  QList<QUrl> urls_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 4) return 2;
  QList<QUrl> urls;
  for (const QString& path : args.mid(3)) urls.append(QUrl::fromLocalFile(path));
  DragSource source(urls);
  source.setGeometry(args[1].toInt(), args[2].toInt(), 120, 120);
  source.show();
  return QApplication::exec();
}
