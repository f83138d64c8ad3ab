// The system's folder picker: the common item dialog asked for folders
// (FOS_PICKFOLDERS), as Explorer's own settings pick them.
#include <shobjidl.h>

#include "app/win32/drop_box_shell.h"
#include "platform/win32/wide_text.h"

namespace {

// Releases a COM interface when it goes.
template <typename Interface>
struct Held {
  Interface* p = nullptr;
  ~Held() {
    if (p != nullptr) p->Release();
  }
};

}  // namespace

std::optional<std::string> PickFolder(HWND owner, const std::string& title,
                                      const std::string& start) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  std::optional<std::string> chosen;
  {
    Held<IFileOpenDialog> dialog;
    if (SUCCEEDED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IFileOpenDialog, reinterpret_cast<void**>(&dialog.p)))) {
      FILEOPENDIALOGOPTIONS options = 0;
      dialog.p->GetOptions(&options);
      dialog.p->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
      dialog.p->SetTitle(platform::win32::Widen(title).c_str());
      // It opens at the folder the field names, when that is one.
      Held<IShellItem> folder;
      if (!start.empty() && SUCCEEDED(SHCreateItemFromParsingName(
                                platform::win32::Widen(start).c_str(), nullptr, IID_IShellItem,
                                reinterpret_cast<void**>(&folder.p)))) {
        dialog.p->SetFolder(folder.p);
      }
      Held<IShellItem> result;
      wchar_t* path = nullptr;
      if (SUCCEEDED(dialog.p->Show(owner)) && SUCCEEDED(dialog.p->GetResult(&result.p)) &&
          SUCCEEDED(result.p->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
        chosen = platform::win32::Narrow(path);
        CoTaskMemFree(path);
      }
    }
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return chosen;
}
