// What the profile functions need from the operating system: the settings
// file read whole as the INI engine's text, and replaced whole. The engine
// and the profile functions over it are shared; each platform supplies this.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/profile.h"

namespace platform::settings_io {

// A settings file as the engine sees it.
struct Contents {
  ProfileFileState state = ProfileFileState::kMissing;
  // The engine's text: the file's bytes, or their UTF-8 form for a file kept
  // in UTF-16. Empty unless the state is kUsable.
  std::string text;
  // Windows: the file is UTF-16 and is written back so.
  bool utf16 = false;
  // Windows: the file has other names (hard links) that must see a write, so
  // it is rewritten in place (win32/linked_settings.h).
  bool linked = false;
};

// Reads the file when it can serve as a settings file: a regular file of at
// most kProfileSizeLimit bytes, opened without waiting on a pipe or device.
// Windows: a linked file's rewrite that was cut short is finished first.
Contents Read(const std::string& path);

// A stored value as UTF-8. Windows: a value that is not valid UTF-8 was
// written in the system's ANSI code page, before the program spoke UTF-8.
std::string ValueText(std::string value, const Contents& from);

// Puts text in place of the file's content in one step (a temporary beside
// it, made durable, then renamed over it), in the coding old was read in and
// with the file's permissions kept; on Windows a file with other names is
// rewritten in place under a journal instead (win32/linked_settings.h). A
// write-protected file is left as it is. On any failure the file is
// untouched, no temporary is left, and the reason is noted (platform/failure.h).
bool Replace(const std::string& path, const std::string& text, const Contents& old);

// Shared by both systems' Read: the bytes of a file the system has opened,
// read through read_some (the bytes it put into the room given, 0 at the
// end, negative on failure), when the file can serve as a settings file: a
// plain file whose size, as the system described it and as it is read, is
// at most kProfileSizeLimit. Empty bytes unless the answer is kUsable.
using ReadSome = std::function<int64_t(char* into, size_t room)>;
ProfileFileState ReadOpenedFile(bool plain_file, int64_t size, const ReadSome& read_some,
                                std::string& bytes);

// The line ending of lines the engine adds to a file that has none yet.
extern const char* const kLineEnd;

}  // namespace platform::settings_io
