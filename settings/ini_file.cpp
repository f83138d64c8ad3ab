#include "settings/ini_file.h"

#include <string>

#include "platform/profile.h"
#include "text/strings.h"

namespace {

// The one result buffer of ReadIniText. It grows to fit: values are never
// cut (a cut destination could name a parent of the folder meant).
std::string ReadBuffer;

// The file no write may touch in this run; empty when there is none.
std::string SparedFile;

}  // namespace

void WriteIniText(TextArg file, TextArg section, TextArg key, TextArg text) {
  if (!SparedFile.empty() && SparedFile == file.c_str()) return;
  platform::ProfileWriteText(file, section, key, text);
}

const char* ReadIniText(TextArg file, TextArg section, TextArg key, TextArg def) {
  // No value is longer than the largest file that is read.
  ReadBuffer = platform::ProfileReadText(file, section, key, def,
                                         static_cast<int>(platform::kProfileSizeLimit));
  return ReadBuffer.c_str();
}

std::string IniNumberText(int32_t value) {
  // "% .15G" is exact for every 32-bit integer and puts a blank before a
  // non-negative one; the blank goes, so the file gets plain decimal text.
  return TrimLeft(NumberToText(value), ' ');
}

void WriteIniNumber(TextArg file, TextArg section, TextArg key, int32_t value) {
  WriteIniText(file, section, key, IniNumberText(value));
}

bool WriteIniTexts(TextArg file, const std::vector<IniEntry>& entries, std::string& reason) {
  if (!SparedFile.empty() && SparedFile == file.c_str()) {
    reason = "Quorlith could not use this file when it read it, so it leaves it as it is.";
    return false;
  }
  return platform::ProfileWriteTexts(file, entries, reason);
}

int32_t ReadIniNumber(TextArg file, TextArg section, TextArg key, int32_t def) {
  return platform::ProfileReadNumber(file, section, key, def);
}

void SpareIniFile(TextArg file) { SparedFile = file.c_str(); }
