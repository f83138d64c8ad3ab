// The failure boxes of copies and moves: what failed, the file, the reason,
// and what became of the file when that needs saying.
#pragma once

#include <string>

#include "actions/drop_work.h"
#include "platform/message_box.h"
#include "text/strings.h"

inline void ReportFailure(const std::string& first_line, const std::string& file,
                          const std::string& reason, const char* last_line = nullptr) {
  std::string text = JoinText(5, first_line, LineBreak, file, LineBreak, reason);
  if (last_line != nullptr) text += JoinText(2, LineBreak, last_line);
  AskUser(text, "Quorlith", platform::kBoxOk);
}
