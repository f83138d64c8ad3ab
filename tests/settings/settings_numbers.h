// The settings tests' view of a record: its numbers in file order.
#pragma once

#include <string>
#include <vector>

#include "settings/settings_record.h"

inline std::vector<int> Numbers(const Settings& s) {
  return {s.x,      s.y,           s.w,           s.h,           s.t,          s.b,
          s.m,      s.CommandMode, s.pathaction,  s.listseparator, s.encase, s.deletetobin,
          s.confirmdelete, s.confirmcopy, s.confirmmove, s.overwritefile};
}
inline const std::vector<int> kFirstRun = {244, 200, 75, 75, 75, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 0};
#ifdef _WIN32
inline const std::string kEol = "\r\n", kSep = "\\";
#else
inline const std::string kEol = "\n", kSep = "/";
#endif
