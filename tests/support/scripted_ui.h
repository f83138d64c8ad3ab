// Test doubles for the user-facing calls: boxes answered from a script, the clipboard captured.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/clipboard.h"
#include "platform/failure.h"
#include "platform/message_box.h"

namespace testing_support {

// The system's reason when another program holds the clipboard: ERROR_ACCESS_DENIED, EBUSY.
#ifdef _WIN32
constexpr unsigned long kClipboardBusyCode = 5;
#else
constexpr unsigned long kClipboardBusyCode = 16;
#endif

struct ShownBox {
  std::string text, caption;
  uint32_t style = 0;
};

// While alive, each box takes the next scripted answer (OK, or No once the script has run out),
// and the clipboard holds the files scripted (none until SetClipboardFiles).
class ScriptedUi {
 public:
  ScriptedUi() {
    platform::SetMessageBoxHandler(
        [this](const std::string& text, const std::string& caption, uint32_t style) {
          boxes_.push_back({text, caption, style});
          if (while_showing_) std::exchange(while_showing_, nullptr)();
          const bool ok_box = (style & platform::kBoxButtonsMask) == platform::kBoxOk;
          if (answers_.empty() || (ok_box && answers_.front() != platform::kAnswerOk)) {
            return ok_box ? platform::kAnswerOk : platform::kAnswerNo;
          }
          const int answer = answers_.front();
          answers_.pop_front();
          return answer;
        });
    platform::SetClipboardHandler([this](const std::string& text) {
      if (clipboard_busy_)
        platform::NoteFailure(platform::Failure::kSystem, kClipboardBusyCode);
      else
        clipboard_.push_back(text);
      return !clipboard_busy_;
    });
    platform::SetClipboardFilesHandler([this] { return clipboard_files_; });
  }
  ~ScriptedUi() {
    platform::SetMessageBoxHandler(nullptr);
    platform::SetClipboardHandler(nullptr);
    platform::SetClipboardFilesHandler(nullptr);
  }
  ScriptedUi(const ScriptedUi&) = delete;
  ScriptedUi& operator=(const ScriptedUi&) = delete;

  void Answer(std::vector<int> answers) { answers_.assign(answers.begin(), answers.end()); }
  // The clipboard refuses texts, giving kClipboardBusyCode as the reason.
  void SetClipboardBusy(bool busy) { clipboard_busy_ = busy; }
  // What platform::ReadClipboardFiles finds: files a file manager copied, or nothing.
  void SetClipboardFiles(std::optional<platform::ClipboardFiles> files) {
    clipboard_files_ = std::move(files);
  }
  // Run once while the next box shows, before it is answered (another drop, say).
  void WhileShowing(std::function<void()> action) { while_showing_ = std::move(action); }

  const std::vector<ShownBox>& boxes() const { return boxes_; }
  const std::vector<std::string>& clipboard() const { return clipboard_; }
  std::string LastClipboard() const { return clipboard_.empty() ? "" : clipboard_.back(); }

 private:
  std::deque<int> answers_;
  std::vector<ShownBox> boxes_;
  std::vector<std::string> clipboard_;
  std::function<void()> while_showing_;
  std::optional<platform::ClipboardFiles> clipboard_files_;
  bool clipboard_busy_ = false;
};

}  // namespace testing_support
