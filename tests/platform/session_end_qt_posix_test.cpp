// The end of the session: the signals reach the handler on the event loop, every one of them, and
// the system's defaults come back with the watch's end.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <csignal>
#include <vector>

#include "platform/session_end.h"

namespace {

bool IsDefault(int signal) {
  struct sigaction now = {};
  return sigaction(signal, nullptr, &now) == 0 && now.sa_handler == SIG_DFL;
}

TEST(SessionEnd, EachSignalReachesTheHandlerUntilTheWatchEnds) {
  static int argc = 1;
  static char arg0[] = "test";
  static char* argv[] = {arg0, nullptr};
  QCoreApplication application(argc, argv);
  // A start under nohup: the hang-up stays ignored.
  std::signal(SIGHUP, SIG_IGN);
  std::vector<int> heard;
  auto watch = platform::WatchSessionEnd([&](int signal) { heard.push_back(signal); });
  ASSERT_NE(watch, nullptr);
  EXPECT_EQ(platform::WatchSessionEnd([](int) {}), nullptr);  // one at a time
  const std::vector<int> sent = {SIGTERM, SIGTERM, SIGINT, SIGHUP};
  for (const int signal : sent) {
    const size_t before = heard.size();
    raise(signal);
    QEventLoop loop;
    QTimer::singleShot(signal == SIGHUP ? 300 : 5000, &loop, &QEventLoop::quit);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (heard.size() > before) loop.quit();
    });
    poll.start(5);
    loop.exec();
  }
  EXPECT_EQ(heard, (std::vector<int>{SIGTERM, SIGTERM, SIGINT}));
  watch.reset();
  EXPECT_TRUE(IsDefault(SIGTERM) && IsDefault(SIGINT));
  EXPECT_FALSE(IsDefault(SIGHUP));
  std::signal(SIGHUP, SIG_DFL);
}

}  // namespace
