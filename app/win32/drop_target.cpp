// The box as an OLE drop target, beside DragAcceptFiles: only through it does
// the box hear of a drag while it hovers, so that its face can show it. The
// dropped names then take the same way as those of WM_DROPFILES. It is set
// up once the box is on the screen, so that the first paint need not wait
// for OLE.
#include "app/win32/drop_box_shell.h"

#include <ole2.h>

#include <string>
#include <utility>
#include <vector>

#include "app/common/drop_box.h"

namespace {

FORMATETC FileListFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

// What the box takes a drag with, as OLE names it; the box is lit meanwhile.
DWORD TakenEffect(bool carries_files, DWORD allowed) {
  if (!Box) return DROPEFFECT_NONE;
  const DropEffect effect = Box->DragOver(carries_files, (allowed & DROPEFFECT_COPY) != 0,
                                          (allowed & DROPEFFECT_LINK) != 0);
  RefreshBox();
  return effect == DropEffect::kCopy   ? DROPEFFECT_COPY
         : effect == DropEffect::kLink ? DROPEFFECT_LINK
                                       : DROPEFFECT_NONE;
}

class FileDropTarget : public IDropTarget {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id == IID_IUnknown || id == IID_IDropTarget) {
      *object = static_cast<IDropTarget*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // One target lives for the whole run; counting is only kept for form.
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    FORMATETC format = FileListFormat();
    carries_files_ = data != nullptr && data->QueryGetData(&format) == S_OK;
    return DragOver(0, {}, effect);
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    *effect = TakenEffect(carries_files_, *effect);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    if (Box) Box->DragLeft();
    RefreshBox();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    *effect = TakenEffect(carries_files_, *effect);
    FORMATETC format = FileListFormat();
    STGMEDIUM medium = {};
    if (*effect == DROPEFFECT_NONE || data == nullptr || FAILED(data->GetData(&format, &medium))) {
      DragLeave();
      *effect = DROPEFFECT_NONE;
      return S_OK;
    }
    std::vector<std::string> names = DroppedNames(static_cast<HDROP>(medium.hGlobal));
    ReleaseStgMedium(&medium);
    Box->Receive(std::move(names));
    RefreshBox();
    // The action runs once the source is done with the drop, so that it is
    // not kept waiting while a question is on the screen.
    PostMessageW(DropBoxWindow, kDeliverDropMessage, 0, 0);
    return S_OK;
  }

 private:
  ULONG references_ = 1;
  bool carries_files_ = false;
};

FileDropTarget Target;
bool OleReady = false;

}  // namespace

void RegisterDropTarget(HWND window) {
  if (!OleReady) OleReady = SUCCEEDED(OleInitialize(nullptr));
  if (OleReady) RegisterDragDrop(window, &Target);
}

void RevokeDropTarget(HWND window) {
  if (OleReady) RevokeDragDrop(window);
}

IDropTarget* BoxDropTarget() { return &Target; }

void DeliverDrops() {
  if (!Box) return;
  Box->HandleWaiting();
  RefreshBox();
}
