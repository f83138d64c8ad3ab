// The holder's side of the handover. One epoll set holds the listener, every
// client and a timer for the clients' time limit, and the event loop watches
// that set alone: a client costs no watch of its own, and one that is dropped
// leaves nothing behind in the event loop.
#include "platform/posix/handover_server.h"

#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/posix/posix_files.h"
#include "platform/posix/read_watch.h"
#include "platform/shared/handover_wire.h"

namespace platform::posix {
namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kMaxClients = 16;
// What one client may send in one turn of the event loop, so that a long
// message does not hold up the box; the rest waits for the next turn.
constexpr size_t kReadPerTurn = size_t{1} << 20;
constexpr size_t kReadChunk = size_t{64} << 10;
// How long the listener rests when the process has no descriptor left for a
// client, instead of being woken for the same waiting client at once.
constexpr std::chrono::seconds kListenerRest{1};
constexpr uint64_t kListenerTag = 0;
constexpr uint64_t kTimerTag = 1;

struct Client {
  Client(int fd, Clock::time_point end) : socket(fd), deadline(end) {}
  Descriptor socket;
  Clock::time_point deadline;
  std::string message;
  size_t expected = 0;  // the declared length, once the header is in
};

enum class Progress { kWaiting, kTaken, kDropped };

// Reads what client has sent, up to its share of this turn.
Progress ReadFrom(Client& client, std::vector<InstanceRequest>& taken) {
  for (size_t budget = kReadPerTurn; budget > 0;) {
    const size_t goal = client.expected != 0 ? client.expected : handover::kHeaderBytes;
    const size_t want = std::min({goal - client.message.size(), kReadChunk, budget});
    const size_t had = client.message.size();
    client.message.resize(had + want);
    const ssize_t got = recv(client.socket.get(), client.message.data() + had, want, 0);
    client.message.resize(had + static_cast<size_t>(std::max<ssize_t>(got, 0)));
    // An end before the message's end is a truncated message.
    if (got == 0) return Progress::kDropped;
    if (got < 0) {
      return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? Progress::kWaiting
                                                                       : Progress::kDropped;
    }
    budget -= static_cast<size_t>(got);
    if (client.expected == 0 && client.message.size() == handover::kHeaderBytes) {
      client.expected = handover::DeclaredLength(client.message);
      if (client.expected == 0) return Progress::kDropped;
    }
    if (client.message.size() == client.expected) {
      std::optional<InstanceRequest> request = handover::Decode(client.message);
      if (!request) return Progress::kDropped;
      // Anything the client sent beyond its message is never read.
      (void)send(client.socket.get(), &handover::kTaken, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
      taken.push_back(std::move(*request));
      return Progress::kTaken;
    }
  }
  return Progress::kWaiting;
}

class EpollServer final : public HandoverServer {
 public:
  EpollServer(int listener, std::function<void(InstanceRequest)> on_request)
      : listener_(listener), on_request_(std::move(on_request)) {}

  bool Start() {
    if (!epoll_.valid() || !timer_.valid() || !Watch(listener_, kListenerTag, EPOLL_CTL_ADD) ||
        !Watch(timer_.get(), kTimerTag, EPOLL_CTL_ADD)) {
      return false;
    }
    watch_ = native::WatchReadable(epoll_.get(), [this] { OnReady(); });
    return watch_ != nullptr;
  }

 private:
  bool Watch(int fd, uint64_t tag, int operation, uint32_t events = EPOLLIN) {
    epoll_event event = {};
    event.events = events;
    event.data.u64 = tag;
    return epoll_ctl(epoll_.get(), operation, fd, &event) == 0;
  }

  void OnReady() {
    std::vector<InstanceRequest> taken;
    epoll_event events[32];
    const int count = epoll_wait(epoll_.get(), events, 32, 0);
    for (int i = 0; i < count; ++i) {
      const uint64_t tag = events[i].data.u64;
      if (tag == kListenerTag) {
        TakeClients();
      } else if (tag == kTimerTag) {
        OnTimer();
      } else if (const auto found = clients_.find(tag); found != clients_.end()) {
        if (ReadFrom(found->second, taken) != Progress::kWaiting) clients_.erase(found);
      }
    }
    ArmTimer();
    // Last, with everything above settled: a request's handler may run a
    // nested event loop that comes back here, or end the claim and this
    // server with it.
    const std::function<void(InstanceRequest)> handler = on_request_;
    const std::weak_ptr<bool> alive = alive_;
    for (InstanceRequest& request : taken) {
      if (alive.expired()) return;
      handler(std::move(request));
    }
  }

  void TakeClients() {
    for (;;) {
      Descriptor client(accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
      if (!client.valid()) {
        if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
          listener_rests_until_ = Clock::now() + kListenerRest;
          Watch(listener_, kListenerTag, EPOLL_CTL_MOD, 0);
        }
        return;
      }
      // Only this user's own processes may hand the box anything. A client
      // beyond the few served at once is closed and tries again.
      ucred peer = {};
      socklen_t size = sizeof peer;
      if (getsockopt(client.get(), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 ||
          peer.uid != geteuid() || clients_.size() >= kMaxClients) {
        continue;
      }
      const uint64_t tag = next_tag_++;
      if (!Watch(client.get(), tag, EPOLL_CTL_ADD)) continue;
      clients_.try_emplace(tag, client.Release(), Clock::now() + kHandoverClientTime);
    }
  }

  void OnTimer() {
    uint64_t expirations = 0;
    (void)!read(timer_.get(), &expirations, sizeof expirations);
    const Clock::time_point now = Clock::now();
    for (auto it = clients_.begin(); it != clients_.end();) {
      it = it->second.deadline <= now ? clients_.erase(it) : std::next(it);
    }
    if (listener_rests_until_ && *listener_rests_until_ <= now) {
      listener_rests_until_.reset();
      Watch(listener_, kListenerTag, EPOLL_CTL_MOD);
    }
  }

  // Sets the timer to the first client's deadline, or the listener's rest;
  // stops it when there is neither.
  void ArmTimer() {
    std::optional<Clock::time_point> first = listener_rests_until_;
    for (const auto& [tag, client] : clients_) {
      if (!first || client.deadline < *first) first = client.deadline;
    }
    itimerspec when = {};
    if (first) {
      const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(*first - Clock::now());
      const long long ns = std::max<long long>(wait.count(), 1);
      when.it_value.tv_sec = static_cast<time_t>(ns / 1000000000);
      when.it_value.tv_nsec = static_cast<long>(ns % 1000000000);
    }
    timerfd_settime(timer_.get(), 0, &when, nullptr);
  }

  const int listener_;
  const std::function<void(InstanceRequest)> on_request_;
  const std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  Descriptor epoll_{epoll_create1(EPOLL_CLOEXEC)};
  Descriptor timer_{timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)};
  std::map<uint64_t, Client> clients_;
  uint64_t next_tag_ = kTimerTag + 1;
  std::optional<Clock::time_point> listener_rests_until_;
  std::unique_ptr<native::ReadWatch> watch_;  // first to go
};

}  // namespace

std::unique_ptr<HandoverServer> ServeHandovers(int listener,
                                               std::function<void(InstanceRequest)> on_request) {
  auto server = std::make_unique<EpollServer>(listener, std::move(on_request));
  if (!server->Start()) return nullptr;
  return server;
}

}  // namespace platform::posix
