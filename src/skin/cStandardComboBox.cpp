#include "skin/cStandardComboBox.h"

#include <algorithm>

#include "foundation/KSError.h"
#include "platform/KSMouseWheel.h"
#include "skin/NativeListText.h"
#include "skin/ReplyText.h"

namespace {

// Items of this many characters or more are not read back.
const long kMaxItemChars = 256;

}  // namespace

long cStandardComboBox::OnCreate() {
  long err = cControl::OnCreate();
  if (err == 0) {
    Clear();
  }
  return err;
}

void cStandardComboBox::OnSelectionChanged() {
  ReportFunction();
}

bool cStandardComboBox::OnMouseWheel(long inNotches) {
  COMBOBOXINFO parts = {};
  parts.cbSize = sizeof(parts);
  if (IsWindow() && SendMessageW(mWind, CB_GETDROPPEDSTATE, 0, 0) &&
      GetComboBoxInfo(mWind, &parts)) {
    HWND list = parts.hwndList;
    RECT area = {};
    ::GetClientRect(list, &area);
    long rowHeight = std::max(long(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0)), 1L);
    long top = long(SendMessageW(list, LB_GETTOPINDEX, 0, 0)) +
               KSWheelRows(inNotches, area.bottom / rowHeight);
    long last = std::max(NumItems() - 1, 0L);
    SendMessageW(list, LB_SETTOPINDEX, WPARAM(std::clamp(top, 0L, last)), 0);
  }
  return true;
}

void cStandardComboBox::OnKSMPReply(const char* inReply, eRequestType inType, void*) {
  long index = 0;
  // A value that cannot be read selects nothing; the box is usable either way.
  switch (inType) {
    case kRequestGetValue:
      if (inReply != nullptr && *inReply != 0) {
        SelectItem(inReply, true);
      } else {
        SelectItem(-1);
      }
      Enable(true);
      break;
    case kRequestGetValueIndex:
      SelectItem(ReplyNumber(inReply, &index) ? index : -1);
      Enable(true);
      break;
    case kRequestGetContents:
      FillFromList(inReply);
      break;
    default:
      break;
  }
}

void cStandardComboBox::FillFromList(const char* inReply) {
  Clear();
  ReplyList list(inReply);
  while (const char* name = list.Next()) {
    AddItem(name);
  }
}

long cStandardComboBox::NumItems() {
  return IsWindow() ? long(SendMessageW(mWind, CB_GETCOUNT, 0, 0)) : 0;
}

long cStandardComboBox::CurSelection() {
  return IsWindow() ? long(SendMessageW(mWind, CB_GETCURSEL, 0, 0)) : -1;
}

void cStandardComboBox::Clear() {
  if (IsWindow()) {
    SendMessageW(mWind, CB_RESETCONTENT, 0, 0);
  }
}

long cStandardComboBox::AddItem(const char* inText) {
  if (!IsWindow() || inText == nullptr) {
    return -1;
  }
  std::wstring item = NativeItemText(inText);
  LRESULT index = SendMessageW(mWind, CB_ADDSTRING, 0, LPARAM(item.c_str()));
  return index >= 0 ? long(index) : -1;
}

long cStandardComboBox::FindItem(const char* inText, bool inPrefix) {
  if (!IsWindow() || inText == nullptr) {
    return -1;
  }
  std::wstring item = NativeItemText(inText);
  LRESULT index = SendMessageW(mWind, inPrefix ? CB_FINDSTRING : CB_FINDSTRINGEXACT, WPARAM(-1),
                               LPARAM(item.c_str()));
  return index >= 0 ? long(index) : -1;
}

long cStandardComboBox::DeleteItem(long inIndex) {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  return SendMessageW(mWind, CB_DELETESTRING, WPARAM(inIndex), 0) >= 0 ? 0
                                                                       : kKSErr_IndexOutOfBounds;
}

long cStandardComboBox::SelectItem(long inIndex) {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  if (inIndex < 0 || inIndex >= NumItems()) {
    SendMessageW(mWind, CB_SETCURSEL, WPARAM(-1), 0);
    return inIndex == -1 ? 0 : kKSErr_IndexOutOfBounds;
  }
  return SendMessageW(mWind, CB_SETCURSEL, WPARAM(inIndex), 0) >= 0 ? 0 : kKSErr_IndexOutOfBounds;
}

long cStandardComboBox::SelectItem(const char* inText, bool inPrefix) {
  return SelectItem(FindItem(inText, inPrefix));
}

long cStandardComboBox::GetItem(long inIndex, char* outText, unsigned long inSize) {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  return ReadNativeItem(mWind, CB_GETLBTEXTLEN, CB_GETLBTEXT, inIndex, outText, inSize,
                        kMaxItemChars);
}
