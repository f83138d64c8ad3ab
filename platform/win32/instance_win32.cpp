// The claim on Windows: a named block of shared memory in the user's
// session, which the system removes once no process holds it. Its holder
// writes into it the handle of a message-only window of its own, to which
// later starts post their request.
#include <windows.h>

#include <string>
#include <utility>

#include "platform/instance.h"
#include "platform/win32/long_path.h"
#include "platform/win32/wide_text.h"

namespace platform {

namespace {

constexpr UINT kComeToFront = WM_APP + 1;
constexpr wchar_t kListenerClass[] = L"QuorlithInstance";

// The final path of an existing file or folder: links and short names
// resolved, each name in its letter case on disk. Empty when it is not there.
std::wstring FinalPath(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::wstring final_path(GetFinalPathNameByHandleW(file, nullptr, 0, 0), L'\0');
  const DWORD length =
      GetFinalPathNameByHandleW(file, final_path.data(), static_cast<DWORD>(final_path.size()), 0);
  CloseHandle(file);
  final_path.resize(length < final_path.size() ? length : 0);
  return final_path;
}

class MappingClaim final : public InstanceClaim {
 public:
  // An empty claim.
  MappingClaim() = default;
  // Holds mapping and puts a listener's handle into slot at once, so that a
  // later start finds it even while this box is still starting.
  MappingClaim(HANDLE mapping, volatile LONG* slot) : mapping_(mapping), slot_(slot) {
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
    InterlockedExchange(slot_, static_cast<LONG>(reinterpret_cast<LONG_PTR>(listener_)));
  }
  ~MappingClaim() override {
    if (listener_ != nullptr) DestroyWindow(listener_);
    if (slot_ != nullptr) UnmapViewOfFile(const_cast<LONG*>(slot_));
    if (mapping_ != nullptr) CloseHandle(mapping_);
  }

  void Serve(std::function<void()> come_to_front) override {
    come_ = std::move(come_to_front);
    if (asked_ && come_) come_();
  }

 private:
  static LRESULT CALLBACK ListenerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != kComeToFront) return DefWindowProcW(window, message, wparam, lparam);
    auto* claim = reinterpret_cast<MappingClaim*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (claim != nullptr) {
      // A request before the box is up is answered once it is.
      claim->asked_ = true;
      if (claim->come_) claim->come_();
    }
    return 0;
  }

  HANDLE mapping_ = nullptr;
  volatile LONG* slot_ = nullptr;
  HWND listener_ = nullptr;
  bool asked_ = false;
  std::function<void()> come_;
};

// Asks the holder to come to the front. Its listener is normally there at
// once; only a holder caught in the middle of its claim needs a moment.
void AskHolder(volatile LONG* slot) {
  for (int tries = 0; tries < 20; ++tries) {
    const LONG value = InterlockedCompareExchange(slot, 0, 0);
    if (value != 0) {
      HWND listener = reinterpret_cast<HWND>(static_cast<LONG_PTR>(value));
      // This start is what the user just did, so it may hand the foreground
      // on to the box it found.
      DWORD holder = 0;
      GetWindowThreadProcessId(listener, &holder);
      if (holder != 0) AllowSetForegroundWindow(holder);
      PostMessageW(listener, kComeToFront, 0, 0);
      return;
    }
    Sleep(50);
  }
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

std::unique_ptr<InstanceClaim> ClaimInstance(const std::string& key) {
  const std::wstring name = L"Local\\" + win32::Widen(InstanceName(key));
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(LONG), name.c_str());
  if (mapping == nullptr) return std::make_unique<MappingClaim>();
  const bool held = GetLastError() == ERROR_ALREADY_EXISTS;
  auto* slot =
      static_cast<volatile LONG*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(LONG)));
  if (slot == nullptr) {
    CloseHandle(mapping);
    return std::make_unique<MappingClaim>();
  }
  if (!held) return std::make_unique<MappingClaim>(mapping, slot);
  AskHolder(slot);
  UnmapViewOfFile(const_cast<LONG*>(slot));
  CloseHandle(mapping);
  return nullptr;
}

}  // namespace platform
