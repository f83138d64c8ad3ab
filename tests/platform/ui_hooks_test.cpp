// The test hooks of the message box, clipboard and document opening: a set
// handler receives each call unchanged and decides its result; a cleared one
// hears nothing more.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"

namespace {

TEST(UiHooks, HandlersReceiveTheCallsAndDecideTheResults) {
  std::vector<std::string> calls;
  platform::SetMessageBoxHandler([&](const std::string& text, const std::string& caption,
                                     uint32_t style) {
    calls.push_back("box " + text + "|" + caption + "|" + std::to_string(style));
    return platform::kAnswerYes;
  });
  platform::SetClipboardHandler([&](const std::string& text) {
    calls.push_back("clip " + text);
    return false;
  });
  platform::SetOpenHandler([&](const std::string& path) {
    calls.push_back("open " + path);
    return true;
  });
  const std::string clip("a\rb\0c", 5);
  EXPECT_EQ(platform::ShowMessageBox("Delete?\rC:\\a", "Quorlith", 0x34), platform::kAnswerYes);
  EXPECT_EQ(platform::ShowMessageBox(nullptr, nullptr, 0), platform::kAnswerYes);
  EXPECT_FALSE(platform::PutClipboardText(clip));
  EXPECT_TRUE(platform::OpenWithDefaultApp("/tmp/read me.txt"));

  platform::SetMessageBoxHandler(nullptr);
  platform::SetClipboardHandler(nullptr);
  platform::SetOpenHandler(nullptr);
  platform::PutClipboardText("real");  // its answer depends on the machine
  EXPECT_EQ(calls, (std::vector<std::string>{"box Delete?\rC:\\a|Quorlith|52", "box ||0",
                                             "clip " + clip, "open /tmp/read me.txt"}));
}

}  // namespace
