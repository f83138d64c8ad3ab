#include "tests/support/scripted_ui.h"

#include <utility>

#include "platform/clipboard.h"
#include "platform/failure.h"
#include "platform/message_box.h"

namespace testing_support {

ScriptedUi::ScriptedUi() {
  platform::SetMessageBoxHandler(
      [this](const std::string& text, const std::string& caption, uint32_t style) {
        boxes_.push_back({text, caption, style});
        if (while_showing_) {
          auto action = std::exchange(while_showing_, nullptr);
          action();
        }
        if ((style & platform::kBoxButtonsMask) == platform::kBoxOk) {
          if (!answers_.empty() && answers_.front() == platform::kAnswerOk) answers_.pop_front();
          return platform::kAnswerOk;
        }
        if (answers_.empty()) return platform::kAnswerNo;
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
      });
  platform::SetClipboardHandler([this](const std::string& text) {
    if (clipboard_busy_) {
      // As the system says when another program holds the clipboard.
      platform::NoteFailure(platform::Failure::kSystem, kClipboardBusyCode);
      return false;
    }
    clipboard_.push_back(text);
    return true;
  });
}

ScriptedUi::~ScriptedUi() {
  platform::SetMessageBoxHandler(nullptr);
  platform::SetClipboardHandler(nullptr);
}

void ScriptedUi::Answer(std::vector<int> answers) {
  answers_.assign(answers.begin(), answers.end());
}

void ScriptedUi::WhileShowing(std::function<void()> action) { while_showing_ = std::move(action); }

std::string ScriptedUi::LastClipboard() const {
  return clipboard_.empty() ? std::string() : clipboard_.back();
}

}  // namespace testing_support
