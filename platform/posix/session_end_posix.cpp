// The session's end through a pipe to this process itself: the signal handler
// only writes the signal's number into it, which is safe in a handler on any
// thread, and the event loop reads it on the window's thread.
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <utility>
#include <vector>

#include "platform/posix/read_watch.h"
#include "platform/session_end.h"

namespace platform {
namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};
constexpr size_t kSignalCount = sizeof kEndSignals / sizeof kEndSignals[0];

// The pipe is made once and kept for the process's life, so that a handler
// that runs on another thread while a watch goes never writes to a
// descriptor closed (and perhaps reused) under it.
std::atomic<int> pipe_write_end{-1};
int pipe_read_end = -1;
std::atomic<bool> watching{false};

void OnSignal(int signal) {
  const int saved = errno;
  const unsigned char number = static_cast<unsigned char>(signal);
  // A full pipe already holds signals to be read, so the event loop wakes.
  (void)!write(pipe_write_end.load(), &number, 1);
  errno = saved;
}

bool MakePipe() {
  static const bool made = [] {
    int ends[2];
    if (pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0) return false;
    pipe_read_end = ends[0];
    pipe_write_end = ends[1];
    return true;
  }();
  return made;
}

// The signals read from the pipe, in the order they came.
std::vector<int> DrainPipe() {
  std::vector<int> signals;
  unsigned char numbers[64];
  ssize_t got;
  while ((got = read(pipe_read_end, numbers, sizeof numbers)) > 0) {
    signals.insert(signals.end(), numbers, numbers + got);
  }
  return signals;
}

class SignalWatch final : public SessionEndWatch {
 public:
  explicit SignalWatch(std::function<void(int)> on_end) : on_end_(std::move(on_end)) {}
  ~SignalWatch() override {
    for (size_t i = 0; i < kSignalCount; ++i) {
      if (installed_[i]) sigaction(kEndSignals[i], &previous_[i], nullptr);
    }
    watch_.reset();
    DrainPipe();
    watching = false;
  }
  SignalWatch(const SignalWatch&) = delete;
  SignalWatch& operator=(const SignalWatch&) = delete;

  bool Start() {
    watch_ = native::WatchReadable(pipe_read_end, [this] { OnReadable(); });
    if (watch_ == nullptr) return false;
    struct sigaction handler = {};
    handler.sa_handler = OnSignal;
    // Kept installed (no SA_RESETHAND), so that a second signal is not lost
    // to the default; interrupted calls go on.
    handler.sa_flags = SA_RESTART;
    sigemptyset(&handler.sa_mask);
    for (size_t i = 0; i < kSignalCount; ++i) {
      if (sigaction(kEndSignals[i], nullptr, &previous_[i]) != 0 ||
          previous_[i].sa_handler == SIG_IGN) {
        continue;
      }
      installed_[i] = sigaction(kEndSignals[i], &handler, nullptr) == 0;
    }
    return true;
  }

 private:
  void OnReadable() {
    const std::function<void(int)> handler = on_end_;
    const std::weak_ptr<bool> alive = alive_;
    for (const int signal : DrainPipe()) {
      if (alive.expired()) return;
      handler(signal);
    }
  }

  const std::function<void(int)> on_end_;
  const std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  struct sigaction previous_[kSignalCount] = {};
  bool installed_[kSignalCount] = {};
  std::unique_ptr<native::ReadWatch> watch_;
};

}  // namespace

std::unique_ptr<SessionEndWatch> WatchSessionEnd(std::function<void(int signal)> on_end) {
  if (!MakePipe() || watching.exchange(true)) return nullptr;
  auto watch = std::make_unique<SignalWatch>(std::move(on_end));
  if (!watch->Start()) {
    watch.reset();  // lets watching go
    return nullptr;
  }
  return watch;
}

}  // namespace platform
