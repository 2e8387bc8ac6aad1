// Native controls: a platform control class chosen by the control type.
#include <windows.h>
// The common controls' header needs the platform's types first.
#include <commctrl.h>

#include <cstdint>

#include "foundation/KSError.h"
#include "foundation/KSLastError.h"
#include "platform/BaseUtils.h"
#include "platform/cBaseWindow.h"

namespace {

struct NativeClass {
  const wchar_t* mName;
  const char* mNameText;  // for error boxes
  DWORD mStyle;           // beyond WS_CHILD, or WS_POPUP for tool tips
  DWORD mExStyle;
};

DWORD If(unsigned long inStyles, unsigned long inSkinStyle, DWORD inStyle) {
  return (inStyles & inSkinStyle) ? inStyle : 0;
}

// The platform class and styles of a control type with the skin's style
// bits; false for types that have no native control.
bool NativeClassOf(eControlType inType, unsigned long inStyles, NativeClass* outClass) {
  bool custom = (inStyles & kStyleCustom) != 0;
  switch (inType) {
    case kControlTypeToolTip:
      *outClass = {TOOLTIPS_CLASSW, "tooltips_class32", WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                   WS_EX_TOPMOST | WS_EX_TOOLWINDOW};
      return true;
    case kControlTypeButton:
      *outClass = {L"BUTTON", "BUTTON", custom ? DWORD(BS_OWNERDRAW) : BS_PUSHBUTTON, 0};
      return true;
    case kControlTypeCheckBox:
      *outClass = {L"BUTTON", "BUTTON", custom ? DWORD(BS_OWNERDRAW) : BS_AUTOCHECKBOX, 0};
      return true;
    case kControlTypeComboBox:
      *outClass = {L"COMBOBOX", "COMBOBOX",
                   CBS_DROPDOWNLIST | WS_VSCROLL | WS_BORDER | If(inStyles, kStyleSort, CBS_SORT),
                   0};
      return true;
    case kControlTypeListBox:
      *outClass = {
          L"LISTBOX", "LISTBOX",
          LBS_NOTIFY | WS_BORDER | If(inStyles, kStyleCustom, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS) |
              If(inStyles, kStyleSort, LBS_SORT) | If(inStyles, kStyleMultiSelect, LBS_MULTIPLESEL),
          0};
      return true;
    case kControlTypeSlider:
      *outClass = {TRACKBAR_CLASSW, "msctls_trackbar32",
                   TBS_BOTH | TBS_NOTICKS | TBS_FIXEDLENGTH | TBS_DOWNISLEFT, 0};
      return true;
    case kControlTypeLabel:
    case kControlTypeLink:
    case kControlTypeGraphic:
      *outClass = {L"BUTTON", "BUTTON", BS_OWNERDRAW, 0};
      return true;
    case kControlTypeEdit:
      *outClass = {L"EDIT", "EDIT",
                   ES_AUTOHSCROLL | ES_NOHIDESEL | If(inStyles, kStyleReadOnly, ES_READONLY) |
                       If(inStyles, kStyleMultiLine, ES_MULTILINE | ES_WANTRETURN),
                   WS_EX_CLIENTEDGE};
      return true;
    case kControlTypeScrollBar:
      *outClass = {L"SCROLLBAR", "SCROLLBAR",
                   DWORD((inStyles & kStyleVertical) ? SBS_VERT : SBS_HORZ), 0};
      return true;
    case kControlTypeListView:
      *outClass = {WC_LISTVIEWW, "SysListView32",
                   DWORD(LVS_REPORT | LVS_OWNERDRAWFIXED | WS_BORDER |
                         ((inStyles & kStyleMultiSelect) ? 0 : LVS_SINGLESEL)),
                   WS_EX_CLIENTEDGE};
      return true;
    default:
      return false;
  }
}

// The common control classes (slider, list view, tool tip) exist once the
// library has been initialised.
void InitCommonControlClasses() {
  static const bool sDone = [] {
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    return InitCommonControlsEx(&init) != FALSE;
  }();
  (void)sDone;
}

}  // namespace

long cBaseWindow::CreateControl(eControlType inType, unsigned long inStyles, long inID, long inX,
                                long inY, long inWidth, long inHeight, unsigned long inFlags,
                                cBaseWindow* inParent) {
  NativeClass native;
  if (!NativeClassOf(inType, inStyles, &native)) {
    return kKSErr_FormatNotRecognized;
  }
  if (IsWindow()) {
    return kKSErr_BadState;  // one window per object
  }
  InitCommonControlClasses();
  HWND parent = inParent != nullptr ? inParent->mWind : nullptr;
  bool popup = (native.mStyle & WS_POPUP) != 0;
  DWORD style = native.mStyle | (popup ? 0 : WS_CHILD) | StyleOf(inFlags);
  HMENU id = popup ? nullptr : reinterpret_cast<HMENU>(intptr_t(inID));
  HWND wind = CreateWindowExW(native.mExStyle | ExStyleOf(inFlags), native.mName, L"", style, inX,
                              inY, inWidth, inHeight, parent, id, InstanceOf(parent), nullptr);
  if (wind == nullptr) {
    long err = KSLastError();
    BaseShowError(parent, err, "Error creating control window.", native.mNameText);
    return err;
  }
  Assign(wind);
  long err = OnCreate();
  if (err != 0) {
    if (IsWindow()) {
      DestroyWindow(mWind);
    }
    Detach();
    BaseShowError(parent, err, "Control creation failed.", native.mNameText);
  }
  return err;
}
