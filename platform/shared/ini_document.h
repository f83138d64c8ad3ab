// The INI engine of both builds: pure text processing over the bytes of a
// settings file, no file I/O. It reads and edits files the way the Windows
// profile functions do for everything the program relies on, and it keeps
// every byte it is not asked to change, whatever the file's character set.
//
// Reading:
// - lines end in CR, LF or CRLF, freely mixed; a UTF-8 byte-order mark at the
//   start of the file is skipped;
// - blanks (space, tab) around section names, key names and values are
//   ignored; names match with A-Z and a-z alike (no other byte is folded);
// - "[name]" opens a section: the name runs to the line's last "]", and text
//   after it is ignored; a line without "]" is no header;
// - a line whose first non-blank byte is ";" is a comment; there are no inline
//   comments ("k=v ; x" is "v ; x");
// - "key=value" splits at the first "="; lines without "=" are ignored, and so
//   are keys before the first section header;
// - the first of duplicate sections, and in it the first of duplicate keys,
//   wins: a later duplicate section is never looked into;
// - a value enclosed in a matching pair of quotes (" or ') loses them;
// - a NUL byte ends the name or value it falls in, as it does for the C
//   strings the Windows functions keep: the line is split and trimmed as a
//   whole, then each name and value is cut at its first NUL. Every other byte
//   is an ordinary byte.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::ini {

// The value of key in section, quotes removed; nullopt when the section or the
// key is missing. An empty value is the empty text, not a missing one.
std::optional<std::string> FindValue(std::string_view bytes, std::string_view section,
                                     std::string_view key);

// Reads a found value as a number, the way GetPrivateProfileIntA does:
// - only the first 29 characters take part (its buffer holds 30);
// - an empty value gives def;
// - leading blanks and other control characters are skipped, then one
//   optional "+" or "-";
// - a lowercase "0x" prefix means hexadecimal digits follow, "0o" octal,
//   "0b" binary; otherwise decimal (a bare leading 0 is just a digit);
// - digits are taken up to the first byte that is no digit of the base; none
//   at all gives 0;
// - the value accumulates modulo 2^32, is negated after a "-", and comes back
//   as a signed 32-bit number.
int32_t ParseNumber(std::string_view value, int32_t def);

// True when writing key=value into section cannot damage the file or land
// where reading will not look: names not empty after trimming, no line break
// or NUL anywhere, no "=" in the key, and a key that does not start like a
// comment or a header. (Blanks or quotes around the value are storable; they
// just do not read back.)
bool CanStore(std::string_view section, std::string_view key, std::string_view value);

// The bytes of the file after setting key in section to value:
// - an existing key (the one FindValue finds) keeps everything on its line up
//   to and including the "=" (the file's spelling of the key and its blanks)
//   and its line ending; only what follows the "=" becomes value;
// - a new key goes directly after the last key line of the section's first
//   occurrence (after the header when there is none), before any blank or
//   comment lines that close the section;
// - a new section goes at the end of the file, after a line ending if the file
//   lacks a final one, with no blank line before it.
// Added lines use the file's first line ending, or new_line when it has none.
// Every other byte stays as it was. The caller checks CanStore first.
std::string SetValue(std::string_view bytes, std::string_view section, std::string_view key,
                     std::string_view value, std::string_view new_line);

}  // namespace platform::ini
