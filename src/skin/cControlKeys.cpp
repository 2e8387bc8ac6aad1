// cControl: the keyboard focus, its mark, and what screen readers learn of
// a control.
#include <windows.h>
// The accessibility header needs the platform's types first.
#include <oleacc.h>

#include "platform/BaseUtils.h"
#include "skin/KSAccessible.h"
#include "skin/cControl.h"

namespace {

// What a label can show of its text to a screen reader.
const unsigned long kNameSize = 1024;

}  // namespace

bool cControl::TakesFocus() {
  switch (mInfo.Type) {
    case kControlTypeButton:
    case kControlTypeCheckBox:
    case kControlTypeComboBox:
    case kControlTypeListBox:
    case kControlTypeSlider:
    case kControlTypeEdit:
    case kControlTypeListView:
      return true;
    case kControlTypeLabel:
    case kControlTypeLink:
      return Function() != kUINull;
    default:
      return false;
  }
}

bool cControl::OnDialogKey(unsigned long, bool) {
  return false;
}

bool cControl::ClickOnKey(unsigned long inVirtualKey, bool inRepeated) {
  if ((inVirtualKey != VK_SPACE && inVirtualKey != VK_RETURN) || !IsWindow()) {
    return false;
  }
  if (!inRepeated) {
    SendMessageW(mWind, BM_CLICK, 0, 0);
  }
  return true;
}

bool cControl::HasFocusMark() {
  HWND focus = GetFocus();
  if (focus == nullptr || !IsWindow()) {
    return false;
  }
  return focus == mWind || (mShowsParentFocus && mParent != nullptr && focus == mParent->Wind());
}

void cControl::PaintFocusMark(HDC inDC) {
  KSRect client;
  if (HasFocusMark() && GetClientRect(&client) == 0) {
    BaseDrawFocusMark(inDC, client, mInfo.Text.TextColor);
  }
}

void cControl::OnFocus(bool inFocus) {
  if (inFocus && mFocusToParent && mParent != nullptr && mParent->IsWindow()) {
    SetFocus(mParent->Wind());
    return;
  }
  // What lies behind shows through some controls (and the parts of a
  // composite lie in front of it): the parent repaints the control's place,
  // children and all, so that the mark also goes.
  KSRect place;
  if (mParent == nullptr || !mParent->IsWindow() || GetPosition(&place) != 0) {
    Invalidate();
    return;
  }
  RECT area = {place.left, place.top, place.right, place.bottom};
  RedrawWindow(mParent->Wind(), &area, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

long cControl::AccessibleRole() {
  switch (mInfo.Type) {
    case kControlTypeButton:
      return ROLE_SYSTEM_PUSHBUTTON;
    case kControlTypeCheckBox:
      return ROLE_SYSTEM_CHECKBUTTON;
    case kControlTypeComboBox:
      return ROLE_SYSTEM_COMBOBOX;
    case kControlTypeListBox:
    case kControlTypeListView:
      return ROLE_SYSTEM_LIST;
    case kControlTypeSlider:
      return ROLE_SYSTEM_SLIDER;
    case kControlTypeLabel:
      return ROLE_SYSTEM_STATICTEXT;
    case kControlTypeLink:
      return ROLE_SYSTEM_LINK;
    case kControlTypeEdit:
      return ROLE_SYSTEM_TEXT;
    case kControlTypeScrollBar:
      return ROLE_SYSTEM_SCROLLBAR;
    case kControlTypeGraphic:
      return ROLE_SYSTEM_GRAPHIC;
    default:
      return 0;  // pages and tips are not controls to a screen reader
  }
}

UtilStr cControl::AccessibleName() {
  if (mInfo.ToolTip[0] != 0) {
    return UtilStr(mInfo.ToolTip);
  }
  char text[kNameSize] = "";
  // An edit's text is its value, not its name.
  if (mInfo.Type != kControlTypeEdit && GetText(text, sizeof(text)) == 0 && text[0] != 0) {
    return UtilStr(text);
  }
  const char* name = UIFunctionName(Function());
  return UtilStr(Function() != kUINull && name != nullptr ? name : "");
}

bool cControl::AccessibleValue(UtilStr*) {
  return false;
}

long cControl::AccessibleState() {
  return 0;
}

bool cControl::OnGetObject(WPARAM inWParam, LPARAM inLParam, LRESULT* outResult) {
  if (LONG(inLParam) != OBJID_CLIENT || AccessibleRole() == 0 || !IsWindow()) {
    return false;
  }
  return KSAccessible::Answer(mWind, inWParam, outResult);
}
