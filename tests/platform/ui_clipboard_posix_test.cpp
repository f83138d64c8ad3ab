// The Qt clipboard on the offscreen platform keeps the text byte for byte.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <string>

#include "platform/clipboard.h"
#include "tests/platform/ui_qt_app.h"

namespace {

TEST(UiQtClipboard, HoldsTheExactText) {
  ui_tests::OffscreenApplication();
  const std::string cases[] = {
      "/home/me/a.txt",
      "/home/me/a.txt\r/home/me/b c.txt\r",
      "\"/x\"\r\n'y'\t<&>",
      "Gr\xc3\xbc\xc3\x9f" "e \xe6\x97\xa5\xe6\x9c\xac",
      std::string(100000, 'q') + "end",
      "",
  };
  for (const std::string& text : cases) {
    SCOPED_TRACE(text.substr(0, 40));
    ASSERT_TRUE(platform::PutClipboardText(text));
    const std::string read =
        QGuiApplication::clipboard()->text(QClipboard::Clipboard).toStdString();
    // Long texts are compared without printing them.
    EXPECT_EQ(read.size(), text.size());
    if (text.size() <= 1024) {
      EXPECT_EQ(read, text);
    } else {
      EXPECT_TRUE(read == text);
    }
  }
}

}  // namespace
