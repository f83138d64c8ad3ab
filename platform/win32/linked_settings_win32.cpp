// The in-place rewrite of a settings file with several names, under its
// journal (linked_settings.h).
#include "platform/win32/linked_settings.h"

#include <windows.h>

#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/profile.h"
#include "platform/win32/long_path.h"
#include "platform/win32/owned_handle.h"

namespace platform::settings_io::linked {

namespace {

constexpr const char* kJournalHeader = "Quorlith rewrite\n";

// FNV-1a over the journal's two parts: enough to tell a journal written
// whole from one cut short.
uint64_t Check(const std::string& before, const std::string& after) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (const std::string* part : {&before, &after}) {
    for (const char c : *part) {
      hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
    }
  }
  return hash;
}

bool ParseJournal(const std::string& journal, std::string& before, std::string& after) {
  const std::string header(kJournalHeader);
  if (journal.compare(0, header.size(), header) != 0) return false;
  const size_t line_end = journal.find('\n', header.size());
  if (line_end == std::string::npos) return false;
  unsigned long long before_size = 0, after_size = 0;
  uint64_t check = 0;
  const std::string sizes = journal.substr(header.size(), line_end - header.size());
  if (std::sscanf(sizes.c_str(), "%llu %llu %" SCNx64, &before_size, &after_size, &check) != 3) {
    return false;
  }
  const size_t body = line_end + 1;
  if (journal.size() - body != before_size + after_size) return false;
  before = journal.substr(body, before_size);
  after = journal.substr(body + before_size);
  return Check(before, after) == check;
}

// The whole file, when it can be read (a settings file is never larger than
// kProfileSizeLimit).
bool ReadBytes(const std::string& path, std::string& bytes) {
  const win32::OwnedHandle file(CreateFileW(win32::SystemPath(path).c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                            nullptr));
  LARGE_INTEGER size;
  if (!file.valid() || !GetFileSizeEx(file.get(), &size) || size.QuadPart > kProfileSizeLimit) {
    return false;
  }
  bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got,
                  nullptr) ||
        got == 0) {
      return false;
    }
    done += got;
  }
  return true;
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

// Writes bytes into the file at path, made with disposition (CREATE_ALWAYS
// for the journal, OPEN_EXISTING for the settings file itself, whose
// identity and other names stay), and makes them durable.
bool WriteFileBytes(const std::string& path, const std::string& bytes, DWORD disposition) {
  win32::OwnedHandle file(CreateFileW(win32::SystemPath(path).c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  const bool written =
      WriteAll(file.get(), bytes) && SetEndOfFile(file.get()) && FlushFileBuffers(file.get());
  return file.Close() && written;
}

// True when now can be what an in-place write of after over before left
// when it was cut short: each byte is the new one, the old one or a zero
// the file system had not filled yet, and the length is no more than the
// longer of the two.
bool TornBetween(const std::string& now, const std::string& before, const std::string& after) {
  if (now.size() > std::max(before.size(), after.size())) return false;
  for (size_t i = 0; i < now.size(); ++i) {
    const char c = now[i];
    if (c != '\0' && (i >= after.size() || c != after[i]) && (i >= before.size() || c != before[i]))
      return false;
  }
  return true;
}

}  // namespace

std::string JournalPath(const std::string& path) { return path + ".pending"; }

std::string JournalBytes(const std::string& before, const std::string& after) {
  char sizes[80];
  std::snprintf(sizes, sizeof sizes, "%zu %zu %016" PRIx64 "\n", before.size(), after.size(),
                Check(before, after));
  return kJournalHeader + std::string(sizes) + before + after;
}

bool Rewrite(const std::string& path, const std::string& after) {
  const std::wstring wide = win32::SystemPath(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    SetLastError(ERROR_FILE_READ_ONLY);
    return false;
  }
  std::string before;
  if (!ReadBytes(path, before)) return false;
  const std::wstring journal = win32::SystemPath(JournalPath(path));
  if (!WriteFileBytes(JournalPath(path), JournalBytes(before, after), CREATE_ALWAYS)) {
    const DWORD error = GetLastError();
    DeleteFileW(journal.c_str());
    SetLastError(error);
    return false;
  }
  if (WriteFileBytes(path, after, OPEN_EXISTING)) {
    // A journal that stays (its removal failed) names the bytes the file
    // holds: the next read only removes it.
    DeleteFileW(journal.c_str());
    return true;
  }
  const DWORD error = GetLastError();
  if (WriteFileBytes(path, before, OPEN_EXISTING)) DeleteFileW(journal.c_str());
  SetLastError(error);
  return false;
}

bool FinishInterrupted(const std::string& path) {
  std::string journal, before, after, now;
  if (!ReadBytes(JournalPath(path), journal)) return false;
  const std::wstring journal_path = win32::SystemPath(JournalPath(path));
  if (!ParseJournal(journal, before, after)) {
    // Cut short before the file was touched: there is nothing to finish.
    DeleteFileW(journal_path.c_str());
    return false;
  }
  if (!ReadBytes(path, now)) return false;
  bool wrote = false;
  if (now != before && now != after && TornBetween(now, before, after)) {
    if (!WriteFileBytes(path, after, OPEN_EXISTING)) return false;
    wrote = true;
  }
  DeleteFileW(journal_path.c_str());
  return wrote;
}

}  // namespace platform::settings_io::linked
