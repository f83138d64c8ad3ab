// The INI file primitives. On Windows they are the profile functions; on
// other systems the project's own engine, which reads and writes the same
// files the same way for everything the program relies on.
#pragma once

#include <string>

namespace platform {

// The value of key in section, or def (less its trailing spaces) when the
// file, section or key is missing. At most max_chars characters come back; a
// longer value is cut.
std::string ProfileReadText(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& def, int max_chars);
// The value read as a number (leading blanks, an optional sign, a "0x" hex,
// "0o" octal or "0b" binary prefix or decimal digits up to the first other
// character, wrapped modulo 2^32; only the first 29 characters count); def
// when the key is missing or its value is empty.
int ProfileReadNumber(const std::string& file, const std::string& section,
                      const std::string& key, int def);
// Writes key=value into section, creating the file and the section as needed.
// True when the file holds the new value afterwards.
bool ProfileWriteText(const std::string& file, const std::string& section,
                      const std::string& key, const std::string& value);

}  // namespace platform
