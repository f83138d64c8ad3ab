// The settings file on Windows, for the project's own INI engine. The
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
#include <string>
#include <string_view>

#include "platform/failure.h"
#include "platform/shared/named_temporaries.h"
#include "platform/shared/settings_file_io.h"
#include "platform/win32/linked_settings.h"
#include "platform/win32/long_path.h"
#include "platform/win32/owned_handle.h"
#include "platform/win32/wide_text.h"

namespace platform::settings_io {

namespace {

// The whole file into bytes, when it can serve as a settings file: a
// regular file of at most kProfileSizeLimit bytes. A folder or a device is
// refused before anything is read. links is set to the file's number of names.
ProfileFileState ReadWholeFile(const std::string& path, std::string& bytes, DWORD& links) {
  links = 1;
  bytes.clear();
  const win32::OwnedHandle file(CreateFileW(win32::SystemPath(path).c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                            nullptr));
  if (!file.valid()) {
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return missing ? ProfileFileState::kMissing : ProfileFileState::kUnreadable;
  }
  BY_HANDLE_FILE_INFORMATION info;
  const bool plain = GetFileType(file.get()) == FILE_TYPE_DISK &&
                     GetFileInformationByHandle(file.get(), &info) &&
                     (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  const int64_t size =
      plain ? (static_cast<int64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow : 0;
  if (plain) links = info.nNumberOfLinks;
  return ReadOpenedFile(
      plain, size,
      [&](char* into, size_t room) -> int64_t {
        DWORD got = 0;
        if (!ReadFile(file.get(), into, static_cast<DWORD>(room), &got, nullptr)) {
          return -1;
        }
        return got;
      },
      bytes);
}

// A file saved as UTF-16 (Notepad's "Unicode", with its byte-order mark) is
// read and written in UTF-16, as the profile functions do; the engine works
// on its UTF-8 form.
constexpr std::string_view kUtf16Mark = "\xFF\xFE";

std::string FromUtf16(const std::string& bytes) {
  std::wstring wide((bytes.size() - kUtf16Mark.size()) / 2, L'\0');
  std::memcpy(wide.data(), bytes.data() + kUtf16Mark.size(), wide.size() * 2);
  return win32::Narrow(wide);
}

std::string ToUtf16(const std::string& text) {
  const std::wstring wide = win32::Widen(text);
  std::string bytes(kUtf16Mark);
  bytes.append(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
  return bytes;
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

// Notes the system's error of the moment as the reason of a failed write.
bool Failed() {
  const DWORD error = GetLastError();
  NoteFailure(Failure::kSystem, error != 0 ? error : ERROR_WRITE_FAULT);
  return false;
}

// Writes bytes to a named temporary beside path (shared/named_temporaries.h),
// then moves it over path in one step, with the old file's attributes. On
// any failure path is untouched, the temporary is gone and the reason is
// noted. A read-only settings file is never replaced.
bool ReplaceFileBytes(const std::string& path, const std::string& bytes) {
  const DWORD old = GetFileAttributesW(win32::SystemPath(path).c_str());
  if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY) != 0) {
    NoteFailure(Failure::kSystem, ERROR_FILE_READ_ONLY);
    return false;
  }
  const size_t separator = path.find_last_of("\\/");
  const std::string folder = separator == std::string::npos ? "" : path.substr(0, separator + 1);
  win32::OwnedHandle file;
  DWORD made_error = 0;
  const std::string temporary = temporaries::Make(folder, [&](const std::string& name) {
    file = win32::OwnedHandle(CreateFileW(win32::SystemPath(name).c_str(), GENERIC_WRITE, 0,
                                          nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.valid()) return temporaries::Made::kMade;
    made_error = GetLastError();
    return made_error == ERROR_FILE_EXISTS ? temporaries::Made::kTaken : temporaries::Made::kFailed;
  });
  if (temporary.empty()) {
    SetLastError(made_error);
    return Failed();
  }
  const std::wstring wide = win32::SystemPath(temporary);
  bool ok = (WriteAll(file.get(), bytes) && FlushFileBuffers(file.get()) != 0) || Failed();
  // The first reason counts: a close after a failed write may fail too.
  const bool closed = file.Close();
  if (!closed && ok) Failed();
  ok = ok && closed;
  if (ok && old != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(wide.c_str(), old);
  ok = ok && (MoveFileExW(wide.c_str(), win32::SystemPath(path).c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0 ||
              Failed());
  if (ok)
    temporaries::Forget(temporary);
  else
    temporaries::Discard(temporary);
  return ok;
}

}  // namespace

const char* const kLineEnd = "\r\n";

Contents Read(const std::string& path) {
  Contents contents;
  DWORD links = 1;
  contents.state = ReadWholeFile(path, contents.text, links);
  // A linked file whose last rewrite was cut short is finished first.
  if (links > 1 && linked::FinishInterrupted(path)) {
    contents.state = ReadWholeFile(path, contents.text, links);
  }
  contents.linked = links > 1;
  contents.utf16 = contents.text.rfind(kUtf16Mark, 0) == 0;
  if (contents.utf16) contents.text = FromUtf16(contents.text);
  return contents;
}

std::string ValueText(std::string value, const Contents& from) {
  if (from.utf16 || win32::IsUtf8(value)) return value;
  return win32::FromCodePage(value, win32::SystemAnsiCodePage());
}

bool Replace(const std::string& path, const std::string& text, const Contents& old) {
  const std::string bytes = old.utf16 ? ToUtf16(text) : text;
  // Every name of a linked file sees the change: it is rewritten in place.
  if (old.linked) return linked::Rewrite(path, bytes);
  return ReplaceFileBytes(path, bytes);
}

}  // namespace platform::settings_io
