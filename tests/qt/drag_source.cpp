// A drag source for the window tests: a small window at a given place that,
// when the pointer presses in it, starts a drag of the items named on its
// command line as a text/uri-list, as a file manager does. It prints the
// action the target accepted ("copy", "move", "link" or "ignore") and stays
// a few seconds longer: a target fetches the dragged data from the source,
// even after the drop, so the source must still be there to hand it out.
//
//   quorlith_drag_source X Y ITEM...
//
// An ITEM with "://" in it is passed as the URL it is; any other item is a
// local path.
#include <QApplication>
#include <QDrag>
#include <QList>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <cstdio>
#include <utility>

namespace {

constexpr int kLingerMs = 5000;

const char* ActionName(Qt::DropAction action) {
  switch (action) {
    case Qt::CopyAction: return "copy";
    case Qt::MoveAction: return "move";
    case Qt::LinkAction: return "link";
    default: return "ignore";
  }
}

class DragSource : public QWidget {
 public:
  explicit DragSource(QList<QUrl> urls) : urls_(std::move(urls)) {
    setWindowTitle("quorlith drag source");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(70, 120, 200));
  }

  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton || dragging_) return;
    dragging_ = true;
    auto* drag = new QDrag(this);
    auto* mime = new QMimeData;
    mime->setUrls(urls_);
    drag->setMimeData(mime);
    // Everything a file manager offers; the target picks.
    const Qt::DropAction result =
        drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::MoveAction);
    std::printf("%s\n", ActionName(result));
    std::fflush(stdout);
    QTimer::singleShot(kLingerMs, [] { QCoreApplication::exit(0); });
  }

 private:
  QList<QUrl> urls_;
  bool dragging_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 4) {
    std::fprintf(stderr, "usage: quorlith_drag_source X Y ITEM...\n");
    return 2;
  }
  QList<QUrl> urls;
  for (qsizetype i = 3; i < args.size(); ++i) {
    const QString& item = args[i];
    urls.append(item.contains("://") ? QUrl(item) : QUrl::fromLocalFile(item));
  }
  DragSource source(urls);
  source.setGeometry(args[1].toInt(), args[2].toInt(), 120, 120);
  source.show();
  return QApplication::exec();
}
