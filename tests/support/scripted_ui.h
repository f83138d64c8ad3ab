// Test doubles for the user-facing parts of the platform: message boxes are
// answered from a script and recorded, the clipboard is captured.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// ERROR_ACCESS_DENIED on Windows, EBUSY elsewhere.
#ifdef _WIN32
constexpr unsigned long kClipboardBusyCode = 5;
#else
constexpr unsigned long kClipboardBusyCode = 16;
#endif

struct ShownBox {
  std::string text;
  std::string caption;
  uint32_t style = 0;
};

// While alive, every message box is recorded and answered with the next
// scripted answer (OK for an OK box, No for a question once the script has
// run out); every clipboard text is captured.
class ScriptedUi {
 public:
  ScriptedUi();
  ~ScriptedUi();
  ScriptedUi(const ScriptedUi&) = delete;
  ScriptedUi& operator=(const ScriptedUi&) = delete;

  // Answers for the coming boxes, in order (platform::kAnswerYes, ...).
  void Answer(std::vector<int> answers);
  // Makes the captured clipboard refuse texts, as when another program holds
  // it; the system's reason is then kClipboardBusyCode.
  void SetClipboardBusy(bool busy) { clipboard_busy_ = busy; }
  // Called while a box is "shown", before it is answered (to simulate what
  // the user does meanwhile, such as another drop).
  void WhileShowing(std::function<void()> action);

  const std::vector<ShownBox>& boxes() const { return boxes_; }
  const std::vector<std::string>& clipboard() const { return clipboard_; }
  // The last captured clipboard text; empty when none.
  std::string LastClipboard() const;

 private:
  std::deque<int> answers_;
  std::vector<ShownBox> boxes_;
  std::vector<std::string> clipboard_;
  std::function<void()> while_showing_;
  bool clipboard_busy_ = false;
};

}  // namespace testing_support
