// The test hooks of the user-facing calls, shared by both platforms: while a
// handler is set the call goes to it, otherwise to the operating system.
#include <utility>

#include "platform/clipboard.h"
#include "platform/failure.h"
#include "platform/message_box.h"
#include "platform/native_ui.h"
#include "platform/shell_open.h"

namespace platform {
namespace {

MessageBoxHandler& BoxHandler() {
  static MessageBoxHandler handler;
  return handler;
}

ClipboardHandler& ClipHandler() {
  static ClipboardHandler handler;
  return handler;
}

ClipboardFilesHandler& FilesHandler() {
  static ClipboardFilesHandler handler;
  return handler;
}

OpenHandler& DocumentHandler() {
  static OpenHandler handler;
  return handler;
}

}  // namespace

void SetMessageBoxHandler(MessageBoxHandler handler) { BoxHandler() = std::move(handler); }
void SetClipboardHandler(ClipboardHandler handler) { ClipHandler() = std::move(handler); }
void SetClipboardFilesHandler(ClipboardFilesHandler handler) {
  FilesHandler() = std::move(handler);
}
void SetOpenHandler(OpenHandler handler) { DocumentHandler() = std::move(handler); }

// Each dispatch calls a copy of the handler, so a handler that replaces or
// clears itself while it runs does not destroy the code being executed.
int ShowMessageBox(const char* text, const char* caption, uint32_t style) {
  if (text == nullptr) text = "";
  if (caption == nullptr) caption = "";
  if (BoxHandler()) {
    const MessageBoxHandler handler = BoxHandler();
    return handler(text, caption, style);
  }
  return native::ShowMessageBox(text, caption, style);
}

bool PutClipboardText(const std::string& text) {
  ClearFailure();
  if (ClipHandler()) {
    const ClipboardHandler handler = ClipHandler();
    return handler(text);
  }
  return native::PutClipboardText(text);
}

std::optional<ClipboardFiles> ReadClipboardFiles() {
  if (FilesHandler()) {
    const ClipboardFilesHandler handler = FilesHandler();
    return handler();
  }
  return native::ReadClipboardFiles();
}

bool OpenWithDefaultApp(const std::string& path) {
  if (DocumentHandler()) {
    const OpenHandler handler = DocumentHandler();
    return handler(path);
  }
  return native::OpenWithDefaultApp(path);
}

}  // namespace platform
