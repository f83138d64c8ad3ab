// The tests under a real X server use the display they are given (the test
// script provides one for the whole run); without DISPLAY they start a
// private Xvfb of their own and stop it at the end. Either way they hold a
// connection of their own for the whole run: an X server resets when its last
// client leaves, and a program that starts during the reset cannot connect.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QCoreApplication>
#include <cstdlib>
#include <string>

namespace {

class PrivateDisplay : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') StartServer();
    // A server in the middle of a reset refuses connections for a moment.
    for (int attempt = 0; attempt < 100; ++attempt) {
      holder_ = xcb_connect(nullptr, nullptr);
      if (xcb_connection_has_error(holder_) == 0) return;
      xcb_disconnect(holder_);
      holder_ = nullptr;
      usleep(100 * 1000);
    }
    FAIL() << "cannot connect to the X server";
  }

  void TearDown() override {
    if (holder_ != nullptr) xcb_disconnect(holder_);
    if (server_ <= 0) return;
    kill(server_, SIGTERM);
    waitpid(server_, nullptr, 0);
  }

 private:
  void StartServer() {
    int pipe_ends[2];
    ASSERT_EQ(pipe(pipe_ends), 0);
    server_ = fork();
    ASSERT_GE(server_, 0);
    if (server_ == 0) {
      // Xvfb picks a free display and writes its number to the pipe.
      close(pipe_ends[0]);
      const std::string fd = std::to_string(pipe_ends[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
             "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(pipe_ends[1]);
    char number[32] = {};
    ssize_t got = 0;
    for (ssize_t n; got < 31 && (n = read(pipe_ends[0], number + got, 31 - got)) > 0;) {
      got += n;
      if (number[got - 1] == '\n') break;
    }
    close(pipe_ends[0]);
    ASSERT_GT(got, 0) << "Xvfb did not start";
    std::string text(number, static_cast<size_t>(got));
    text = text.substr(0, text.find('\n'));
    setenv("DISPLAY", (":" + text).c_str(), 1);
  }

  pid_t server_ = -1;
  xcb_connection_t* holder_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new PrivateDisplay);
  // QProcess wants an application object; no window is shown by the tests.
  QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
