// The four INI primitives through which the program touches its settings
// file. Results of the writes are not examined by the program's callers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "text/text_arg.h"

void WriteIniText(TextArg file, TextArg section, TextArg key, TextArg text);
// The whole value, or def when missing. Valid until the next ReadIniText: copy it.
const char* ReadIniText(TextArg file, TextArg section, TextArg key, TextArg def);
// Writes the plain decimal form: no blank, no plus sign, no point, no exponent.
void WriteIniNumber(TextArg file, TextArg section, TextArg key, int32_t value);
int32_t ReadIniNumber(TextArg file, TextArg section, TextArg key, int32_t def);

// A number as the file keeps it: plain decimal, no blank, no plus sign.
std::string IniNumberText(int32_t value);

// One key and its value, as text.
using IniEntry = platform::ProfileEntry;
// Writes every entry in one replacement of the file as it is now, every other
// byte kept; nothing is written when the file holds these values already. On
// failure the file is left whole and reason says why.
bool WriteIniTexts(TextArg file, const std::vector<IniEntry>& entries, std::string& reason);

// From now on the writes above leave file alone, for the rest of the run.
void SpareIniFile(TextArg file);
