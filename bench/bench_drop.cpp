// Drags files onto the point X, Y and times each drop until its work is done:
// from the release of the button (as the X server reports it to this program)
// until the condition holds. It moves the pointer and presses the button
// itself, through the X server's XTEST extension, so that one run can make
// many drops one after another.
//
//   quorlith_bench_drop X Y MODE ARGUMENT [OPTION...] -- [FILE...]
//
//   gone PATH         until PATH is gone
//   appears PATH      until PATH exists
//   clipboard N       until another program puts a text of N lines there
//
//   --from LIST       also the files named in LIST, one per line
//   --drops N         N drops one after another, the same files each time
//   --remove-from DIR after each drop, the dropped files' names are removed
//                     from DIR (the copies), so that the next copy is fresh
//   --watch PID       reads PID's resident memory and its peak (VmRSS,
//                     VmHWM): before the first drop, where the peak is reset,
//                     and after the 10th and the last
//   --settle MS       the pause after a drop before such a reading (500)
//   --dated SOURCE    appears only once PATH has SOURCE's modification time: a
//                     folder's copy is given it once everything in it is there
//
// Prints "ms M", the median milliseconds of the drops, and "accept M", the
// median milliseconds from the pointer's arrival on the target until the
// target accepted the drag; with --watch one line "memory DROPS RSS PEAK"
// (KiB) per reading. On a failure: "failed: WHY" and exit code 1.
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QPoint>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// Where the drag starts: the middle of this program's window.
constexpr int kSourceX = 700;
constexpr int kSourceY = 100;
constexpr int kSourceSize = 120;
// How long any one step may take before the run is called failed.
constexpr int kPressLimitMs = 10000;
constexpr int kAcceptLimitMs = 60000;
constexpr int kDropLimitMs = 180000;

// Fake pointer input through XTEST, on a connection of its own. The request
// is sent as libxcb-xtest would send it, so that only libxcb is needed.
class FakePointer {
 public:
  FakePointer() : connection_(xcb_connect(nullptr, nullptr)) {
    if (xcb_connection_has_error(connection_)) return;
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    const xcb_query_extension_reply_t* test = xcb_get_extension_data(connection_, &extension_);
    usable_ = test != nullptr && test->present;
  }
  ~FakePointer() { xcb_disconnect(connection_); }
  FakePointer(const FakePointer&) = delete;
  FakePointer& operator=(const FakePointer&) = delete;

  bool Usable() const { return usable_; }
  void MoveTo(QPoint at) { Send(XCB_MOTION_NOTIFY, 0, at); }
  void Press() { Send(XCB_BUTTON_PRESS, 1, {}); }
  void Release() { Send(XCB_BUTTON_RELEASE, 1, {}); }

 private:
  struct FakeInput {  // the XTEST FakeInput request, 36 bytes
    uint8_t major_opcode;
    uint8_t minor_opcode;
    uint16_t length;
    uint8_t type;
    uint8_t detail;
    uint8_t pad0[2];
    uint32_t time;
    xcb_window_t root;
    uint8_t pad1[8];
    int16_t root_x;
    int16_t root_y;
    uint8_t pad2[7];
    uint8_t device;
  };
  static_assert(sizeof(FakeInput) == 36);

  void Send(uint8_t type, uint8_t detail, QPoint at) {
    if (!usable_) return;
    FakeInput request = {};
    request.type = type;
    request.detail = detail;
    request.root = root_;
    request.root_x = static_cast<int16_t>(at.x());
    request.root_y = static_cast<int16_t>(at.y());
    static const xcb_protocol_request_t kFakeInput = {1, &extension_, 2, 1};
    // xcb_send_request uses the two slots before the request.
    iovec parts[3] = {};
    parts[2].iov_base = &request;
    parts[2].iov_len = sizeof request;
    xcb_send_request(connection_, 0, parts + 2, &kFakeInput);
    xcb_flush(connection_);
  }

  static xcb_extension_t extension_;
  xcb_connection_t* connection_;
  xcb_window_t root_ = 0;
  bool usable_ = false;
};
xcb_extension_t FakePointer::extension_ = {"XTEST", 0};

