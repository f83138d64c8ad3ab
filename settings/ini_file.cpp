#include "settings/ini_file.h"

#include <cstring>

#include "platform/profile.h"
#include "text/strings.h"

namespace {

// The one result buffer of ReadIniText: 2047 characters and the terminator.
char ReadBuffer[kIniTextMax + 1];

}  // namespace

void WriteIniText(const char* file, const char* section, const char* key, const char* text) {
  platform::ProfileWriteText(file, section, key, text);
}

const char* ReadIniText(const char* file, const char* section, const char* key,
                        const char* def) {
  std::memset(ReadBuffer, 0, sizeof ReadBuffer);
  const std::string value = platform::ProfileReadText(file, section, key, def, kIniTextMax);
  std::memcpy(ReadBuffer, value.data(), value.size() < kIniTextMax ? value.size() : kIniTextMax);
  return ReadBuffer;
}

void WriteIniNumber(const char* file, const char* section, const char* key, int32_t value) {
  // "% .15G" is exact for every 32-bit integer and puts a blank before a
  // non-negative one; the blank goes, so the file gets plain decimal text.
  WriteIniText(file, section, key, TrimLeft(NumberToText(value), ' '));
}

int32_t ReadIniNumber(const char* file, const char* section, const char* key, int32_t def) {
  return platform::ProfileReadNumber(file, section, key, def);
}
