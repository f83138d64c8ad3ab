// The handover to the box that holds a settings file, between real processes: this executable
// started again as the later start.
#include <windows.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/instance.h"
#include "platform/shared/handover_wire.h"
#include "platform/win32/owned_handle.h"
#include "platform/win32/wide_text.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace testing_support;
using platform::win32::OwnedHandle;
using Paths = std::vector<std::string>;

const Paths kPaths = {
    "C:\\a b\\with  spaces.txt",
    "D:\\\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82 \xE6\x97\xA5\xF0\x9F\x98\x80.txt",
    "-leading-dash", "line\nbreak"};
constexpr wchar_t kKeyVariable[] = L"QUORLITH_TEST_LATER_START";
constexpr wchar_t kPathsVariable[] = L"QUORLITH_TEST_LATER_PATHS";
// Set: the later start asks the holder to close, and waits until it has.
constexpr wchar_t kCloseVariable[] = L"QUORLITH_TEST_LATER_CLOSE";

// Started as a later start by the tests below, this executable hands over its request and ends
// before any test runs: with 0 when the holder took it.
const bool kLaterStart = [] {
  wchar_t key[2048];
  const DWORD length = GetEnvironmentVariableW(kKeyVariable, key, 2048);
  if (length == 0 || length >= 2048) return false;
  const bool with_paths = GetEnvironmentVariableW(kPathsVariable, nullptr, 0) != 0;
  const bool close = GetEnvironmentVariableW(kCloseVariable, nullptr, 0) != 0;
  platform::InstanceRequest request = platform::RequestFromHere(with_paths ? kPaths : Paths{});
  if (close) request.kind = platform::RequestKind::kClose;
  bool taken = false;
  const auto claim = platform::ClaimInstance(platform::win32::Narrow(key), request, &taken);
  const bool ended =
      !close || platform::AwaitInstanceEnd(platform::win32::Narrow(key), std::chrono::seconds(10));
  ExitProcess(claim == nullptr && taken && ended ? 0 : 1);
}();

void ServeMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// A later start over key from folder, in a process of its own; its exit code, this thread's
// messages served meanwhile, and -1 when it did not end in time.
int LaterStart(const std::string& key, const std::string& folder, bool with_paths,
               bool close = false) {
  SetEnvironmentVariableW(kKeyVariable, platform::win32::Widen(key).c_str());
  SetEnvironmentVariableW(kPathsVariable, with_paths ? L"1" : nullptr);
  SetEnvironmentVariableW(kCloseVariable, close ? L"1" : nullptr);
  std::wstring program(32768, L'\0'), folder_w = platform::win32::Widen(folder);
  program.resize(GetModuleFileNameW(nullptr, program.data(), 32768));
  std::wstring command = L"\"" + program + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  const bool made = CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                                   nullptr, folder_w.c_str(), &startup, &started);
  SetEnvironmentVariableW(kKeyVariable, nullptr);
  const OwnedHandle process(started.hProcess), thread(started.hThread);
  DWORD code = STILL_ACTIVE;
  for (const ULONGLONG end = GetTickCount64() + 30000; made && GetTickCount64() < end;) {
    HANDLE waited = process.get();
    MsgWaitForMultipleObjects(1, &waited, FALSE, 100, QS_ALLINPUT);
    ServeMessages();  // the requests taken are handed on from the loop
    if (GetExitCodeProcess(waited, &code) && code != STILL_ACTIVE) return static_cast<int>(code);
  }
  if (made) TerminateProcess(process.get(), 2);
  return -1;
}

class Holder : public testing::Test {
 protected:
  void Serve() {
    claim->ServeRequests([this](platform::InstanceRequest r) { received.push_back(std::move(r)); });
  }
  TempFolder temp;
  std::string key = platform::InstanceKey(temp / "Quorlith.ini");
  std::unique_ptr<platform::InstanceClaim> claim = platform::ClaimInstance(key);
  std::vector<platform::InstanceRequest> received;
};

TEST_F(Holder, LaterStartsHandOverTheirPathsWholeAndInOrder) {
  ASSERT_NE(claim, nullptr);
  const std::string here = temp / "started here \xC3\xBC";
  MakeFolder(here);
  // Taken while the holder is still starting, and handed on once it serves.
  EXPECT_EQ(LaterStart(key, here, true), 0);
  EXPECT_TRUE(received.empty());
  Serve();
  ServeMessages();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].working_folder, here);
  EXPECT_EQ(received[0].paths, kPaths);
  EXPECT_EQ(LaterStart(key, here, false), 0);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[1].paths, Paths{});  // only "come to the front"
}

// A close is handed over like paths; the later start then waits until the holder has let go.
TEST_F(Holder, ALaterStartsCloseEndsTheHolderAndWaitsForIt) {
  ASSERT_NE(claim, nullptr);
  EXPECT_TRUE(platform::InstanceHeld(key));
  claim->ServeRequests([this](platform::InstanceRequest r) {
    received.push_back(r);
    if (r.kind == platform::RequestKind::kClose) claim.reset();
  });
  EXPECT_EQ(LaterStart(key, temp.path(), false, true), 0);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].kind, platform::RequestKind::kClose);
  EXPECT_FALSE(platform::InstanceHeld(key));
}

TEST_F(Holder, MalformedRequestsAreRefusedAndTheNextIsServed) {
  ASSERT_NE(claim, nullptr);
  Serve();
  HWND listener = FindWindowExW(HWND_MESSAGE, nullptr, L"QuorlithInstance", nullptr);
  ASSERT_NE(listener, nullptr);
  const std::string good = platform::handover::Encode({"C:\\w", {"C:\\a"}});
  std::string nul = good;
  nul[nul.find("C:\\a")] = '\0';
  const struct {
    const char* what;
    ULONG_PTR tag;
    std::string bytes;
  } rows[] = {{"garbage", 0x484C5251, "GET / HTTP/1.1\r\n\r\n"},
              {"another program's data", 1, good},
              {"a NUL in a path", 0x484C5251, nul},
              {"truncated", 0x484C5251, good.substr(0, good.size() - 1)},
              {"over 64 MiB", 0x484C5251, good + std::string(64 << 20, 'x')},
              {"nothing", 0x484C5251, ""}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    COPYDATASTRUCT data = {row.tag, static_cast<DWORD>(row.bytes.size()),
                           const_cast<char*>(row.bytes.data())};
    EXPECT_EQ(SendMessageW(listener, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), FALSE);
  }
  ServeMessages();
  EXPECT_TRUE(received.empty());
  EXPECT_EQ(LaterStart(key, temp.path(), false), 0);
  EXPECT_EQ(received.size(), 1u);
}

}  // namespace
