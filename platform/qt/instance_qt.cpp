// The claim on Linux: an exclusive lock on a file in the user's runtime
// folder, which the system lets go when the process ends however it ends,
// and beside it a local socket that later starts connect to.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <functional>
#include <memory>
#include <utility>

#include "platform/instance.h"

namespace platform {

namespace {

class LockClaim final : public InstanceClaim {
 public:
  // fd: the locked file, or -1 for an empty claim.
  LockClaim(int fd, QString socket) : fd_(fd), socket_(std::move(socket)) {}
  ~LockClaim() override {
    server_.reset();  // closes the socket and removes its file
    if (fd_ >= 0) close(fd_);
  }

  void Serve(std::function<void()> come_to_front) override {
    if (fd_ < 0 || server_ != nullptr) return;
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file that a box which did not end cleanly left behind; the
    // lock says that nobody listens there any more.
    QLocalServer::removeServer(socket_);
    QLocalServer* server = server_.get();
    QObject::connect(server, &QLocalServer::newConnection, server,
                     [server, come = std::move(come_to_front)] {
                       while (QLocalSocket* peer = server->nextPendingConnection()) {
                         peer->disconnectFromServer();
                         peer->deleteLater();
                       }
                       come();
                     });
    server_->listen(socket_);
  }

 private:
  int fd_;
  QString socket_;
  std::unique_ptr<QLocalServer> server_;
};

// Asks the holder to come to the front. It listens once its box is shown, so
// a start made while the holder is still starting waits a little for that.
void AskHolder(const QString& socket) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 5000) {
    QLocalSocket peer;
    peer.connectToServer(socket);
    if (peer.waitForConnected(1000)) {
      peer.disconnectFromServer();
      return;
    }
    QThread::msleep(100);
  }
}

}  // namespace

std::unique_ptr<InstanceClaim> ClaimInstance(const std::string& key) {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) return std::make_unique<LockClaim>(-1, QString());
  const QString base = folder + "/" + QString::fromStdString(InstanceName(key));
  const int fd = open(QFile::encodeName(base + ".lock").constData(), O_RDWR | O_CREAT | O_CLOEXEC,
                      0600);
  if (fd < 0) return std::make_unique<LockClaim>(-1, QString());
  if (flock(fd, LOCK_EX | LOCK_NB) == 0) return std::make_unique<LockClaim>(fd, base + ".socket");
  const bool held = errno == EWOULDBLOCK;
  close(fd);
  if (!held) return std::make_unique<LockClaim>(-1, QString());
  AskHolder(base + ".socket");
  return nullptr;
}

}  // namespace platform
