// The user-facing calls where the program is built without its windows (the
// core-only builds that run the core's tests under the sanitizers): message
// boxes go to standard error, and there is no clipboard, no desktop to open
// documents with and no event loop to watch anything from.
#include "platform/native_ui.h"
#include "platform/posix/read_watch.h"
#include "platform/shared/message_text.h"

namespace platform::native {

int ShowMessageBox(const char* text, const char* caption, uint32_t style) {
  return ReportOnConsole(text, caption, style);
}

bool PutClipboardText(const std::string& /*text*/) { return false; }

std::optional<ClipboardFiles> ReadClipboardFiles() { return std::nullopt; }

bool OpenWithDefaultApp(const std::string& /*path*/) { return false; }

std::unique_ptr<ReadWatch> WatchReadable(int /*fd*/, std::function<void()> /*on_readable*/) {
  return nullptr;
}

}  // namespace platform::native
