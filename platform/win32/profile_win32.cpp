// The INI primitives on Windows, over the project's own INI engine. The
// system's profile functions decode a file in the process's code page, which
// is UTF-8 now: every byte of an older settings file written in the ANSI code
// page that is no valid UTF-8 comes back as U+FFFD, and writing one number
// rewrites the whole file with those in place of the user's text. The engine
// reads and edits the bytes themselves, so a write changes nothing but its
// own value, and an old value that is no valid UTF-8 is read in the system's
// ANSI code page, as the program wrote it.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "platform/profile.h"
#include "platform/shared/ini_document.h"
#include "platform/win32/long_path.h"
#include "platform/win32/wide_text.h"

namespace platform {

namespace {

// The whole file into bytes, when it can serve as a settings file: a
// regular file of at most kProfileSizeLimit bytes. A folder or a device is
// refused before anything is read.
ProfileFileState ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  HANDLE file = CreateFileW(win32::SystemPath(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return missing ? ProfileFileState::kMissing : ProfileFileState::kUnreadable;
  }
  BY_HANDLE_FILE_INFORMATION info;
  ProfileFileState state = ProfileFileState::kUsable;
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info)) {
    state = ProfileFileState::kNotAFile;
  } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    state = ProfileFileState::kNotAFile;
  } else if (((static_cast<int64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow) >
             kProfileSizeLimit) {
    state = ProfileFileState::kTooLarge;
  }
  char chunk[65536];
  DWORD got = 0;
  while (state == ProfileFileState::kUsable) {
    if (!ReadFile(file, chunk, sizeof chunk, &got, nullptr)) {
      state = ProfileFileState::kUnreadable;
    } else if (got == 0) {
      break;
    } else if (bytes.size() + got > static_cast<size_t>(kProfileSizeLimit)) {
      state = ProfileFileState::kTooLarge;  // it grew while being read
    } else {
      bytes.append(chunk, got);
    }
  }
  CloseHandle(file);
  if (state != ProfileFileState::kUsable) bytes.clear();
  return state;
}

// A file saved as UTF-16 (Notepad's "Unicode", with its byte-order mark) is
// read and written in UTF-16, as the profile functions do; the engine works
// on its UTF-8 form.
enum class Coding { kBytes, kUtf16 };

constexpr std::string_view kUtf16Mark = "\xFF\xFE";

Coding CodingOf(const std::string& bytes) {
  return bytes.rfind(kUtf16Mark, 0) == 0 ? Coding::kUtf16 : Coding::kBytes;
}

std::string Decode(const std::string& bytes, Coding coding) {
  if (coding == Coding::kBytes) return bytes;
  std::wstring wide((bytes.size() - kUtf16Mark.size()) / 2, L'\0');
  std::memcpy(wide.data(), bytes.data() + kUtf16Mark.size(), wide.size() * 2);
  return win32::Narrow(wide);
}

std::string Encode(const std::string& text, Coding coding) {
  if (coding == Coding::kBytes) return text;
  const std::wstring wide = win32::Widen(text);
  std::string bytes(kUtf16Mark);
  bytes.append(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
  return bytes;
}

// The document a ProfileSnapshot holds: one snapshot at a time.
struct HeldDocument {
  bool active = false;
  std::string path;
  ProfileFileState state = ProfileFileState::kMissing;
  Coding coding = Coding::kBytes;
  std::string text;
};

HeldDocument& Held() {
  static HeldDocument held;
  return held;
}

void ReleaseHeld() {
  HeldDocument& held = Held();
  held.active = false;
  std::string().swap(held.text);
}

// The settings text of a file and its coding; a file that cannot be used
// holds no keys.
ProfileFileState ReadText(const std::string& path, std::string& text, Coding& coding) {
  std::string bytes;
  const ProfileFileState state = ReadWholeFile(path, bytes);
  coding = CodingOf(bytes);
  text = Decode(bytes, coding);
  return state;
}

// The value of a key, from the held document when it is this file's, else
// from a fresh read. An old value that is no valid UTF-8 was written in the
// system's ANSI code page, before the program spoke UTF-8.
std::optional<std::string> FindInFile(const std::string& path, const std::string& section,
                                      const std::string& key) {
  const HeldDocument& held = Held();
  std::string fresh;
  Coding coding = Coding::kBytes;
  const std::string* text = &fresh;
  if (held.active && held.path == path) {
    if (held.state != ProfileFileState::kUsable) return std::nullopt;
    text = &held.text;
    coding = held.coding;
  } else if (ReadText(path, fresh, coding) != ProfileFileState::kUsable) {
    return std::nullopt;
  }
  std::optional<std::string> value = ini::FindValue(*text, section, key);
  if (value && coding == Coding::kBytes && !win32::IsUtf8(*value)) {
    *value = win32::FromCodePage(*value, win32::SystemAnsiCodePage());
  }
  return value;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
    DWORD put = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &put, nullptr) || put == 0) return false;
    done += put;
  }
  return true;
}

