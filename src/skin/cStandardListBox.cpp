#include "skin/cStandardListBox.h"

#include "foundation/KSError.h"
#include "skin/NativeListText.h"

long cStandardListBox::NumItems() {
  return IsWindow() ? long(SendMessageW(mWind, LB_GETCOUNT, 0, 0)) : 0;
}

long cStandardListBox::CurSelection() {
  return IsWindow() ? long(SendMessageW(mWind, LB_GETCURSEL, 0, 0)) : -1;
}

long cStandardListBox::TopIndex() {
  return IsWindow() ? long(SendMessageW(mWind, LB_GETTOPINDEX, 0, 0)) : -1;
}

void cStandardListBox::TopIndex(long inIndex) {
  if (IsWindow()) {
    SendMessageW(mWind, LB_SETTOPINDEX, WPARAM(inIndex), 0);
  }
}

long cStandardListBox::ScrollRange() {
  if (!IsWindow()) {
    return -1;
  }
  long count = NumItems();
  long visible = ItemsVisible();
  return count > visible ? count - visible : 0;
}

long cStandardListBox::ItemHeight() {
  return IsWindow() ? long(SendMessageW(mWind, LB_GETITEMHEIGHT, 0, 0)) : 0;
}

long cStandardListBox::ItemsVisible() {
  long height = ItemHeight();
  return height > 0 ? ClientHeight() / height : 0;
}

void cStandardListBox::Clear() {
  if (IsWindow()) {
    SendMessageW(mWind, LB_RESETCONTENT, 0, 0);
  }
}

long cStandardListBox::AddItem(const char* inText) {
  if (!IsWindow() || inText == nullptr) {
    return -1;
  }
  std::wstring item = NativeItemText(inText);
  LRESULT index = SendMessageW(mWind, LB_ADDSTRING, 0, LPARAM(item.c_str()));
  return index >= 0 ? long(index) : -1;
}

long cStandardListBox::FindItem(const char* inText, bool inPrefix) {
  if (!IsWindow() || inText == nullptr) {
    return -1;
  }
  std::wstring item = NativeItemText(inText);
  LRESULT index = SendMessageW(mWind, inPrefix ? LB_FINDSTRING : LB_FINDSTRINGEXACT, WPARAM(-1),
                               LPARAM(item.c_str()));
  return index >= 0 ? long(index) : -1;
}

long cStandardListBox::DeleteItem(long inIndex) {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  return SendMessageW(mWind, LB_DELETESTRING, WPARAM(inIndex), 0) >= 0 ? 0
                                                                       : kKSErr_IndexOutOfBounds;
}

long cStandardListBox::GetItem(long inIndex, char* outText, unsigned long inSize) {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  return ReadNativeItem(mWind, LB_GETTEXTLEN, LB_GETTEXT, inIndex, outText, inSize, 0);
}

long cStandardListBox::SelectItem(long inIndex) {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  if (inIndex < 0 || inIndex >= NumItems()) {
    SendMessageW(mWind, LB_SETCURSEL, WPARAM(-1), 0);
    return inIndex == -1 ? 0 : kKSErr_IndexOutOfBounds;
  }
  return SendMessageW(mWind, LB_SETCURSEL, WPARAM(inIndex), 0) >= 0 ? 0 : kKSErr_IndexOutOfBounds;
}

// The platform names the nearest item even for a point past the last one:
// the item's own rectangle decides.
long cStandardListBox::ItemFromPoint(const KSPoint& inPoint) {
  if (!IsWindow()) {
    return -1;
  }
  LRESULT hit =
      SendMessageW(mWind, LB_ITEMFROMPOINT, 0, MAKELPARAM(WORD(inPoint.h), WORD(inPoint.v)));
  long index = LOWORD(hit);
  RECT item;
  if (HIWORD(hit) != 0 || SendMessageW(mWind, LB_GETITEMRECT, WPARAM(index), LPARAM(&item)) < 0) {
    return -1;
  }
  POINT point = {inPoint.h, inPoint.v};
  return PtInRect(&item, point) ? index : -1;
}