// Notes when the button goes up: the moment of the drop. Qt takes the
// pointer through the X Input extension, whose events come as generic ones.
class ReleaseWatch : public QAbstractNativeEventFilter {
 public:
  explicit ReleaseWatch(uint8_t input_opcode) : input_opcode_(input_opcode) {}
  bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
    constexpr uint16_t kInputButtonRelease = 5;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const uint8_t type = event->response_type & 0x7F;
    if (type == XCB_BUTTON_RELEASE) released = Clock::now();
    if (type == XCB_GE_GENERIC) {
      const auto* generic = static_cast<const xcb_ge_generic_event_t*>(message);
      if (generic->extension == input_opcode_ && generic->event_type == kInputButtonRelease) {
        released = Clock::now();
      }
    }
    return false;
  }
  Clock::time_point released;

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

bool Exists(const QString& path) {
  struct stat info;
  return lstat(QFile::encodeName(path).constData(), &info) == 0;
}

// Whether path exists with the modification time of source.
bool Dated(const QString& path, const QString& source) {
  struct stat made;
  struct stat original;
  return lstat(QFile::encodeName(path).constData(), &made) == 0 &&
         lstat(QFile::encodeName(source).constData(), &original) == 0 &&
         made.st_mtim.tv_sec == original.st_mtim.tv_sec &&
         made.st_mtim.tv_nsec == original.st_mtim.tv_nsec;
}

// VmRSS and VmHWM of a process, in KiB; -1 where unreadable.
struct Memory {
  long resident = -1;
  long peak = -1;
};
Memory ReadMemory(long pid) {
  Memory memory;
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) memory.resident = std::strtol(line.c_str() + 6, nullptr, 10);
    if (line.rfind("VmHWM:", 0) == 0) memory.peak = std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return memory;
}
// Sets the peak to the present resident memory (Linux 4.0 and later).
bool ResetPeak(long pid) {
  std::ofstream refs("/proc/" + std::to_string(pid) + "/clear_refs");
  refs << "5";
  refs.flush();
  return static_cast<bool>(refs);
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[(values.size() - 1) / 2];
}

struct Options {
  QPoint target;
  QString mode;
  QString argument;
  QList<QUrl> urls;
  int drops = 1;
  QString remove_from;
  long watch = 0;
  int settle_ms = 500;
  QString dated;
};

