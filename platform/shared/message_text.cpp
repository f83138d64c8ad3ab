#include "platform/shared/message_text.h"

#include <cstdio>

#include "platform/message_box.h"

namespace platform {

std::string WithNewlines(const char* text) {
  std::string lines;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p != '\r') {
      lines += *p;
    } else if (p[1] != '\n') {
      lines += '\n';
    }
  }
  return lines;
}

int DismissAnswer(uint32_t style) {
  switch (style & kBoxButtonsMask) {
    case kBoxOkCancel:
    case kBoxYesNoCancel:
      return kAnswerCancel;
    case kBoxYesNo:
      return kAnswerNo;
    default:
      return kAnswerOk;
  }
}

int ReportOnConsole(const char* text, const char* caption, uint32_t style) {
  std::fprintf(stderr, "%s\n%s\n", caption, WithNewlines(text).c_str());
  std::fflush(stderr);
  return DismissAnswer(style);
}

}  // namespace platform
