// A file manager's drag for the X server tests (quorlith_drag_source X Y PATH...): a window at
// (X, Y) that, when pressed, drags its files offering every action and prints the one taken.
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
    drag->setMimeData(new QMimeData);
    drag->mimeData()->setUrls(urls_);
    const Qt::DropAction taken =
        drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::MoveAction);
    std::printf("%s\n", taken == Qt::CopyAction ? "copy" : taken == Qt::MoveAction ? "move" : "?");
    std::fflush(stdout);
  }

 private:
  QList<QUrl> urls_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  QList<QUrl> urls;
  for (const QString& path : args.mid(3)) urls.append(QUrl::fromLocalFile(path));
  DragSource source(urls);
  source.setGeometry(args.value(1).toInt(), args.value(2).toInt(), 120, 120);
  source.show();
  return QApplication::exec();
}
