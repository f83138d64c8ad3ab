// Reading a settings file the system has opened, the same on both systems.
#include "platform/shared/settings_file_io.h"

namespace platform::settings_io {

ProfileFileState ReadOpenedFile(bool plain_file, int64_t size, const ReadSome& read_some,
                                std::string& bytes) {
  bytes.clear();
  if (!plain_file) return ProfileFileState::kNotAFile;
  if (size > kProfileSizeLimit) return ProfileFileState::kTooLarge;
  bytes.reserve(static_cast<size_t>(size));
  char chunk[65536];
  for (;;) {
    const int64_t got = read_some(chunk, sizeof chunk);
    if (got == 0) return ProfileFileState::kUsable;
    ProfileFileState failed = ProfileFileState::kUnreadable;
    if (got > 0) {
      if (bytes.size() + static_cast<size_t>(got) <= static_cast<size_t>(kProfileSizeLimit)) {
        bytes.append(chunk, static_cast<size_t>(got));
        continue;
      }
      failed = ProfileFileState::kTooLarge;  // it grew while being read
    }
    bytes.clear();
    return failed;
  }
}

}  // namespace platform::settings_io
