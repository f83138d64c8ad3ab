// The INI file primitives, over the project's own engine on every platform:
// it reads and writes the files the system's profile functions read and
// write, the same way for everything the program relies on, and keeps every
// byte it does not change.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The largest settings file that is read: a bigger one is refused unread, so
// that a huge file cannot stall the start or exhaust memory.
constexpr int64_t kProfileSizeLimit = 16 << 20;

// What a look at a settings file found.
enum class ProfileFileState {
  kUsable,      // a regular file that can be read, at most kProfileSizeLimit bytes
  kMissing,     // nothing there: it holds no keys
  kNotAFile,    // a folder, a named pipe, a device...
  kUnreadable,  // there, but it cannot be read (permissions, a dangling link...)
  kTooLarge,    // more than kProfileSizeLimit bytes
};

// One load of a settings file: the file is looked at once, never waiting on a
// pipe or a device, and while this object lives every read of that file takes
// its keys from that one look (a load reads the file once, not once per key).
// Writes to the file end the snapshot's hold on it.
class ProfileSnapshot {
 public:
  explicit ProfileSnapshot(const std::string& file);
  ~ProfileSnapshot();
  ProfileSnapshot(const ProfileSnapshot&) = delete;
  ProfileSnapshot& operator=(const ProfileSnapshot&) = delete;

  ProfileFileState state() const { return state_; }

 private:
  ProfileFileState state_;
};

// The value of key in section, or def (less its trailing spaces) when the
// file, section or key is missing or the file cannot be used. At most
// max_chars characters come back; a longer value is cut.
std::string ProfileReadText(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& def, int max_chars);
// The value read as a number (leading blanks, an optional sign, a "0x" hex,
// "0o" octal or "0b" binary prefix or decimal digits up to the first other
// character, wrapped modulo 2^32; only the first 29 characters count); def
// when the key is missing or its value is empty.
int ProfileReadNumber(const std::string& file, const std::string& section, const std::string& key,
                      int def);
// Writes key=value into section, creating the file and the section as needed.
// A file that is write-protected, or that cannot be used as a settings file,
// is left as it is. True when the file holds the new value afterwards.
bool ProfileWriteText(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& value);

// One key to write, and its value.
struct ProfileEntry {
  std::string section;
  std::string key;
  std::string value;
};
// Writes every entry into the file as it is now, in one replacement of the
// whole file: each existing key changes in its place, a new one goes where
// ProfileWriteText puts it, and every other byte stays. Nothing is written
// when the file holds these values already. On any failure the file is left
// as it was, whole, and reason says why in words for the user. True when the
// file holds every new value afterwards.
bool ProfileWriteTexts(const std::string& file, const std::vector<ProfileEntry>& entries,
                       std::string& reason);

// True when the file is there, usable, and holds nothing at all (a UTF-16
// file: nothing but its byte-order mark).
bool ProfileFileEmpty(const std::string& file);

}  // namespace platform
