// The handover to the box that holds a settings file, between real processes over the real socket,
// the holder served by Qt's event loop.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/instance.h"
#include "platform/posix/handover_server.h"
#include "tests/support/other_user.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace testing_support;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Paths = std::vector<std::string>;

// Runs the event loop until done() or the time is up; done()'s last answer.
bool LoopUntil(const std::function<bool()>& done, Clock::duration limit) {
  QEventLoop loop;
  QTimer poll;
  const Clock::time_point end = Clock::now() + limit;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (done() || Clock::now() >= end) loop.quit();
  });
  poll.start(5);
  loop.exec();
  return done();
}

// child's exit code, the holder served meanwhile; -1 when it did not end in time.
int ExitCodeServing(pid_t child) {
  int status = -1;
  bool ended = false;
  if (!LoopUntil([&] { return ended = ended || waitpid(child, &status, WNOHANG) == child; }, 20s)) {
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
  }
  return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A message as the wire carries it, made by hand: the working folder and the paths, the count as
// given, the total as the bytes come out unless given.
std::string Frame(const Paths& texts, uint32_t count, const std::string& end = "QEND",
                  uint32_t total = 0) {
  const auto number = [](size_t n) {
    return std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)};
  };
  std::string body;
  for (const std::string& text : texts) body += number(text.size()) + text;
  body += end;
  return "QRLH" + number(1) + number(total != 0 ? total : 16 + body.size()) + number(count) + body;
}

// A client of the holder's socket, as any process could be.
struct RawClient {
  explicit RawClient(const std::string& path) : fd(socket(AF_UNIX, SOCK_STREAM, 0)) {
    sockaddr_un address = {AF_UNIX, {}};
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~RawClient() { close(fd); }
  // "taken", "closed" (unanswered), or "" while the holder has said nothing.
  std::string Heard() const {
    pollfd ready = {fd, POLLIN, 0};
    char answer = 0;
    if (poll(&ready, 1, 0) <= 0) return "";
    return recv(fd, &answer, 1, MSG_DONTWAIT) == 1 ? (answer == 6 ? "taken" : "junk") : "closed";
  }
  int fd;
  bool connected;
};

// A box that holds a settings file in a runtime folder of its own.
class Holder : public testing::Test {
 protected:
  void Serve() {
    claim->ServeRequests([this](platform::InstanceRequest r) { received.push_back(std::move(r)); });
  }
  // A later start from folder in a process of its own: 0 when the holder took its request; the
  // child's pid instead when not asked to wait.
  int LaterStart(const std::string& folder, const Paths& paths, bool wait = true) const {
    const pid_t child = fork();
    if (child == 0) {
      bool taken = false;
      _exit(chdir(folder.c_str()) == 0 &&
                    !platform::ClaimInstance(key, platform::RequestFromHere(paths), &taken) && taken
                ? 0
                : 1);
    }
    return wait ? ExitCodeServing(child) : child;
  }
  std::string SocketPath() const {
    return runtime.path() + platform::InstanceName(key) + ".socket";
  }

  static inline int argc = 1;
  static inline char arg0[] = "test";
  static inline char* argv[] = {arg0, nullptr};
  QCoreApplication application{argc, argv};
  TempFolder runtime;
  ScopedEnv runtime_folder{"XDG_RUNTIME_DIR", runtime.path()};
  std::string key = platform::InstanceKey(runtime / "Quorlith.ini");
  std::unique_ptr<platform::InstanceClaim> claim = platform::ClaimInstance(key);
  std::vector<platform::InstanceRequest> received;
};

TEST_F(Holder, LaterStartsHandOverTheirPathsWholeAndInOrder) {
  ASSERT_NE(claim, nullptr);
  MakeFolder(runtime / "started here \xC3\xBC");
  const std::string here = std::filesystem::canonical(runtime / "started here \xC3\xBC").string();
  const Paths paths = {"/tmp/a b/with  spaces.txt",
                       "\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82 \xE6\x97\xA5", "-leading-dash",
                       "line\nbreak", "relative/one"};
  // The first comes while the holder is still starting, and is taken once the box serves.
  const pid_t early = LaterStart(here, paths, false);
  usleep(200 * 1000);
  Serve();
  EXPECT_EQ(ExitCodeServing(early), 0);
  // Taken means handed on: the request is here the moment the later start has ended.
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].working_folder, here);
  EXPECT_EQ(received[0].paths, paths);
  EXPECT_EQ(LaterStart("/", {}), 0);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[1].working_folder, "/");
  EXPECT_EQ(received[1].paths, Paths{});  // only "come to the front"
  // As many paths as a request may carry arrive, all of them.
  const Paths most(platform::kMaxHandoverPaths, "/p");
  EXPECT_EQ(LaterStart("/", most), 0);
  ASSERT_EQ(received.size(), 3u);
  EXPECT_EQ(received[2].paths.size(), most.size());
}

// A close is handed over like paths; the later start then waits until the holder has let go.
TEST_F(Holder, ALaterStartsCloseEndsTheHolderAndWaitsForIt) {
  ASSERT_NE(claim, nullptr);
  EXPECT_TRUE(platform::InstanceHeld(key));
  claim->ServeRequests([this](platform::InstanceRequest r) {
    received.push_back(r);
    if (r.kind == platform::RequestKind::kClose) claim.reset();
  });
  const pid_t child = fork();
  if (child == 0) {
    bool taken = false;
    const auto none =
        platform::ClaimInstance(key, {"/", {}, platform::RequestKind::kClose}, &taken);
    _exit(!none && taken && platform::AwaitInstanceEnd(key, 10s) ? 0 : 1);
  }
  EXPECT_EQ(ExitCodeServing(child), 0);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].kind, platform::RequestKind::kClose);
  EXPECT_FALSE(platform::InstanceHeld(key));
  EXPECT_TRUE(platform::AwaitInstanceEnd(key, 0s));
}