// Writes bytes to a fresh temporary beside path, then moves it over path in
// one step, with the old file's attributes. On any failure path is untouched
// and the temporary is gone. A read-only settings file is never replaced.
bool ReplaceFileBytes(const std::string& path, const std::string& bytes) {
  const DWORD old = GetFileAttributesW(win32::SystemPath(path).c_str());
  if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY) != 0) return false;
  static int counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::wstring temporary = win32::SystemPath(
        path + ".quorlith-" + std::to_string(GetCurrentProcessId()) + "-" +
        std::to_string(counter++) + ".tmp");
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;  // someone else's: try another
      return false;
    }
    bool ok = WriteAll(file, bytes) && FlushFileBuffers(file) != 0;
    ok = CloseHandle(file) != 0 && ok;
    if (ok && old != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(temporary.c_str(), old);
    ok = ok && MoveFileExW(temporary.c_str(), win32::SystemPath(path).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) {
      SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(temporary.c_str());
    }
    return ok;
  }
  return false;
}

std::string Cut(std::string text, int max_chars) {
  text.resize(std::min(text.size(), static_cast<size_t>(std::max(max_chars, 0))));
  return text;
}

}  // namespace

ProfileSnapshot::ProfileSnapshot(const std::string& file) {
  HeldDocument& held = Held();
  held.path = file;
  held.state = ReadText(file, held.text, held.coding);
  held.active = true;
  state_ = held.state;
}

ProfileSnapshot::~ProfileSnapshot() { ReleaseHeld(); }

std::string ProfileReadText(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& def, int max_chars) {
  if (std::optional<std::string> value = FindInFile(file, section, key)) {
    return Cut(*value, max_chars);
  }
  // As GetPrivateProfileString does, the default loses its trailing spaces.
  return Cut(def.substr(0, def.find_last_not_of(' ') + 1), max_chars);
}

int ProfileReadNumber(const std::string& file, const std::string& section,
                      const std::string& key, int def) {
  const std::optional<std::string> value = FindInFile(file, section, key);
  return value ? ini::ParseNumber(*value, def) : def;
}

bool ProfileWriteText(const std::string& file, const std::string& section,
                      const std::string& key, const std::string& value) {
  ReleaseHeld();
  // A value with a line break would damage the file; refuse it untouched.
  if (!ini::CanStore(section, key, value)) return false;
  std::string text;
  Coding coding = Coding::kBytes;
  const ProfileFileState state = ReadText(file, text, coding);
  // A file that cannot be read must not be replaced by what little we know.
  if (state != ProfileFileState::kUsable && state != ProfileFileState::kMissing) return false;
  const std::string updated = ini::SetValue(text, section, key, value, "\r\n");
  if (state == ProfileFileState::kMissing || updated != text) {
    if (!ReplaceFileBytes(file, Encode(updated, coding))) return false;
  }
  const std::optional<std::string> stored = FindInFile(file, section, key);
  return stored && *stored == value;
}

}  // namespace platform
