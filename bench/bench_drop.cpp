// Drags its files onto whatever lies under the pointer and times the drop
// until its work is done: from the release of the button (as the X server
// reports it to this program) until the condition holds.
//
//   quorlith_bench_drop X Y gone PATH -- FILE...       until PATH is gone
//   quorlith_bench_drop X Y appears PATH -- FILE...    until PATH exists
//   quorlith_bench_drop X Y clipboard N -- FILE...     until another program
//                                                      puts N lines there
//
// The window (120 x 120 at X, Y) starts the drag when pressed; the caller
// moves the pointer. Prints the milliseconds, or "timeout".
#include <sys/stat.h>
#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
Clock::time_point Released;

// Notes when the button goes up: the moment of the drop. Qt takes the
// pointer through the X Input extension, whose events come as generic ones.
class ReleaseWatch : public QAbstractNativeEventFilter {
 public:
  explicit ReleaseWatch(uint8_t input_opcode) : input_opcode_(input_opcode) {}
  bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
    constexpr uint16_t kInputButtonRelease = 5;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const uint8_t type = event->response_type & 0x7F;
    if (type == XCB_BUTTON_RELEASE) Released = Clock::now();
    if (type == XCB_GE_GENERIC) {
      const auto* generic = static_cast<const xcb_ge_generic_event_t*>(message);
      if (generic->extension == input_opcode_ && generic->event_type == kInputButtonRelease) {
        Released = Clock::now();
      }
    }
    return false;
  }

 private:
  uint8_t input_opcode_;
};

uint8_t InputOpcode() {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return 0;
  xcb_connection_t* connection = x11->connection();
  const char name[] = "XInputExtension";
  xcb_query_extension_reply_t* reply = xcb_query_extension_reply(
      connection, xcb_query_extension(connection, sizeof name - 1, name), nullptr);
  const uint8_t opcode = reply != nullptr && reply->present ? reply->major_opcode : 0;
  std::free(reply);
  return opcode;
}

bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

void Finish(const char* outcome = nullptr) {
  if (outcome != nullptr) {
    std::printf("%s\n", outcome);
  } else {
    std::printf("%.1f\n",
                std::chrono::duration<double, std::milli>(Clock::now() - Released).count());
  }
  std::fflush(stdout);
  QApplication::exit(outcome == nullptr ? 0 : 1);
}

class Source : public QWidget {
 public:
  Source(QString mode, QString argument, QList<QUrl> urls)
      : mode_(std::move(mode)), argument_(std::move(argument)), urls_(std::move(urls)) {
    setWindowTitle("quorlith bench drop");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    if (mode_ != "clipboard") return;
    connect(QApplication::clipboard(), &QClipboard::changed, this, [this](QClipboard::Mode m) {
      if (m != QClipboard::Clipboard || !dropped_ || finished_) return;
      finished_ = true;
      Finish();
      const QString text = QApplication::clipboard()->text();
      if (text.count('\r') + 1 != argument_.toInt()) std::fprintf(stderr, "wrong text\n");
    });
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton || dropped_) return;
    auto* drag = new QDrag(this);
    auto* mime = new QMimeData;
    mime->setUrls(urls_);
    drag->setMimeData(mime);
    drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
    dropped_ = true;
    if (mode_ == "clipboard") return;  // the clipboard says when
    // Polled from the event loop, which must stay free: the target fetches
    // the dropped data from this program after the drop.
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this] {
      if (Exists(argument_.toStdString()) != (mode_ == "gone")) Finish();
    });
    poll->start(0);
  }

 private:
  QString mode_;
  QString argument_;
  QList<QUrl> urls_;
  bool dropped_ = false;
  bool finished_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 7 || args.indexOf("--") != 5) {
    std::fprintf(stderr, "usage: quorlith_bench_drop X Y MODE ARGUMENT -- FILE...\n");
    return 2;
  }
  QList<QUrl> urls;
  for (const QString& path : args.mid(6)) urls.append(QUrl::fromLocalFile(path));
  ReleaseWatch watch(InputOpcode());
  app.installNativeEventFilter(&watch);
  Source source(args[3], args[4], urls);
  source.setGeometry(args[1].toInt(), args[2].toInt(), 120, 120);
  source.show();
  // Nothing may hang a benchmark for ever.
  QTimer::singleShot(180000, [] { Finish("timeout"); });
  return QApplication::exec();
}