class Source : public QWidget {
 public:
  explicit Source(Options options) : options_(std::move(options)) {
    setWindowTitle("quorlith bench drop");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setGeometry(kSourceX, kSourceY, kSourceSize, kSourceSize);
    QCoreApplication::instance()->installNativeEventFilter(&release_watch_);
    if (options_.mode == "clipboard") {
      connect(QApplication::clipboard(), &QClipboard::changed, this, [this](QClipboard::Mode m) {
        if (m == QClipboard::Clipboard && phase_ == Phase::kWaiting) Landed();
      });
    } else {
      // The folder's changes say when to look; the poll is a safety net.
      watcher_.addPath(QFileInfo(options_.argument).absolutePath());
      connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { Check(); });
      poll_.setInterval(10);
      connect(&poll_, &QTimer::timeout, this, [this] { Check(); });
    }
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] { Fail(deadline_reason_); });
  }

  // Checks what can be checked before the first drop and starts it.
  void Begin() {
    if (!pointer_.Usable()) return Fail("the X server has no XTEST extension");
    if (options_.urls.isEmpty()) return Fail("no files to drag");
    {
      // All the files travel as one text/uri-list, one URL a line.
      QMimeData probe;
      probe.setUrls(options_.urls);
      const QByteArray list = probe.data("text/uri-list");
      if (list.count("\r\n") != options_.urls.size()) {
        return Fail(QString("the drag carries %1 URLs, not %2")
                        .arg(list.count("\r\n"))
                        .arg(options_.urls.size()));
      }
    }
    if (options_.watch > 0) {
      if (!ResetPeak(options_.watch)) {
        std::fprintf(stderr, "quorlith_bench_drop: cannot reset the peak of %ld\n", options_.watch);
      }
      Report(0);
    }
    Arm(kPressLimitMs, "the window did not show");
    WaitUntilShown();
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton || phase_ != Phase::kPressing) return;
    phase_ = Phase::kDragging;
    auto* drag = new QDrag(this);
    auto* mime = new QMimeData;
    mime->setUrls(options_.urls);
    drag->setMimeData(mime);
    connect(drag, &QDrag::actionChanged, this, [this](Qt::DropAction action) {
      if (action != Qt::IgnoreAction && phase_ == Phase::kOnTarget) ReleaseButton();
    });
    StepTowardsTarget(0);
    in_drag_ = true;
    const Qt::DropAction done =
        drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
    in_drag_ = false;
    if (phase_ == Phase::kFailed) return;
    if (done == Qt::IgnoreAction) return Fail(QString("drop %1 was refused").arg(drop_ + 1));
    if (phase_ == Phase::kWaiting && options_.mode != "clipboard") {
      poll_.start();
      Check();
    }
  }

 private:
  enum class Phase { kShowing, kPressing, kDragging, kOnTarget, kWaiting, kSettling, kFailed };

  void Arm(int ms, const QString& reason) {
    deadline_reason_ = reason;
    deadline_.start(ms);
  }

  void WaitUntilShown() {
    // The next drop waits until the last drag has ended in this program too.
    if (in_drag_ || windowHandle() == nullptr || !windowHandle()->isExposed()) {
      QTimer::singleShot(10, this, [this] { WaitUntilShown(); });
      return;
    }
    phase_ = Phase::kPressing;
    Arm(kPressLimitMs, QString("the press of drop %1 did not reach the source").arg(drop_ + 1));
    pointer_.MoveTo({kSourceX + kSourceSize / 2, kSourceY + kSourceSize / 2});
    pointer_.Press();
  }

  // Ten steps to a point beside the target, then onto it in one: the moment
  // the drag enters the target is known, and the button is released once
  // the target has accepted the drag.
  void StepTowardsTarget(int step) {
    if (phase_ != Phase::kDragging) return;
    constexpr int kSteps = 10;
    const QPoint from(kSourceX + kSourceSize / 2, kSourceY + kSourceSize / 2);
    const QPoint beside = options_.target + QPoint(150, 0);
    if (step < kSteps) {
      pointer_.MoveTo(from + (beside - from) * (step + 1) / kSteps);
      QTimer::singleShot(15, this, [this, step] { StepTowardsTarget(step + 1); });
      return;
    }
    phase_ = Phase::kOnTarget;
    Arm(kAcceptLimitMs, QString("the target did not accept drop %1").arg(drop_ + 1));
    entered_ = Clock::now();
    pointer_.MoveTo(options_.target);
  }

  // From here the drop's work may end at any moment, even before the drag
  // has returned in this program.
  void ReleaseButton() {
    accepts_.push_back(MsBetween(entered_, Clock::now()));
    phase_ = Phase::kWaiting;
    Arm(kDropLimitMs,
        QString("drop %1 did not finish within %2 s").arg(drop_ + 1).arg(kDropLimitMs / 1000));
    release_sent_ = Clock::now();
    pointer_.Release();
  }

  void Check() {
    if (phase_ != Phase::kWaiting) return;
    const bool there = options_.dated.isEmpty() ? Exists(options_.argument)
                                                : Dated(options_.argument, options_.dated);
    if (there != (options_.mode == "gone")) Landed();
  }

  // The drop's work is done.
  void Landed() {
    // The release as this program saw it, unless it was not seen.
    const Clock::time_point released = std::max(release_watch_.released, release_sent_);
    times_.push_back(MsBetween(released, Clock::now()));
    poll_.stop();
    deadline_.stop();
    phase_ = Phase::kSettling;
    ++drop_;
    if (options_.mode == "clipboard") {
      const QString text = QApplication::clipboard()->text();
      const qsizetype lines = text.isEmpty() ? 0 : text.count('\n') + text.count('\r') + 1;
      if (lines != options_.argument.toInt()) {
        return Fail(QString("after drop %1 the clipboard holds %2 lines, not %3")
                        .arg(drop_)
                        .arg(lines)
                        .arg(options_.argument));
      }
    }
    if (!options_.remove_from.isEmpty()) {
      for (const QUrl& url : options_.urls) {
        QFile::remove(options_.remove_from + '/' + QFileInfo(url.toLocalFile()).fileName());
      }
    }
    const bool last = drop_ == options_.drops;
    if (options_.watch > 0 && (drop_ == 10 || last)) {
      QTimer::singleShot(options_.settle_ms, this, [this, last] {
        Report(drop_);
        Next(last);
      });
    } else {
      Next(last);
    }
  }

  void Next(bool last) {
    if (!last) {
      QTimer::singleShot(30, this, [this] { WaitUntilShown(); });
      return;
    }
    std::printf("ms %.1f\naccept %.1f\n", Median(times_), Median(accepts_));
    std::fflush(stdout);
    QApplication::exit(0);
  }

  void Report(int drops) {
    const Memory memory = ReadMemory(options_.watch);
    std::printf("memory %d %ld %ld\n", drops, memory.resident, memory.peak);
    std::fflush(stdout);
  }

  void Fail(const QString& reason) {
    if (phase_ == Phase::kFailed) return;
    phase_ = Phase::kFailed;
    std::printf("failed: %s\n", qPrintable(reason));
    std::fflush(stdout);
    pointer_.Release();  // a drag in progress ends where it is
    QApplication::exit(1);
  }

  Options options_;
  FakePointer pointer_;
  ReleaseWatch release_watch_{InputOpcode()};
  QFileSystemWatcher watcher_;
  QTimer poll_;
  QTimer deadline_;
  QString deadline_reason_;
  Phase phase_ = Phase::kShowing;
  bool in_drag_ = false;
  int drop_ = 0;
  Clock::time_point entered_;
  Clock::time_point release_sent_;
  std::vector<double> times_;
  std::vector<double> accepts_;
};

