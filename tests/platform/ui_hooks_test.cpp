// The test hooks of the message box, clipboard and document opening: a set
// handler receives each call unchanged and decides its result; a cleared one
// gives the calls back to the operating system.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"

namespace {

TEST(UiHooks, HandlersReceiveTheCallsAndDecideTheResults) {
  std::vector<std::string> calls;
  platform::SetMessageBoxHandler(
      [&](const std::string& text, const std::string& caption, uint32_t style) {
        calls.push_back("box " + text + "|" + caption + "|" + std::to_string(style));
        return platform::kAnswerYes;
      });
  platform::SetClipboardHandler([&](const std::string& text) {
    calls.push_back("clip " + text);
    return text != "refused";
  });
  platform::SetOpenHandler([&](const std::string& path) {
    calls.push_back("open " + path);
    return false;
  });

  EXPECT_EQ(platform::ShowMessageBox("Delete?\rC:\\a <&>", "Quorlith", 0x34),
            platform::kAnswerYes);
  EXPECT_EQ(platform::ShowMessageBox(nullptr, nullptr, 0), platform::kAnswerYes);
  EXPECT_TRUE(platform::PutClipboardText(std::string("a\rb\0c", 5)));
  EXPECT_FALSE(platform::PutClipboardText("refused"));
  EXPECT_FALSE(platform::OpenWithDefaultApp("/tmp/dir with space/read me.txt"));

  // Cleared, the clipboard is the real one again (its answer depends on the
  // machine), and the old handler hears nothing more.
  platform::SetMessageBoxHandler(nullptr);
  platform::SetClipboardHandler(nullptr);
  platform::SetOpenHandler(nullptr);
  platform::PutClipboardText("real");

  const std::vector<std::string> expected = {
      "box Delete?\rC:\\a <&>|Quorlith|52",
      "box ||0",
      "clip " + std::string("a\rb\0c", 5),
      "clip refused",
      "open /tmp/dir with space/read me.txt",
  };
  EXPECT_EQ(calls, expected);
}

}  // namespace
