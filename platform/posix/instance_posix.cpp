// The claim on Linux: an exclusive lock on a file in the user's runtime
// folder, which the system lets go when the process ends however it ends, and
// beside it a socket to which later starts send their requests.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <utility>

#include "platform/instance.h"
#include "platform/posix/handover_server.h"
#include "platform/posix/posix_files.h"
#include "platform/shared/handover_wire.h"

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// How long a later start waits for the holder to take its request: long
// enough for a holder that is itself still starting.
constexpr std::chrono::seconds kHandoverWait{10};
constexpr std::chrono::milliseconds kRetryPause{50};

// The real path of an existing file or folder; empty when there is none.
std::string RealPath(const std::string& path) {
  char* real = realpath(path.c_str(), nullptr);
  if (real == nullptr) return {};
  std::string result(real);
  std::free(real);
  return result;
}

// $XDG_RUNTIME_DIR, or where the session sets none, a folder of this user's
// own in /tmp that nobody else can write to; empty when neither will do.
std::string RuntimeFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/') return runtime;
  std::string own = "/tmp/quorlith-" + std::to_string(getuid());
  mkdir(own.c_str(), 0700);
  struct stat info;
  if (lstat(own.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid() ||
      (info.st_mode & 077) != 0) {
    return {};
  }
  return own;
}

// A local socket address for path; false when the path is too long for one.
bool SocketAddress(const std::string& path, sockaddr_un& address) {
  address = {};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

// Listens on a fresh socket at path, in place of one that a box which did not
// end cleanly left behind; -1 when that fails.
int Listen(const std::string& path) {
  sockaddr_un address;
  if (!SocketAddress(path, address)) return -1;
  posix::Descriptor listener(socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!listener.valid()) return -1;
  unlink(path.c_str());
  if (bind(listener.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener.get(), 16) != 0) {
    return -1;
  }
  return listener.Release();
}

class LockClaim final : public InstanceClaim {
 public:
  LockClaim() = default;
  LockClaim(int lock, std::string base)
      : lock_(lock), listener_(Listen(base + ".socket")), base_(std::move(base)) {}
  ~LockClaim() override {
    server_.reset();
    listener_.Close();
    if (!lock_.valid()) return;
    // Still under the lock, both files are ours to remove.
    unlink((base_ + ".socket").c_str());
    unlink((base_ + ".lock").c_str());
  }

  void ServeRequests(std::function<void(InstanceRequest)> on_request) override {
    if (!listener_.valid() || server_ != nullptr) return;
    server_ = posix::ServeHandovers(listener_.get(), std::move(on_request));
  }

 private:
  posix::Descriptor lock_;
  posix::Descriptor listener_;
  std::string base_;
  std::unique_ptr<posix::HandoverServer> server_;
};

// Waits until fd is ready for events or has ended; false at the deadline.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    pollfd ready = {fd, events, 0};
    const int count = poll(&ready, 1, static_cast<int>(left.count()));
    if (count > 0) return true;
    if (count < 0 && errno != EINTR) return false;
  }
}

enum class Answer { kTaken, kRefused, kSilent };

// Sends message to the holder's socket at path and waits for its answer. A
// holder that is not listening yet, or that closed the connection unanswered
// (it serves only a few at once), refused; one that has not answered by the
// deadline is silent.
Answer SendTo(const std::string& path, const std::string& message, Clock::time_point deadline) {
  sockaddr_un address;
  if (!SocketAddress(path, address)) return Answer::kSilent;
  const posix::Descriptor peer(socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!peer.valid()) return Answer::kSilent;
  if (connect(peer.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    return Answer::kRefused;
  }
  for (size_t sent = 0; sent < message.size();) {
    if (!WaitFor(peer.get(), POLLOUT, deadline)) return Answer::kSilent;
    const ssize_t done =
        send(peer.get(), message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
    if (done > 0) sent += static_cast<size_t>(done);
    if (done < 0 && errno != EAGAIN && errno != EINTR) return Answer::kRefused;
  }
  for (;;) {
    if (!WaitFor(peer.get(), POLLIN, deadline)) return Answer::kSilent;
    char answer = 0;
    const ssize_t got = recv(peer.get(), &answer, 1, 0);
    if (got == 1) return answer == handover::kTaken ? Answer::kTaken : Answer::kRefused;
    if (got == 0 || (errno != EAGAIN && errno != EINTR)) return Answer::kRefused;
  }
}

}  // namespace

std::string InstanceKey(const std::string& settings_path) {
  std::string real = RealPath(settings_path);
  if (!real.empty()) return real;
  // Not written yet: the real folder and the name, as the file will be.
  const size_t slash = settings_path.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : settings_path.substr(0, slash == 0 ? 1 : slash);
  const std::string name = settings_path.substr(slash == std::string::npos ? 0 : slash + 1);
  real = RealPath(folder);
  if (real.empty()) return settings_path;
  return (real == "/" ? "" : real) + "/" + name;
}

InstanceRequest RequestFromHere(std::vector<std::string> paths) {
  InstanceRequest request{{}, std::move(paths)};
  char* here = getcwd(nullptr, 0);
  if (here != nullptr) request.working_folder = here;
  std::free(here);
  return request;
}

std::unique_ptr<InstanceClaim> ClaimInstance(const std::string& key, const InstanceRequest& request,
                                             bool* taken) {
  if (taken != nullptr) *taken = false;
  const std::string folder = RuntimeFolder();
  if (folder.empty()) return std::make_unique<LockClaim>();
  const std::string base = folder + "/" + InstanceName(key);
  const std::string lock_path = base + ".lock";
  const Clock::time_point deadline = Clock::now() + kHandoverWait;
  std::string message;
  for (;;) {
    bool refused = false;
    {
      posix::Descriptor lock(open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
      if (!lock.valid()) break;
      if (flock(lock.get(), LOCK_EX | LOCK_NB) == 0) {
        // A holder that ends removes its lock file; one that did so between
        // the open and the lock here leaves a lock on a file nobody else can
        // find, and the claim starts over.
        struct stat locked, named;
        if (fstat(lock.get(), &locked) == 0 && stat(lock_path.c_str(), &named) == 0 &&
            locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
          return std::make_unique<LockClaim>(lock.Release(), base);
        }
      } else {
        if (errno != EWOULDBLOCK) break;
        if (message.empty()) message = handover::Encode(request);
        if (message.empty()) return nullptr;
        const Answer answer = SendTo(base + ".socket", message, deadline);
        if (answer == Answer::kSilent) return nullptr;
        if (answer == Answer::kTaken) {
          if (taken != nullptr) *taken = true;
          return nullptr;
        }
        refused = true;
      }
    }
    // Another look once the lock is let go: the holder may have ended since.
    if (Clock::now() >= deadline) {
      if (refused) return nullptr;
      break;
    }
    std::this_thread::sleep_for(kRetryPause);
  }
  return std::make_unique<LockClaim>();
}

bool InstanceHeld(const std::string& key) {
  const std::string folder = RuntimeFolder();
  if (folder.empty()) return false;
  const posix::Descriptor lock(
      open((folder + "/" + InstanceName(key) + ".lock").c_str(), O_RDONLY | O_CLOEXEC));
  if (!lock.valid()) return false;
  // A shared lock is refused while the holder keeps its exclusive one; taken
  // for a moment, it keeps nobody from claiming a moment later.
  if (flock(lock.get(), LOCK_SH | LOCK_NB) != 0) return errno == EWOULDBLOCK;
  flock(lock.get(), LOCK_UN);
  return false;
}

}  // namespace platform
