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

enum class ReadOutcome { kRead, kMissing, kFailed };

// The whole file into bytes. A folder, or any error other than a missing
// file, is a failure.
ReadOutcome ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  HANDLE file = CreateFileW(win32::SystemPath(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return missing ? ReadOutcome::kMissing : ReadOutcome::kFailed;
  }
  char chunk[65536];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr) != 0) && got > 0) {
    bytes.append(chunk, got);
  }
  CloseHandle(file);
  return ok ? ReadOutcome::kRead : ReadOutcome::kFailed;
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

// The settings text of a file; a missing or unreadable file holds no keys.
std::string FileText(const std::string& path, Coding* coding = nullptr) {
  std::string bytes;
  if (ReadWholeFile(path, bytes) != ReadOutcome::kRead) bytes.clear();
  const Coding found = CodingOf(bytes);
  if (coding != nullptr) *coding = found;
  return Decode(bytes, found);
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

std::string ProfileReadText(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& def, int max_chars) {
  Coding coding = Coding::kBytes;
  if (std::optional<std::string> value = ini::FindValue(FileText(file, &coding), section, key)) {
    // Written before the program spoke UTF-8: in the system's ANSI code page.
    if (coding == Coding::kBytes && !win32::IsUtf8(*value)) {
      *value = win32::FromCodePage(*value, win32::SystemAnsiCodePage());
    }
    return Cut(*value, max_chars);
  }
  // As GetPrivateProfileString does, the default loses its trailing spaces.
  return Cut(def.substr(0, def.find_last_not_of(' ') + 1), max_chars);
}

int ProfileReadNumber(const std::string& file, const std::string& section,
                      const std::string& key, int def) {
  const std::optional<std::string> value = ini::FindValue(FileText(file), section, key);
  return value ? ini::ParseNumber(*value, def) : def;
}

bool ProfileWriteText(const std::string& file, const std::string& section,
                      const std::string& key, const std::string& value) {
  // A value with a line break would damage the file; refuse it untouched.
  if (!ini::CanStore(section, key, value)) return false;
  std::string bytes;
  const ReadOutcome outcome = ReadWholeFile(file, bytes);
  // A file that cannot be read must not be replaced by what little we know.
  if (outcome == ReadOutcome::kFailed) return false;
  const Coding coding = CodingOf(bytes);
  const std::string text = Decode(bytes, coding);
  const std::string updated = ini::SetValue(text, section, key, value, "\r\n");
  if (outcome == ReadOutcome::kMissing || updated != text) {
    if (!ReplaceFileBytes(file, Encode(updated, coding))) return false;
  }
  const std::optional<std::string> stored = ini::FindValue(FileText(file), section, key);
  return stored && *stored == value;
}

}  // namespace platform