// However a start names the settings file (relative, through a link, before it is written), it
// finds the box that holds it.
TEST(InstanceKeyTest, OneFileHasOneKeyHoweverItIsNamed) {
  TempFolder temp;
  MakeFolder(temp / "real");
  std::filesystem::create_directory_symlink(temp / "real", temp / "linked");
  const std::string real = std::filesystem::canonical(temp / "real").string();
  char* before = getcwd(nullptr, 0);
  ASSERT_EQ(chdir((temp / "real").c_str()), 0);
  for (const bool written : {false, true}) {
    SCOPED_TRACE(written ? "written" : "not written yet");
    if (written) WriteFile(temp / "real/box.ini", "");
    for (const std::string& named : {std::string("box.ini"), std::string("./box.ini"),
                                     temp / "linked/box.ini", temp / "real/../real/box.ini"}) {
      EXPECT_EQ(platform::InstanceKey(named), real + "/box.ini") << named;
    }
  }
  EXPECT_EQ(chdir(before), 0);
  free(before);
}

TEST_F(Holder, BadClientsAreDroppedAndTheNextRequestIsServed) {
  ASSERT_NE(claim, nullptr);
  Serve();
  const std::string good = Frame({"/w", "/a"}, 1);
  const struct {
    const char* what;
    std::string bytes;
    bool ends, idle;  // the client ends its side; the holder must wait for its time limit
  } rows[] = {{"not our magic", "GET / HTTP/1.1\r\nHost: box\r\n\r\n", 0, 0},
              {"a message over 64 MiB", Frame({}, 0, "", (64u << 20) + 1), 0, 0},
              {"more paths than allowed", Frame({"/w"}, (1u << 16) + 1, "QEND", 1 << 20), 0, 0},
              {"a path over 64 KiB", Frame({"/w", std::string((64 << 10) + 1, 'p')}, 1), 0, 0},
              {"a NUL in a path", Frame({"/w", std::string("a\0b", 3)}, 1), 0, 0},
              {"an empty path", Frame({"/w", ""}, 1), 0, 0},
              {"no end mark", Frame({"/w", "/a"}, 1, "QEN!"), 0, 0},
              {"more texts than counted", Frame({"/w", "/a", "/b"}, 1), 0, 0},
              {"truncated", good.substr(0, good.size() - 3), 1, 0},
              {"nothing at all", "", 0, 1},
              {"half a message", good.substr(0, 20), 0, 1}};
  std::vector<std::unique_ptr<RawClient>> clients;
  const auto all_heard = [&](bool idle) {
    for (size_t i = 0; i < clients.size(); ++i) {
      if (rows[i].idle == idle && clients[i]->Heard().empty()) return false;
    }
    return true;
  };
  for (const auto& row : rows) {
    clients.push_back(std::make_unique<RawClient>(SocketPath()));
    ASSERT_TRUE(clients.back()->connected) << row.what;
    send(clients.back()->fd, row.bytes.data(), row.bytes.size(), MSG_NOSIGNAL);
    if (row.ends) shutdown(clients.back()->fd, SHUT_WR);
  }
  // The bad ones are dropped at once, a good request is served while the slow ones still wait,
  // and those go at their time limit.
  LoopUntil([&] { return all_heard(false); }, 2s);
  EXPECT_EQ(LaterStart("/", {"/served while others wait"}), 0);
  for (bool idle : {false, true}) {
    if (idle) LoopUntil([&] { return all_heard(true); }, platform::posix::kHandoverClientTime + 2s);
    for (size_t i = 0; i < clients.size(); ++i) {
      SCOPED_TRACE(rows[i].what);
      EXPECT_EQ(clients[i]->Heard(), rows[i].idle && !idle ? "" : "closed");
    }
  }
  EXPECT_EQ(LaterStart("/", {"/served after them"}), 0);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].paths, Paths{"/served while others wait"});
  EXPECT_EQ(received[1].paths, Paths{"/served after them"});
}

TEST_F(Holder, AnotherUsersRequestIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can connect to the socket as another user";
  ASSERT_NE(claim, nullptr);
  Serve();
  // The folder and the socket let anyone in: only the holder's own check stands.
  chmod(runtime.path().c_str(), 0755);
  chmod(SocketPath().c_str(), 0777);
  const std::string path = SocketPath(), good = Frame({"/w", "/from another user"}, 1);
  const pid_t other = StartAsOtherUser([&] {
    const RawClient client(path);
    send(client.fd, good.data(), good.size(), MSG_NOSIGNAL);
    // Answered well before the time limit of a slow client.
    for (int waited = 0; client.connected && waited < 3000; waited += 10, usleep(10000)) {
      if (const std::string heard = client.Heard(); !heard.empty())
        return heard == "closed" ? 0 : 1;
    }
    return 2;
  });
  EXPECT_EQ(ExitCodeServing(other), 0) << "0 refused, 1 taken, 2 no connection or no answer";
  EXPECT_EQ(LaterStart("/", {"/mine"}), 0);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].paths, Paths{"/mine"});
}

}  // namespace
