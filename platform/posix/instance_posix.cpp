// The claim on Linux: an exclusive lock on a file in the user's runtime
// folder, which the system lets go when the process ends however it ends, and
// beside it a socket that later starts connect to.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "platform/instance.h"
#include "platform/posix/posix_files.h"
#include "platform/posix/read_watch.h"

namespace platform {

namespace {

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
      listen(listener.get(), 8) != 0) {
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
    watch_.reset();
    listener_.Close();
    if (!lock_.valid()) return;
    // Still under the lock, both files are ours to remove.
    unlink((base_ + ".socket").c_str());
    unlink((base_ + ".lock").c_str());
  }

  void Serve(std::function<void()> come_to_front) override {
    if (!listener_.valid() || watch_ != nullptr) return;
    const int listener = listener_.get();
    watch_ = native::WatchReadable(listener, [listener, come = std::move(come_to_front)] {
      // Each connection is one request; several at once bring one answer.
      int peer;
      while ((peer = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC)) >= 0) close(peer);
      come();
    });
  }

 private:
  posix::Descriptor lock_;
  posix::Descriptor listener_;
  std::string base_;
  std::unique_ptr<native::ReadWatch> watch_;
};

// Asks the holder to come to the front: its socket takes the connection even
// while it is still starting, and it answers once its box is up.
void AskHolder(const std::string& path) {
  sockaddr_un address;
  if (!SocketAddress(path, address)) return;
  const posix::Descriptor peer(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  // A holder that does not take the connection cannot be asked; nothing more
  // is to be done about it.
  if (peer.valid()) {
    (void)connect(peer.get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
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

std::unique_ptr<InstanceClaim> ClaimInstance(const std::string& key) {
  const std::string folder = RuntimeFolder();
  if (folder.empty()) return std::make_unique<LockClaim>();
  const std::string base = folder + "/" + InstanceName(key);
  const std::string lock_path = base + ".lock";
  // A holder that ends removes its lock file; one that did so between the
  // open and the lock here leaves a lock on a file nobody else can find, and
  // the claim starts over.
  for (int attempt = 0; attempt < 5; ++attempt) {
    posix::Descriptor lock(open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!lock.valid()) break;
    if (flock(lock.get(), LOCK_EX | LOCK_NB) != 0) {
      if (errno != EWOULDBLOCK) break;
      AskHolder(base + ".socket");
      return nullptr;
    }
    struct stat locked, named;
    if (fstat(lock.get(), &locked) == 0 && stat(lock_path.c_str(), &named) == 0 &&
        locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
      return std::make_unique<LockClaim>(lock.Release(), base);
    }
  }
  return std::make_unique<LockClaim>();
}

}  // namespace platform
