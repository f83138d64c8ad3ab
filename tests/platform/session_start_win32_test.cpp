// The Windows session entries made, read back with the system's own tools and removed: the Run
// value with reg.exe, the Send To shortcut resolved through the shell; one made as the setup
// makes it is found and removed just the same.
#include <windows.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "platform/file_query.h"
#include "platform/session_start.h"
#include "platform/win32/wide_text.h"
#include "tests/support/temp_folder.h"

namespace {

using platform::SessionEntry;
using platform::win32::Narrow;
using platform::win32::Widen;

// What "reg query" prints for the Run value, and its exit code.
std::pair<int, std::string> RegQuery() {
  FILE* reg = _wpopen(
      L"reg.exe query HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run /v Quorlith 2>&1",
      L"r");
  std::string output;
  char chunk[512];
  while (reg != nullptr && std::fgets(chunk, sizeof chunk, reg) != nullptr) output += chunk;
  return {reg != nullptr ? _pclose(reg) : 999, output};
}

// The program a shortcut starts, as the shell resolves it.
std::string ShortcutTarget(const std::string& shortcut) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  std::wstring target(MAX_PATH, L'\0');
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(Widen(shortcut).c_str(), STGM_READ)) &&
      SUCCEEDED(link->GetPath(target.data(), MAX_PATH, nullptr, 0))) {
    target.resize(wcslen(target.c_str()));
  } else {
    target.clear();
  }
  if (file != nullptr) file->Release();
  if (link != nullptr) link->Release();
  CoUninitialize();
  return Narrow(target);
}

// As the setup makes them: the Run value for another copy, a shortcut to it.
void MadeBySetup(SessionEntry entry, const std::string& program) {
  if (entry == SessionEntry::kStartWithSession) {
    const std::wstring command = L"\"" + Widen(program) + L"\"";
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                    L"Quorlith", REG_SZ, command.c_str(),
                    static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
  } else {
    testing_support::WriteFile(platform::SessionEntryPlace(entry), "not a real shortcut");
  }
}

TEST(SessionStart, TheRunValueAndTheSendToShortcutAreMadeReadBackAndRemoved) {
  const std::string program = platform::ExecutablePath();
  for (const SessionEntry entry : {SessionEntry::kStartWithSession, SessionEntry::kSendTo}) {
    SCOPED_TRACE(entry == SessionEntry::kSendTo ? "Send To" : "Run");
    ASSERT_TRUE(platform::SessionEntryKnown(entry));
    ASSERT_TRUE(platform::SetSessionEntry(entry, false, ""));
    EXPECT_FALSE(platform::HasSessionEntry(entry));
    ASSERT_TRUE(platform::SetSessionEntry(entry, true, "ignored.ini"));
    EXPECT_TRUE(platform::HasSessionEntry(entry));
    if (entry == SessionEntry::kStartWithSession) {
      const auto [code, output] = RegQuery();
      EXPECT_EQ(code, 0) << output;
      EXPECT_NE(output.find("REG_SZ"), std::string::npos) << output;
      EXPECT_NE(output.find("\"" + program + "\""), std::string::npos) << output;
    } else {
      EXPECT_EQ(
          platform::SessionEntryPlace(entry).substr(platform::SessionEntryPlace(entry).size() - 13),
          "\\Quorlith.lnk");
      EXPECT_EQ(ShortcutTarget(platform::SessionEntryPlace(entry)), program);
    }
    for (const bool by_setup : {false, true}) {
      if (by_setup) MadeBySetup(entry, "C:\\Program Files\\Quorlith\\Quorlith.exe");
      EXPECT_TRUE(platform::HasSessionEntry(entry));
      EXPECT_TRUE(platform::SetSessionEntry(entry, false, ""));
      EXPECT_FALSE(platform::HasSessionEntry(entry));
      if (entry == SessionEntry::kStartWithSession) {
        EXPECT_NE(RegQuery().first, 0);
      } else {
        EXPECT_FALSE(testing_support::Exists(platform::SessionEntryPlace(entry)));
      }
    }
  }
}

}  // namespace
