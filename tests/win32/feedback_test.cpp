// The box's feedback on Windows: a drag hovering through the OLE drop target,
// the flash and the tip after the drop, and the box staying free while a slow
// copy runs.
#include <ole2.h>
#include <shlobj.h>

#include <atomic>
#include <cstring>

#include "app/common/menu_commands.h"
#include "platform/file_ops.h"
#include "platform/win32/wide_text.h"
#include "tests/support/clipboard_win32.h"
#include "tests/win32/drop_box_fixture.h"

namespace win32_testing {
namespace {

// A data object that offers its names as CF_HDROP, as a file manager's does.
class FileList : public IDataObject {
 public:
  explicit FileList(const std::vector<std::string>& names) {
    for (const std::string& name : names) list_ += platform::win32::Widen(name) + L'\0';
    list_ += L'\0';
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    const size_t size = list_.size() * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + size);
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(header + 1, list_.data(), size);
    GlobalUnlock(block);
    *medium = {};
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = block;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK
                                                                          : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

 private:
  std::wstring list_;
};

using Win32Feedback = DropBoxTest;

TEST_F(Win32Feedback, HoverHighlightsADropFlashesAndTheTipSaysWhatHappened) {
  WriteSettings();
  Start();
  FileList files({"C:\\a\\one.txt", "C:\\b\\two.txt"});
  IDropTarget* target = BoxDropTarget();
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  ASSERT_EQ(target->DragEnter(&files, 0, {20, 20}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));  // never a move
  EXPECT_EQ(BoxLook().tint, BoxFace::Tint::kHover);
  target->DragLeave();
  EXPECT_EQ(BoxLook().tint, BoxFace::Tint::kNone);

  effect = DROPEFFECT_COPY;
  target->DragEnter(&files, 0, {20, 20}, &effect);
  ASSERT_EQ(target->Drop(&files, 0, {20, 20}, &effect), S_OK);
  EXPECT_EQ(BoxLook().tint, BoxFace::Tint::kFlash);
  PumpUntilDone();
  EXPECT_EQ(testing_support::ClipboardText(), "C:\\a\\one.txt\rC:\\b\\two.txt");
  EXPECT_EQ(BoxTip(), "2 paths on the clipboard");
  Sleep(600);
  PumpUntilDone();
  EXPECT_EQ(BoxLook().tint, BoxFace::Tint::kNone);
}

// The copy of the second file is held for a while: the box answers and moves
// meanwhile and shows its progress; Exit lets that file finish and skips the
// third.
TEST_F(Win32Feedback, TheBoxStaysFreeDuringWorkAndExitFinishesOnlyTheCurrentFile) {
  const std::string out = folder_ / "out\\";
  testing_support::MakeFolder(out);
  const std::string in = folder_ / "in\\";
  testing_support::WriteFile(in + "a.bin", std::string(2 << 20, 'a'));
  testing_support::WriteFile(in + "b.bin", std::string(1 << 20, 'b'));
  testing_support::WriteFile(in + "c.bin", "c");
  WriteSettings({{"CommandMode", "2"}, {"confirmcopy", "0"}, {"CopyDestination", out}});
  Start();
  std::atomic<int> starts{0};
  platform::SetCopyPacer([&](uint64_t done) {
    if (done == 0 && ++starts == 2) Sleep(1500);
  });
  FileList files({in + "a.bin", in + "b.bin", in + "c.bin"});
  DWORD effect = DROPEFFECT_COPY;
  BoxDropTarget()->DragEnter(&files, 0, {20, 20}, &effect);
  BoxDropTarget()->Drop(&files, 0, {20, 20}, &effect);
  const ULONGLONG give_up = GetTickCount64() + 5000;
  while (BoxTip().rfind("Copying", 0) != 0 && GetTickCount64() < give_up) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(5);
  }
  EXPECT_EQ(BoxTip(), "Copying 2 of 3: b.bin (66 %)");
  EXPECT_GT(BoxLook().done, 0.6);
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutA(DropBoxWindow, WM_NULL, 0, 0, SMTO_BLOCK, 200, &answer), 0);
  SetWindowPos(DropBoxWindow, nullptr, 300, 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(Placement()[0], 300);

  Send(WM_COMMAND, IDM_EXIT);
  platform::SetCopyPacer(nullptr);
  EXPECT_FALSE(IsWindow(DropBoxWindow));
  EXPECT_EQ(testing_support::NamesIn(out), (std::vector<std::string>{"a.bin", "b.bin"}));
  EXPECT_EQ(testing_support::ReadFile(out + "b.bin").size(), size_t{1} << 20);
}

}  // namespace
}  // namespace win32_testing
