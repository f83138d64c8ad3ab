// A file descriptor watched by Qt's event loop.
#include <QSocketNotifier>

#include "platform/posix/read_watch.h"

namespace platform::native {

namespace {

class QtReadWatch final : public ReadWatch {
 public:
  QtReadWatch(int fd, std::function<void()> on_readable) : notifier_(fd, QSocketNotifier::Read) {
    QObject::connect(&notifier_, &QSocketNotifier::activated, &notifier_,
                     [call = std::move(on_readable)] { call(); });
  }

 private:
  QSocketNotifier notifier_;
};

}  // namespace

std::unique_ptr<ReadWatch> WatchReadable(int fd, std::function<void()> on_readable) {
  return std::make_unique<QtReadWatch>(fd, std::move(on_readable));
}

}  // namespace platform::native
