// The tests under a real X server use the display they are given, or else a
// private Xvfb of their own. Either way they hold a connection for the whole
// run: an X server resets when its last client leaves, and a program that
// starts during the reset cannot connect.
#include <gtest/gtest.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QProcess>
#include <cstdlib>
#include <memory>

namespace {

class PrivateDisplay : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
      // Xvfb picks a free display and writes its number to its output.
      server_ = std::make_unique<QProcess>();
      server_->start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten",
                              "tcp", "-noreset"});
      ASSERT_TRUE(server_->waitForReadyRead(10000)) << "Xvfb did not start";
      setenv("DISPLAY", (":" + server_->readLine().trimmed()).constData(), 1);
    }
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
    if (server_ == nullptr) return;
    server_->terminate();
    server_->waitForFinished(5000);
    server_.reset();
  }

 private:
  std::unique_ptr<QProcess> server_;
  xcb_connection_t* holder_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QCoreApplication app(argc, argv);  // for QProcess
  ::testing::AddGlobalTestEnvironment(new PrivateDisplay);
  return RUN_ALL_TESTS();
}
