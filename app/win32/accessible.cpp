// The box as screen readers see it. Its window title stays "Quorlithdropbox";
// the box gives its own name and says what a drop does. Windows' standard
// accessible object of the window does everything else: the box's object
// hands every other question on to it. The settings window's controls give
// their names the same way, so that a field is named by its meaning rather
// than by what it holds.
#include <oleacc.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "app/common/box_texts.h"
#include "app/win32/drop_box_shell.h"
#include "app/win32/late_library.h"
#include "platform/win32/wide_text.h"

namespace {

// The import library's IID_IAccessible is oleacc.dll's exported data, which a
// program linked without dllimport reads wrongly; the header's own id is right.
const IID kAccessibleId = __uuidof(IAccessible);

// oleacc.dll and oleaut32.dll serve screen readers alone: they are loaded
// when the first one asks, not at every start.
struct AccessibilityFunctions {
  decltype(&CreateStdAccessibleObject) create_standard;
  decltype(&LresultFromObject) answer;
  decltype(&SysAllocStringLen) make_text;
};
const AccessibilityFunctions& Accessibility() {
  static const AccessibilityFunctions functions = {
      LateFunction<decltype(&CreateStdAccessibleObject)>(L"oleacc.dll",
                                                         "CreateStdAccessibleObject"),
      LateFunction<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject"),
      LateFunction<decltype(&SysAllocStringLen)>(L"oleaut32.dll", "SysAllocStringLen")};
  return functions;
}

// What a window says of itself; nothing leaves the question to the standard
// object.
using Said = std::function<std::optional<std::string>()>;

class NamedAccessible final : public IAccessible {
 public:
  NamedAccessible(IAccessible* standard, Said name, Said description)
      : standard_(standard), name_(std::move(name)), description_(std::move(description)) {
    // Within this process the object goes by pointer; to other processes
    // (the screen reader) by the system's own marshaling of IAccessible.
    CoCreateFreeThreadedMarshaler(static_cast<IAccessible*>(this), &marshaler_);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id == IID_IUnknown || id == IID_IDispatch || id == kAccessibleId) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    if (id == IID_IMarshal && marshaler_ != nullptr) return marshaler_->QueryInterface(id, object);
    // Nothing else: COM marshals this object, not the standard one.
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
      if (marshaler_ != nullptr) marshaler_->Release();
      standard_->Release();
      delete this;
    }
    return static_cast<ULONG>(left);
  }

  // What the window says of itself.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    const std::optional<std::string> said = Self(child) && name_ ? name_() : std::nullopt;
    return said ? Text(*said, name) : standard_->get_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    const std::optional<std::string> said =
        Self(child) && description_ ? description_() : std::nullopt;
    return said ? Text(*said, description) : standard_->get_accDescription(child, description);
  }

  // Everything else is the standard object's.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID locale, ITypeInfo** info) override {
    return standard_->GetTypeInfo(i, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(id, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* bad_argument) override {
    return standard_->Invoke(member, id, locale, flags, params, result, exception, bad_argument);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return standard_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return standard_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return standard_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
    return standard_->accHitTest(left, top, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  static bool Self(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }
  static HRESULT Text(const std::string& text, BSTR* out) {
    const std::wstring wide = platform::win32::Widen(text);
    *out = Accessibility().make_text(wide.data(), static_cast<UINT>(wide.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
  }

  IAccessible* standard_;
  Said name_;
  Said description_;
  IUnknown* marshaler_ = nullptr;
  LONG references_ = 1;
};

// Answers WM_GETOBJECT for the window's client with the standard object
// under what the window says; false when that cannot be had.
bool AnswerWith(HWND window, WPARAM wparam, LPARAM lparam, Said name, Said description,
                LRESULT& answer) {
  const AccessibilityFunctions& functions = Accessibility();
  if (static_cast<LONG>(lparam) != OBJID_CLIENT || functions.create_standard == nullptr ||
      functions.answer == nullptr || functions.make_text == nullptr) {
    return false;
  }
  IAccessible* standard = nullptr;
  if (FAILED(functions.create_standard(window, OBJID_CLIENT, kAccessibleId,
                                       reinterpret_cast<void**>(&standard)))) {
    return false;
  }
  auto* named = new NamedAccessible(standard, std::move(name), std::move(description));
  answer = functions.answer(kAccessibleId, wparam, named);
  named->Release();  // the answer holds its own reference
  return true;
}

}  // namespace

LRESULT AnswerAccessibility(HWND window, WPARAM wparam, LPARAM lparam) {
  LRESULT answer = 0;
  const bool answered = AnswerWith(
      window, wparam, lparam, [] { return std::optional<std::string>(kAccessibleName); },
      []() -> std::optional<std::string> {
        if (!Box) return std::nullopt;
        return Box->Description();
      },
      answer);
  return answered ? answer : DefWindowProcA(window, WM_GETOBJECT, wparam, lparam);
}

bool AnswerAccessibilityNamed(HWND window, WPARAM wparam, LPARAM lparam, const std::string& name,
                              LRESULT& answer) {
  return AnswerWith(
      window, wparam, lparam, [name] { return std::optional<std::string>(name); }, nullptr, answer);
}
