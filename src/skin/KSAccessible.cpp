#include "skin/KSAccessible.h"

// The accessibility header needs the platform's types first.
#include <oleacc.h>

#include <new>
#include <utility>

#include "foundation/KSComPtr.h"
#include "foundation/UtilStr.h"
#include "platform/KSWideText.h"
#include "skin/cControl.h"

// Interface identifiers come from the compiler (__uuidof): the import
// library's IID_IAccessible is the address of an import, not the identifier.
namespace {

// The accessibility library, and the automation library its objects need,
// are loaded on the first question a screen reader asks: most sessions never
// ask one, and loaded at start the two would add to every session's memory.
class AccessibilityLibrary {
 public:
  using CreateStdProc = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
  using LresultProc = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
  using AllocStringProc = BSTR(WINAPI*)(const OLECHAR*, UINT);

  static const AccessibilityLibrary& Get() {
    static const AccessibilityLibrary sLibrary;
    return sLibrary;
  }

  bool IsLoaded() const {
    return mCreateStd != nullptr && mLresult != nullptr && mAllocString != nullptr;
  }

  CreateStdProc mCreateStd = nullptr;
  LresultProc mLresult = nullptr;
  AllocStringProc mAllocString = nullptr;

 private:
  // Loaded for the rest of the process: objects handed out keep using them.
  AccessibilityLibrary() {
    HMODULE accessibility = LoadLibraryW(L"oleacc.dll");
    HMODULE automation = LoadLibraryW(L"oleaut32.dll");
    if (accessibility != nullptr && automation != nullptr) {
      mCreateStd = reinterpret_cast<CreateStdProc>(
          reinterpret_cast<void*>(GetProcAddress(accessibility, "CreateStdAccessibleObject")));
      mLresult = reinterpret_cast<LresultProc>(
          reinterpret_cast<void*>(GetProcAddress(accessibility, "LresultFromObject")));
      mAllocString = reinterpret_cast<AllocStringProc>(
          reinterpret_cast<void*>(GetProcAddress(automation, "SysAllocStringLen")));
    }
  }
};

bool IsSelf(const VARIANT& inChild) {
  return inChild.vt == VT_I4 && inChild.lVal == CHILDID_SELF;
}

HRESULT NewText(const UtilStr& inText, BSTR* outText) {
  KSWideText text(inText.getCStr());
  *outText = AccessibilityLibrary::Get().mAllocString(text.Get(), UINT(text.Length()));
  return *outText != nullptr ? S_OK : E_OUTOFMEMORY;
}

// The object keeps the window, not the control: a screen reader may hold it
// after the control has gone, and then it answers as the standard object.
class ControlAccessible final : public IAccessible {
 public:
  // A name given here stands for the control's own (a window without one).
  ControlAccessible(HWND inWind, KSComPtr<IAccessible>&& ioStandard, const char* inName = nullptr)
      : mRefs(1),
        mWind(inWind),
        mStandard(std::move(ioStandard)),
        mName(inName != nullptr ? inName : "") {}

