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

#include "actions/drop_list.h"

namespace {

FORMATETC FileListFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

// The files stay where they are as far as the source is concerned: a copy,
// or a link when that is all the source offers; never a move.
DWORD AcceptedEffect(DWORD allowed) {
  if (allowed & DROPEFFECT_COPY) return DROPEFFECT_COPY;
  if (allowed & DROPEFFECT_LINK) return DROPEFFECT_LINK;
  return DROPEFFECT_NONE;
}

class BoxDropTarget : public IDropTarget {
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
    *effect = carries_files_ ? AcceptedEffect(*effect) : DROPEFFECT_NONE;
    FeedbackHover(*effect != DROPEFFECT_NONE);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    FeedbackHover(false);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    *effect = carries_files_ ? AcceptedEffect(*effect) : DROPEFFECT_NONE;
    FORMATETC format = FileListFormat();
    STGMEDIUM medium = {};
    if (*effect == DROPEFFECT_NONE || data == nullptr || FAILED(data->GetData(&format, &medium))) {
      FeedbackHover(false);
      *effect = DROPEFFECT_NONE;
      return S_OK;
    }
    std::vector<std::string> names = DroppedNames(static_cast<HDROP>(medium.hGlobal));
    ReleaseStgMedium(&medium);
    FeedbackDropped();
    // The action runs once the source is done with the drop, so that it is
    // not kept waiting while a question is on the screen.
    pending_.push_back(std::move(names));
    PostMessageW(DropBoxWindow, kDeliverDropMessage, 0, 0);
    return S_OK;
  }

  // The names of the drops made so far, oldest first.
  std::vector<std::vector<std::string>> TakePending() { return std::exchange(pending_, {}); }

 private:
  ULONG references_ = 1;
  bool carries_files_ = false;
  std::vector<std::vector<std::string>> pending_;
};

BoxDropTarget Target;
bool OleReady = false;

}  // namespace

void RegisterDropTarget(HWND window) {
  if (!OleReady) OleReady = SUCCEEDED(OleInitialize(nullptr));
  if (OleReady) RegisterDragDrop(window, &Target);
}

void RevokeDropTarget(HWND window) {
  if (!OleReady) return;
  RevokeDragDrop(window);
  Target.TakePending();
}

IDropTarget* BoxDropTarget() { return &Target; }

void DeliverDrops() {
  for (std::vector<std::string>& names : Target.TakePending()) {
    SubmitDrop(std::move(names));
    FeedbackWorkMayHaveBegun();
  }
}
