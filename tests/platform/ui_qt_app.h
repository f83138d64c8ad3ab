// The one QApplication of the platform test executable, on Qt's "offscreen"
// platform: made on first use by the tests that show Qt widgets or use the
// clipboard, so the other platform tests run without one.
#pragma once

class QApplication;

namespace ui_tests {

QApplication& OffscreenApplication();

}  // namespace ui_tests
