// The claim on Windows: a named block of shared memory in the user's
// session, which the system removes once no process holds it. Its holder
// writes into it the handle of a message-only window of its own, to which
// later starts send their requests as WM_COPYDATA.
//
// WM_COPYDATA rather than a named pipe: every message loop of the box's
// thread serves it, those of its message boxes and menus included, without a
// thread or overlapped reads of its own; the system copies the data into the
// box before the window procedure sees it, and the sender learns from the
// result whether it was taken; and it reaches the box only from the same
// desktop and from processes of no lower integrity (UIPI), which could drop
// files on the box just as well.
#include <windows.h>

#include <deque>
#include <optional>
#include <string>
#include <utility>

#include "platform/instance.h"
#include "platform/shared/handover_wire.h"
#include "platform/win32/long_path.h"
#include "platform/win32/owned_handle.h"
#include "platform/win32/wide_text.h"

namespace platform {

namespace {

constexpr UINT kDeliver = WM_APP + 1;
constexpr ULONG_PTR kHandoverTag = 0x484C5251;  // "QRLH"
constexpr wchar_t kListenerClass[] = L"QuorlithInstance";
// How long a later start waits for the holder to take its request: long
// enough for a holder that is itself still starting.
constexpr ULONGLONG kHandoverWaitMs = 10000;
constexpr DWORD kRetryMs = 50;

// The final path of an existing file or folder: links and short names
// resolved, each name in its letter case on disk. Empty when it is not there.
std::wstring FinalPath(const std::wstring& path) {
  const win32::OwnedHandle file(
      CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) return {};
  std::wstring final_path(GetFinalPathNameByHandleW(file.get(), nullptr, 0, 0), L'\0');
  const DWORD length = GetFinalPathNameByHandleW(file.get(), final_path.data(),
                                                 static_cast<DWORD>(final_path.size()), 0);
  final_path.resize(length < final_path.size() ? length : 0);
  return final_path;
}

class MappingClaim final : public InstanceClaim {
 public:
  // An empty claim.
  MappingClaim() = default;
  // Holds mapping and puts a listener's handle into its view at once, so
  // that a later start finds it even while this box is still starting.
  MappingClaim(win32::OwnedHandle mapping, win32::OwnedView view)
      : mapping_(std::move(mapping)), view_(std::move(view)) {
    static const ATOM registered = [] {
      WNDCLASSW listener_class = {};
      listener_class.lpfnWndProc = ListenerProc;
      listener_class.hInstance = GetModuleHandleW(nullptr);
      listener_class.lpszClassName = kListenerClass;
      return RegisterClassW(&listener_class);
    }();
    if (registered == 0) return;
    listener_ = CreateWindowExW(0, kListenerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (listener_ == nullptr) return;
    SetWindowLongPtrW(listener_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Window handles have 32 significant bits, in 64-bit programs too.
    InterlockedExchange(static_cast<volatile LONG*>(view_.get()),
                        static_cast<LONG>(reinterpret_cast<LONG_PTR>(listener_)));
  }
  ~MappingClaim() override {
    if (listener_ != nullptr) DestroyWindow(listener_);
  }
  MappingClaim(const MappingClaim&) = delete;
  MappingClaim& operator=(const MappingClaim&) = delete;

  void ServeRequests(std::function<void(InstanceRequest)> on_request) override {
    if (listener_ == nullptr || on_request_) return;
    on_request_ = std::move(on_request);
    if (!pending_.empty()) PostMessageW(listener_, kDeliver, 0, 0);
  }

 private:
  static LRESULT CALLBACK ListenerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* claim = reinterpret_cast<MappingClaim*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (claim != nullptr && message == WM_COPYDATA) {
      return claim->Take(reinterpret_cast<const COPYDATASTRUCT*>(lparam)) ? TRUE : FALSE;
    }
    if (claim != nullptr && message == kDeliver) {
      claim->Deliver();
      return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }

  // Keeps a well-formed request, which the sender's copy of the data becomes
  // once this returns; anything else is refused.
  bool Take(const COPYDATASTRUCT* data) {
    if (data == nullptr || data->dwData != kHandoverTag || data->lpData == nullptr ||
        data->cbData > kMaxHandoverBytes) {
      return false;
    }
    std::optional<InstanceRequest> request =
        handover::Decode({static_cast<const char*>(data->lpData), data->cbData});
    if (!request) return false;
    pending_.push_back(std::move(*request));
    // Handed on from the loop, once the sender has its answer: a handler
    // that asks the user something must not keep the sender waiting.
    if (on_request_) PostMessageW(listener_, kDeliver, 0, 0);
    return true;
  }

  void Deliver() {
    // The handler may run a nested loop that delivers the next requests, or
    // end the claim.
    const std::function<void(InstanceRequest)> handler = on_request_;
    const std::weak_ptr<bool> alive = alive_;
    while (!alive.expired() && !pending_.empty()) {
      InstanceRequest request = std::move(pending_.front());
      pending_.pop_front();
      handler(std::move(request));
    }
  }

  win32::OwnedHandle mapping_;
  win32::OwnedView view_;
  HWND listener_ = nullptr;
  std::deque<InstanceRequest> pending_;
  std::function<void(InstanceRequest)> on_request_;
  const std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

enum class Answer { kTaken, kRefused, kSilent };

// Sends message to the listener named in slot and waits for its answer. A
// holder caught in the middle of its claim, or whose listener is gone,
// refused; one that has not answered by the deadline is silent.
Answer SendTo(volatile LONG* slot, const std::string& message, ULONGLONG deadline) {
  const LONG value = InterlockedCompareExchange(slot, 0, 0);
  if (value == 0) return Answer::kRefused;
  HWND listener = reinterpret_cast<HWND>(static_cast<LONG_PTR>(value));
  DWORD holder = 0;
  GetWindowThreadProcessId(listener, &holder);
  if (holder == 0) return Answer::kRefused;
  // This start is what the user just did, so it may hand the foreground on
  // to the box it found.
  AllowSetForegroundWindow(holder);
  const ULONGLONG now = GetTickCount64();
  if (now >= deadline) return Answer::kSilent;
  COPYDATASTRUCT data = {kHandoverTag, static_cast<DWORD>(message.size()),
                         const_cast<char*>(message.data())};
  DWORD_PTR result = FALSE;
  if (SendMessageTimeoutW(listener, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                          SMTO_NORMAL | SMTO_ABORTIFHUNG, static_cast<UINT>(deadline - now),
                          &result) == 0) {
    return GetLastError() == ERROR_TIMEOUT ? Answer::kSilent : Answer::kRefused;
  }
  return result == TRUE ? Answer::kTaken : Answer::kRefused;
}

// One try: the claim when nobody holds key (an empty one when it cannot be
// made), or null with the holder's answer.
std::unique_ptr<InstanceClaim> TryClaim(const std::wstring& name, const std::string& message,
                                        ULONGLONG deadline, Answer& answer) {
  win32::OwnedHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                sizeof(LONG), name.c_str()));
  if (!mapping.valid()) return std::make_unique<MappingClaim>();
  const bool held = GetLastError() == ERROR_ALREADY_EXISTS;
  win32::OwnedView view(MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(LONG)));
  if (!view.valid()) return std::make_unique<MappingClaim>();
  if (!held) return std::make_unique<MappingClaim>(std::move(mapping), std::move(view));
  answer = message.empty() ? Answer::kSilent
                           : SendTo(static_cast<volatile LONG*>(view.get()), message, deadline);
  return nullptr;
}

}  // namespace

std::string InstanceKey(const std::string& settings_path) {
  std::wstring key = FinalPath(win32::SystemPath(settings_path));
  if (key.empty()) {
    // Not written yet: the final path of its folder and the name.
    const size_t cut = settings_path.find_last_of("\\/");
    const std::string folder_path =
        cut == std::string::npos ? "." : settings_path.substr(0, cut + 1);
    const std::wstring folder = FinalPath(win32::SystemPath(folder_path));
    const std::string name = settings_path.substr(cut == std::string::npos ? 0 : cut + 1);
    if (!folder.empty()) {
      key = folder + (folder.back() == L'\\' ? L"" : L"\\") + win32::Widen(name);
    } else {
      key = win32::Widen(settings_path);
    }
  }
  // The file system ignores letter case.
  CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
  return win32::Narrow(key);
}

InstanceRequest RequestFromHere(std::vector<std::string> paths) {
  InstanceRequest request{{}, std::move(paths)};
  std::wstring here(GetCurrentDirectoryW(0, nullptr), L'\0');
  const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(here.size()), here.data());
  if (length > 0 && length < here.size())
    request.working_folder = win32::Narrow(here.substr(0, length));
  return request;
}

