// The message box. Styles and answers use the Win32 values on every platform,
// so the core speaks one language. On Windows it is the system's, modal to
// its owner; on Linux it is modal to nothing, so the box takes drops while a
// question waits.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

constexpr uint32_t kBoxOk = 0x0;
constexpr uint32_t kBoxOkCancel = 0x1;
constexpr uint32_t kBoxYesNoCancel = 0x3;
constexpr uint32_t kBoxYesNo = 0x4;
constexpr uint32_t kBoxIconWarning = 0x30;  // also "exclamation"
constexpr uint32_t kBoxIconQuestion = 0x20;
constexpr uint32_t kBoxIconInformation = 0x40;
constexpr uint32_t kBoxSystemModal = 0x1000;
constexpr uint32_t kBoxButtonsMask = 0xF;
constexpr uint32_t kBoxIconMask = 0xF0;

constexpr int kAnswerOk = 1;
constexpr int kAnswerCancel = 2;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

// Shows text (lines separated by a lone carriage return) with caption and
// style, owned by the active window; returns the answer.
int ShowMessageBox(const char* text, const char* caption, uint32_t style);

// Tests answer message boxes from a script: while a handler is set, every box
// goes to it instead of the screen. An empty handler restores the real box.
using MessageBoxHandler =
    std::function<int(const std::string& text, const std::string& caption, uint32_t style)>;
void SetMessageBoxHandler(MessageBoxHandler handler);

}  // namespace platform
