// The four INI primitives through which the program touches its settings
// file. Results of the writes are not examined by the program's callers.
#pragma once

#include <cstdint>

void WriteIniText(const char* file, const char* section, const char* key, const char* text);
// The whole value, or def when missing. Valid until the next ReadIniText: copy it.
const char* ReadIniText(const char* file, const char* section, const char* key, const char* def);
// Writes the plain decimal form: no blank, no plus sign, no point, no exponent.
void WriteIniNumber(const char* file, const char* section, const char* key, int32_t value);
int32_t ReadIniNumber(const char* file, const char* section, const char* key, int32_t def);

// From now on the writes above leave file alone, for the rest of the run.
void SpareIniFile(const char* file);