std::unique_ptr<InstanceClaim> ClaimInstance(const std::string& key, const InstanceRequest& request,
                                             bool* taken) {
  if (taken != nullptr) *taken = false;
  const std::wstring name = L"Local\\" + win32::Widen(InstanceName(key));
  const ULONGLONG deadline = GetTickCount64() + kHandoverWaitMs;
  // A request beyond the bounds is not sent; the holder is left as it is.
  const std::string message = handover::Encode(request);
  for (;;) {
    Answer answer = Answer::kSilent;
    std::unique_ptr<InstanceClaim> claim = TryClaim(name, message, deadline, answer);
    if (claim != nullptr || answer == Answer::kSilent) return claim;
    if (answer == Answer::kTaken) {
      if (taken != nullptr) *taken = true;
      return nullptr;
    }
    // Refused: another look once the mapping is let go, as the holder may
    // have ended since.
    if (GetTickCount64() >= deadline) return nullptr;
    Sleep(kRetryMs);
  }
}

bool InstanceHeld(const std::string& key) {
  // The system removes the named block once no process holds it, however the
  // holder ended.
  const std::wstring name = L"Local\\" + win32::Widen(InstanceName(key));
  const win32::OwnedHandle mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str()));
  return mapping.valid();
}

}  // namespace platform
