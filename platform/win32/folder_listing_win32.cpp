// Folders listed one entry at a time, and what an entry is, on Windows. A
// reparse point counts as a link unless its tag says it is a file or folder
// whose data lies elsewhere (deduplicated, in the cloud, compressed): an
// unknown tag (0, as Wine reports its links) is never followed either.
#include <windows.h>

#include "platform/failure.h"
#include "platform/folder_ops.h"
#include "platform/win32/long_path.h"
#include "platform/win32/owned_handle.h"

namespace platform {

namespace {

using win32::SystemPath;

EntryKind KindOfFound(DWORD attributes, DWORD tag) {
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
      (tag == 0 || IsReparseTagNameSurrogate(tag))) {
    return EntryKind::kLink;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return EntryKind::kFolder;
  if (attributes & FILE_ATTRIBUTE_DEVICE) return EntryKind::kSpecial;
  return EntryKind::kFile;
}

uint64_t SizeFound(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

bool IsDotEntry(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// Opened for questions only, so that no other program's sharing stands in the way.
win32::OwnedHandle QuestionHandle(const std::string& path) {
  return win32::OwnedHandle(CreateFileW(
      SystemPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

bool Absent(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

}  // namespace

struct FolderListing::State {
  win32::OwnedSearch search;
  WIN32_FIND_DATAW found{};
  bool opened = false;
  bool pending = false;  // found holds an entry not given yet
  bool failed = false;
  FolderIdentity identity;
};

FolderListing::FolderListing(const std::string& path, bool) : state_(std::make_unique<State>()) {
  const win32::OwnedHandle folder = QuestionHandle(path);
  BY_HANDLE_FILE_INFORMATION info;
  if (!folder.valid() || !GetFileInformationByHandle(folder.get(), &info)) {
    NoteSystemFailure();
    return;
  }
  state_->identity = {info.dwVolumeSerialNumber,
                      SizeFound(info.nFileIndexHigh, info.nFileIndexLow)};
  std::wstring pattern = SystemPath(path);
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L'*';
  state_->search = win32::OwnedSearch(FindFirstFileExW(pattern.c_str(), FindExInfoBasic,
                                                       &state_->found, FindExSearchNameMatch,
                                                       nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (state_->search.valid()) {
    state_->pending = true;
  } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {  // that one: nothing in it
    NoteSystemFailure();
    return;
  }
  state_->opened = true;
}

FolderListing::~FolderListing() = default;

bool FolderListing::opened() const { return state_->opened; }

FolderIdentity FolderListing::identity() const { return state_->identity; }

bool FolderListing::failed() const { return state_->failed; }

bool FolderListing::Next(FolderEntry& entry) {
  State& state = *state_;
  if (!state.search.valid() || state.failed) return false;
  for (;;) {
    if (!state.pending && !FindNextFileW(state.search.get(), &state.found)) {
      if (GetLastError() == ERROR_NO_MORE_FILES) return false;
      NoteSystemFailure();
      state.failed = true;
      return false;
    }
    state.pending = false;
    if (IsDotEntry(state.found.cFileName)) continue;
    entry.name = win32::ProgramPath(state.found.cFileName);
    entry.kind = KindOfFound(state.found.dwFileAttributes, state.found.dwReserved0);
    entry.size = entry.kind == EntryKind::kFile
                     ? SizeFound(state.found.nFileSizeHigh, state.found.nFileSizeLow)
                     : 0;
    return true;
  }
}

EntryKind KindOf(const std::string& path, uint64_t* size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(SystemPath(path).c_str(), GetFileExInfoStandard, &data)) {
    if (Absent(GetLastError())) return EntryKind::kNone;
    NoteSystemFailure();
    return EntryKind::kUnknown;
  }
  DWORD tag = 0;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    WIN32_FIND_DATAW found;
    const win32::OwnedSearch search(FindFirstFileW(SystemPath(path).c_str(), &found));
    if (search.valid()) tag = found.dwReserved0;
  }
  const EntryKind kind = KindOfFound(data.dwFileAttributes, tag);
  if (size != nullptr) {
    *size = kind == EntryKind::kFile ? SizeFound(data.nFileSizeHigh, data.nFileSizeLow) : 0;
  }
  return kind;
}

bool IdentityOf(const std::string& path, FolderIdentity& identity) {
  const win32::OwnedHandle handle = QuestionHandle(path);
  BY_HANDLE_FILE_INFORMATION info;
  if (!handle.valid() || !GetFileInformationByHandle(handle.get(), &info)) return false;
  identity = {info.dwVolumeSerialNumber, SizeFound(info.nFileIndexHigh, info.nFileIndexLow)};
  return true;
}

std::string ResolvedPath(const std::string& path) {
  const win32::OwnedHandle handle = QuestionHandle(path);
  if (!handle.valid()) {
    NoteSystemFailure();
    return {};
  }
  std::wstring resolved(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD length = GetFinalPathNameByHandleW(
        handle.get(), resolved.data(), static_cast<DWORD>(resolved.size()), FILE_NAME_NORMALIZED);
    if (length == 0) break;
    if (length < resolved.size()) {
      resolved.resize(length);
      return win32::ProgramPath(resolved);
    }
    resolved.assign(length, L'\0');  // the size asked for, terminator included
  }
  NoteSystemFailure();
  return {};
}

}  // namespace platform
