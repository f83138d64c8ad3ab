// The program's entries with the Windows session: the Run value that starts
// it at logon, and its shortcut in the Send To menu. The Windows setup makes
// and removes the same value and shortcut, by the same names.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "platform/failure.h"
#include "platform/file_query.h"
#include "platform/known_folders.h"
#include "platform/session_start.h"
#include "platform/win32/long_path.h"
#include "platform/win32/wide_text.h"

namespace platform {

namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kRunValue = L"Quorlith";
constexpr int kSendToFolder = 0x0009;  // CSIDL_SENDTO

bool Refused(unsigned long code) {
  NoteFailure(Failure::kSystem, code);
  return false;
}

// The shortcut's path; the folder is made first when create is set.
std::string SendToShortcut(bool create) {
  const std::string folder = SpecialFolderPath(kSendToFolder, create);
  return folder.empty() ? std::string() : folder + "\\Quorlith.lnk";
}

bool HasRunValue() {
  return RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, RRF_RT_ANY, nullptr, nullptr,
                      nullptr) == ERROR_SUCCESS;
}

bool SetRunValue(bool on) {
  HKEY key = nullptr;
  LSTATUS status = on ? RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE,
                                        nullptr, &key, nullptr)
                      : RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key);
  if (status == ERROR_FILE_NOT_FOUND && !on) return true;  // no Run key, no value
  if (status != ERROR_SUCCESS) return Refused(static_cast<unsigned long>(status));
  if (on) {
    // The program's path in quotes, as the system splits the command line.
    const std::wstring command = L"\"" + win32::Widen(ExecutablePath()) + L"\"";
    status =
        RegSetValueExW(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
  } else {
    status = RegDeleteValueW(key, kRunValue);
    if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
  }
  RegCloseKey(key);
  return status == ERROR_SUCCESS || Refused(static_cast<unsigned long>(status));
}

// Saves a shortcut to the running program at path.
bool SaveShortcut(const std::string& path) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* link = nullptr;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void**>(&link));
  if (SUCCEEDED(result)) {
    const std::string program = ExecutablePath();
    const std::string folder = program.substr(0, program.find_last_of('\\') + 1);
    result = link->SetPath(win32::Widen(program).c_str());
    if (SUCCEEDED(result)) result = link->SetWorkingDirectory(win32::Widen(folder).c_str());
    if (SUCCEEDED(result)) {
      result = link->SetDescription(L"A configurable drag-box to capture the path of a file.");
    }
    IPersistFile* file = nullptr;
    if (SUCCEEDED(result)) {
      result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    }
    if (SUCCEEDED(result)) {
      result = file->Save(win32::Widen(path).c_str(), TRUE);
      file->Release();
    }
    link->Release();
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return SUCCEEDED(result) || Refused(static_cast<unsigned long>(result));
}

bool SetSendTo(bool on) {
  const std::string shortcut = SendToShortcut(on);
  if (shortcut.empty()) return on ? Refused(ERROR_PATH_NOT_FOUND) : true;
  if (on) return SaveShortcut(shortcut);
  if (DeleteFileW(win32::SystemPath(shortcut).c_str())) return true;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || Refused(error);
}

}  // namespace

bool SessionEntryKnown(SessionEntry /*entry*/) { return true; }

bool HasSessionEntry(SessionEntry entry) {
  if (entry == SessionEntry::kStartWithSession) return HasRunValue();
  const std::string shortcut = SendToShortcut(false);
  return !shortcut.empty() && IsRegularFile(shortcut);
}

bool SetSessionEntry(SessionEntry entry, bool on, const std::string& /*settings_file*/) {
  return entry == SessionEntry::kStartWithSession ? SetRunValue(on) : SetSendTo(on);
}

std::string SessionEntryPlace(SessionEntry entry) {
  if (entry == SessionEntry::kSendTo) return SendToShortcut(false);
  return "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Quorlith";
}

}  // namespace platform
