// The messages that child controls send their parent's WindowProc, passed on
// to the object of the control that sent them.
#include "platform/WindowMessages.h"

#include <commctrl.h>

#include "platform/BaseUtils.h"
#include "platform/cBaseWindow.h"

namespace {

// Notification codes of WM_COMMAND.
enum { kClicked = 0, kSelectionChanged = 1, kDoubleClicked = 5 };

// Owner-drawn controls are drawn as if transparent: what lies below one
// among its siblings, overlapping it, is repainted at once after it.
void RepaintSiblingsBelow(HWND inWind) {
  RECT area;
  GetWindowRect(inWind, &area);
  for (HWND sibling = GetWindow(inWind, GW_HWNDNEXT); sibling != nullptr;
       sibling = GetWindow(sibling, GW_HWNDNEXT)) {
    RECT rect;
    RECT overlap;
    if (IsWindowVisible(sibling) && GetWindowRect(sibling, &rect) &&
        IntersectRect(&overlap, &area, &rect)) {
      InvalidateRect(sibling, nullptr, FALSE);
      UpdateWindow(sibling);
    }
  }
}

HWND ChildWithID(HWND inParent, UINT inID) {
  for (HWND child = GetWindow(inParent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (UINT(GetDlgCtrlID(child)) == inID) {
      return child;
    }
  }
  return nullptr;
}

LRESULT NullBrush() {
  return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

}  // namespace

// Menu commands reach the window itself; notifications of a control reach
// the control's object.
bool HandleCommand(cBaseWindow* inWind, WPARAM inWParam, LPARAM inLParam, LRESULT* outResult) {
  cBaseWindow* control = cBaseWindow::FromWindow(reinterpret_cast<HWND>(inLParam));
  if (control == nullptr) {
    inWind->OnCommand(LOWORD(inWParam));
  } else if (HIWORD(inWParam) == kClicked || HIWORD(inWParam) == kDoubleClicked) {
    control->OnClick();
  } else if (HIWORD(inWParam) == kSelectionChanged) {
    control->OnSelectionChanged();
  }
  *outResult = 0;
  return true;
}

bool HandleScroll(cBaseWindow*, WPARAM inWParam, LPARAM inLParam, LRESULT*) {
  HWND bar = reinterpret_cast<HWND>(inLParam);
  cBaseWindow* control = cBaseWindow::FromWindow(bar);
  if (control == nullptr) {
    return false;
  }
  switch (LOWORD(inWParam)) {
    case SB_LINEUP:
    case SB_LINEDOWN:
    case SB_PAGEUP:
    case SB_PAGEDOWN:
    case SB_TOP:
    case SB_BOTTOM:
      control->OnScrolled(static_cast<long>(SendMessageW(bar, SBM_GETPOS, 0, 0)));
      break;
    case SB_THUMBTRACK:
      control->OnScrolled(HIWORD(inWParam));
      break;
  }
  return false;
}

// A tool tip that hides leaves its window to be repainted.
bool HandleNotify(cBaseWindow*, WPARAM, LPARAM inLParam, LRESULT*) {
  NMHDR* header = reinterpret_cast<NMHDR*>(inLParam);
  cBaseWindow* sender = cBaseWindow::FromWindow(header->hwndFrom);
  if (sender != nullptr) {
    if (header->code == UINT(TTN_POP)) {
      sender->Invalidate();
    } else {
      sender->OnWinNotify(header);
    }
  }
  return false;
}

bool HandleDrawItem(cBaseWindow*, WPARAM, LPARAM inLParam, LRESULT* outResult) {
  const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(inLParam);
  *outResult = 0;
  cBaseWindow* control = cBaseWindow::FromWindow(item->hwndItem);
  if (control == nullptr) {
    return true;
  }
  if (item->CtlType == ODT_LISTBOX || item->CtlType == ODT_LISTVIEW) {
    KSRect rect = {item->rcItem.left, item->rcItem.top, item->rcItem.right, item->rcItem.bottom};
    control->OnPaint(item->hDC, long(item->itemID), &rect, (item->itemState & ODS_SELECTED) != 0);
  } else {
    control->OnPaint(item->hDC);
  }
  RepaintSiblingsBelow(item->hwndItem);
  return true;
}

// A control measured while it is being created has no object yet: its items
// are as high as a line of the font made last.
bool HandleMeasureItem(cBaseWindow* inWind, WPARAM, LPARAM inLParam, LRESULT* outResult) {
  MEASUREITEMSTRUCT* item = reinterpret_cast<MEASUREITEMSTRUCT*>(inLParam);
  *outResult = 0;
  HWND child = ChildWithID(inWind->Wind(), item->CtlID);
  if (child == nullptr) {
    return true;
  }
  if (cBaseWindow* control = cBaseWindow::FromWindow(child)) {
    unsigned long height = item->itemHeight;
    control->OnMeasureItem(&height);
    item->itemHeight = UINT(height);
  } else {
    long width = 0;
    long height = 0;
    if (BaseGetTextExtent("ABCxyz", gHackControlFont, &width, &height) == 0) {
      item->itemHeight = UINT(height);
    }
  }
  return true;
}

// Check boxes and owner-drawn buttons paint no background of their own: the
// style value of each of them has one of these bits.
bool HandleButtonColor(cBaseWindow*, WPARAM, LPARAM inLParam, LRESULT* outResult) {
  const LONG_PTR kSelfPaintedBits = 1 | 2 | 8;
  LONG_PTR style = GetWindowLongPtrW(reinterpret_cast<HWND>(inLParam), GWL_STYLE);
  if ((style & kSelfPaintedBits) == 0) {
    return false;
  }
  *outResult = NullBrush();
  return true;
}

// Static texts are drawn over what lies below; read-only edits keep their
// own colours.
bool HandleStaticColor(cBaseWindow*, WPARAM inWParam, LPARAM inLParam, LRESULT* outResult) {
  wchar_t className[16] = L"";
  GetClassNameW(reinterpret_cast<HWND>(inLParam), className, 16);
  if (lstrcmpiW(className, L"EDIT") == 0) {
    return false;
  }
  SetBkMode(reinterpret_cast<HDC>(inWParam), TRANSPARENT);
  *outResult = NullBrush();
  return true;
}
