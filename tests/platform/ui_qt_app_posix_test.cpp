// Holds the QApplication of ui_qt_app.h; a global test environment destroys
// it after the last test, before static destruction tears Qt down.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "tests/platform/ui_qt_app.h"

namespace ui_tests {
namespace {

std::unique_ptr<QApplication>& Holder() {
  static std::unique_ptr<QApplication> app;
  return app;
}

class DestroyApplication : public ::testing::Environment {
 public:
  void TearDown() override { Holder().reset(); }
};

[[maybe_unused]] ::testing::Environment* const kDestroyApplication =
    ::testing::AddGlobalTestEnvironment(new DestroyApplication);

}  // namespace

QApplication& OffscreenApplication() {
  if (!Holder()) {
    // QApplication keeps references to argc and argv for its whole life.
    static int argc = 3;
    static char arg0[] = "test";
    static char arg1[] = "-platform";
    static char arg2[] = "offscreen";
    static char* argv[] = {arg0, arg1, arg2, nullptr};
    Holder() = std::make_unique<QApplication>(argc, argv);
  }
  return *Holder();
}

}  // namespace ui_tests
