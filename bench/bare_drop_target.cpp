// A bare Qt drop target of the drop box's shape: it takes dropped files and
// puts their paths on the clipboard, one per line (a line feed between them,
// as the drop box's capture puts them on Linux), and does nothing else.
//
//   quorlith_bench_bare_target X Y
#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

class Target : public QWidget {
 public:
  Target() : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAcceptDrops(true);
  }

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
  }
  void dropEvent(QDropEvent* event) override {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) paths << url.toLocalFile();
    event->acceptProposedAction();
    QApplication::clipboard()->setText(paths.join('\n'));
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Target box;
  const QStringList args = QCoreApplication::arguments();
  box.setGeometry(args.value(1, "244").toInt(), args.value(2, "200").toInt(), 75, 75);
  box.show();
  return QApplication::exec();
}