bool ReadList(const QString& name, QList<QUrl>& urls) {
  QFile list(name);
  if (!list.open(QIODevice::ReadOnly)) return false;
  while (!list.atEnd()) {
    QByteArray line = list.readLine();
    while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
    if (!line.isEmpty()) urls.append(QUrl::fromLocalFile(QFile::decodeName(line)));
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  const qsizetype files = args.indexOf("--");
  const QStringList modes = {"gone", "appears", "clipboard"};
  if (files < 5 || (files - 5) % 2 != 0 || !modes.contains(args[3])) {
    std::fprintf(stderr,
                 "usage: quorlith_bench_drop X Y gone|appears|clipboard ARGUMENT [--from LIST]"
                 " [--drops N] [--remove-from DIR] [--watch PID] [--settle MS] [--dated SOURCE]"
                 " -- [FILE...]\n");
    return 2;
  }
  Options options;
  options.target = QPoint(args[1].toInt(), args[2].toInt());
  options.mode = args[3];
  options.argument = args[4];
  for (qsizetype i = 5; i + 1 < files; i += 2) {
    const QString& value = args[i + 1];
    if (args[i] == "--from") {
      if (!ReadList(value, options.urls)) {
        std::printf("failed: cannot read %s\n", qPrintable(value));
        return 1;
      }
    } else if (args[i] == "--drops") {
      options.drops = std::max(1, value.toInt());
    } else if (args[i] == "--remove-from") {
      options.remove_from = value;
    } else if (args[i] == "--watch") {
      options.watch = value.toLong();
    } else if (args[i] == "--settle") {
      options.settle_ms = value.toInt();
    } else if (args[i] == "--dated") {
      options.dated = value;
    } else {
      std::fprintf(stderr, "quorlith_bench_drop: unknown option %s\n", qPrintable(args[i]));
      return 2;
    }
  }
  for (const QString& path : args.mid(files + 1)) options.urls.append(QUrl::fromLocalFile(path));
  if (options.mode == "gone" && options.drops > 1) {
    std::fprintf(stderr, "quorlith_bench_drop: a file can go only once\n");
    return 2;
  }
  Source source(std::move(options));
  source.show();
  QTimer::singleShot(0, &source, [&source] { source.Begin(); });
  return QApplication::exec();
}