  // --- IUnknown ---
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID inID, void** outObject) override {
    if (outObject == nullptr) {
      return E_POINTER;
    }
    if (IsEqualIID(inID, IID_IUnknown) || IsEqualIID(inID, IID_IDispatch) ||
        IsEqualIID(inID, __uuidof(IAccessible))) {
      *outObject = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *outObject = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&mRefs)); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG refs = InterlockedDecrement(&mRefs);
    if (refs == 0) {
      delete this;
    }
    return ULONG(refs);
  }

  // --- IDispatch: screen readers use the interface itself ---
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* outCount) override {
    *outCount = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // --- What the control says of itself ---
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT inChild, BSTR* outName) override {
    cControl* control = Control();
    if (IsSelf(inChild) && !mName.IsEmpty()) {
      return NewText(mName, outName);
    }
    if (!IsSelf(inChild) || control == nullptr) {
      return mStandard->get_accName(inChild, outName);
    }
    return NewText(control->AccessibleName(), outName);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT inChild, VARIANT* outRole) override {
    cControl* control = Control();
    if (!IsSelf(inChild) || control == nullptr) {
      return mStandard->get_accRole(inChild, outRole);
    }
    outRole->vt = VT_I4;
    outRole->lVal = control->AccessibleRole();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT inChild, VARIANT* outState) override {
    cControl* control = Control();
    if (!IsSelf(inChild) || control == nullptr) {
      return mStandard->get_accState(inChild, outState);
    }
    long state = control->AccessibleState();
    state |= IsWindowVisible(mWind) ? 0 : STATE_SYSTEM_INVISIBLE;
    state |= IsWindowEnabled(mWind) ? 0 : STATE_SYSTEM_UNAVAILABLE;
    state |= control->TakesFocus() ? STATE_SYSTEM_FOCUSABLE : 0;
    state |= GetFocus() == mWind ? STATE_SYSTEM_FOCUSED : 0;
    outState->vt = VT_I4;
    outState->lVal = state;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT inChild, BSTR* outValue) override {
    cControl* control = Control();
    UtilStr value;
    if (!IsSelf(inChild) || control == nullptr || !control->AccessibleValue(&value)) {
      return mStandard->get_accValue(inChild, outValue);
    }
    return NewText(value, outValue);
  }
  // What Enter does to the focused control.
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT inChild) override {
    cControl* control = Control();
    if (IsSelf(inChild) && control != nullptr && control->IsEnabled() &&
        control->OnDialogKey(VK_RETURN, false)) {
      return S_OK;
    }
    return mStandard->accDoDefaultAction(inChild);
  }

  // --- The standard object's ---
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** outParent) override {
    return mStandard->get_accParent(outParent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* outCount) override {
    return mStandard->get_accChildCount(outCount);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT inChild, IDispatch** outChild) override {
    return mStandard->get_accChild(inChild, outChild);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT inChild, BSTR* outText) override {
    return mStandard->get_accDescription(inChild, outText);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT inChild, BSTR* outText) override {
    return mStandard->get_accHelp(inChild, outText);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* outFile, VARIANT inChild,
                                             long* outTopic) override {
    return mStandard->get_accHelpTopic(outFile, inChild, outTopic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT inChild, BSTR* outText) override {
    return mStandard->get_accKeyboardShortcut(inChild, outText);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* outChild) override {
    return mStandard->get_accFocus(outChild);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* outChildren) override {
    return mStandard->get_accSelection(outChildren);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT inChild, BSTR* outText) override {
    return mStandard->get_accDefaultAction(inChild, outText);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long inFlags, VARIANT inChild) override {
    return mStandard->accSelect(inFlags, inChild);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* outLeft, long* outTop, long* outWidth,
                                        long* outHeight, VARIANT inChild) override {
    return mStandard->accLocation(outLeft, outTop, outWidth, outHeight, inChild);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long inDirection, VARIANT inStart,
                                        VARIANT* outEnd) override {
    return mStandard->accNavigate(inDirection, inStart, outEnd);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long inLeft, long inTop, VARIANT* outChild) override {
    return mStandard->accHitTest(inLeft, inTop, outChild);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT inChild, BSTR inName) override {
    return mStandard->put_accName(inChild, inName);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT inChild, BSTR inValue) override {
    return mStandard->put_accValue(inChild, inValue);
  }

 private:
  ~ControlAccessible() = default;

  cControl* Control() const {
    return ::IsWindow(mWind) ? dynamic_cast<cControl*>(cBaseWindow::FromWindow(mWind)) : nullptr;
  }

  LONG mRefs;
  HWND mWind;
  KSComPtr<IAccessible> mStandard;
  UtilStr mName;
};

}  // namespace

bool KSAccessible::Answer(HWND inWind, WPARAM inWParam, LRESULT* outResult) {
  return AnswerNamed(inWind, OBJID_CLIENT, inWParam, nullptr, outResult);
}

// Controls live on the window thread, which enters its apartment on the
// first question a screen reader asks (nothing else there needs one).
bool KSAccessible::AnswerNamed(HWND inWind, LONG inObjectID, WPARAM inWParam, const char* inName,
                               LRESULT* outResult) {
  static const HRESULT sApartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  (void)sApartment;
  const AccessibilityLibrary& library = AccessibilityLibrary::Get();
  if (!library.IsLoaded()) {
    return false;
  }
  KSComPtr<IAccessible> standard;
  if (FAILED(library.mCreateStd(inWind, inObjectID, __uuidof(IAccessible),
                                reinterpret_cast<void**>(standard.Receive()))) ||
      !standard) {
    return false;
  }
  // The answer takes a reference of its own; this one goes at the end.
  KSComPtr<ControlAccessible> object(new (std::nothrow)
                                         ControlAccessible(inWind, std::move(standard), inName));
  if (!object) {
    return false;
  }
  LRESULT result = library.mLresult(__uuidof(IAccessible), inWParam, object.Get());
  if (FAILED(HRESULT(result))) {
    return false;
  }
  *outResult = result;
  return true;
}
