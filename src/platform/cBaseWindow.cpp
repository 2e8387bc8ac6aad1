// Construction, identity and creation of windows of the program's own class.
#include "platform/cBaseWindow.h"

#include <cstdint>

#include "foundation/KSError.h"
#include "foundation/KSLastError.h"
#include "platform/BaseUtils.h"
#include "platform/windowproc.h"

HFONT gHackControlFont = nullptr;

cBaseWindow::cBaseWindow(cBaseWindow* inParent)
    : mWind(nullptr), mParent(inParent), mCreateResult(0) {}

cBaseWindow::~cBaseWindow() {
  if (IsWindow()) {
    DestroyWindow(mWind);
  }
  Detach();  // a native control destroyed with its parent never told us
  if (gHackControlFont == mFont.Get()) {
    gHackControlFont = nullptr;
  }
}

const char* cBaseWindow::ErrorMsg() {
  return "";
}

void cBaseWindow::ErrorMsg(const char*) {}

long cBaseWindow::OnCreate() {
  return 0;
}

void cBaseWindow::OnClose() {
  if (IsWindow()) {
    DestroyWindow(mWind);
  }
  mWind = nullptr;
}

void cBaseWindow::OnDestroy() {}
void cBaseWindow::OnShow(bool) {}
void cBaseWindow::OnPaint(HDC) {}
void cBaseWindow::OnPaint(HDC, long, KSRect*, bool) {}
void cBaseWindow::OnClick() {}
void cBaseWindow::OnSelectionChanged() {}
void cBaseWindow::OnScrolled(long) {}
void cBaseWindow::OnLMouseDown(const KSPoint&) {}
void cBaseWindow::OnLMouseUp(const KSPoint&) {}
void cBaseWindow::OnLMouseDoubleClick(const KSPoint&) {}
void cBaseWindow::OnMouseMove(const KSPoint&) {}
void cBaseWindow::OnKeyDown(unsigned long, unsigned long) {}
void cBaseWindow::OnKeyUp(unsigned long, unsigned long) {}
void cBaseWindow::OnFocus(bool) {}
void cBaseWindow::OnEnable(bool) {}
bool cBaseWindow::OnGetObject(WPARAM, LPARAM, LRESULT*) {
  return false;
}
void cBaseWindow::OnTimer(long) {}
void cBaseWindow::OnUpdate() {}
void cBaseWindow::OnMove(long, long) {}
void cBaseWindow::OnSize(long, long) {}
void cBaseWindow::OnChildResized() {}
void cBaseWindow::OnMeasureItem(unsigned long*) {}
void cBaseWindow::OnWinNotify(NMHDR*) {}
void cBaseWindow::OnTrayIconClick() {
  if (IsMinimized()) {
    Restore();
  }
  Show(true, false);
  BringToFront();
}
void cBaseWindow::OnTrayIconRightClick() {}
bool cBaseWindow::OnMouseWheel(long) {
  return false;
}
void cBaseWindow::OnCommand(long) {}
void cBaseWindow::OnToolbarUserMsg(long) {}

void cBaseWindow::Assign(HWND inWind) {
  mWind = inWind;
  SetWindowLongPtrW(inWind, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void cBaseWindow::Detach() {
  if (mWind != nullptr && FromWindow(mWind) == this) {
    SetWindowLongPtrW(mWind, GWLP_USERDATA, 0);
  }
  mWind = nullptr;
}

long cBaseWindow::AttachCreated(HWND inWind) {
  Assign(inWind);
  mCreateResult = OnCreate();
  return mCreateResult;
}

cBaseWindow* cBaseWindow::FromWindow(HWND inWind) {
  return inWind != nullptr
             ? reinterpret_cast<cBaseWindow*>(GetWindowLongPtrW(inWind, GWLP_USERDATA))
             : nullptr;
}

HINSTANCE cBaseWindow::InstanceOf(HWND inWind) {
  return inWind != nullptr ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(inWind, GWLP_HINSTANCE))
                           : GetModuleHandleW(nullptr);
}

DWORD cBaseWindow::StyleOf(unsigned long inFlags) {
  return ((inFlags & kWindowVisible) ? WS_VISIBLE : 0) |
         ((inFlags & kWindowBorder) ? WS_BORDER : 0);
}

DWORD cBaseWindow::ExStyleOf(unsigned long inFlags) {
  return (inFlags & kWindowTransparent) ? WS_EX_TRANSPARENT : 0;
}

long cBaseWindow::CreatePopup(long inX, long inY, long inWidth, long inHeight,
                              unsigned long inFlags, cBaseWindow* inOwner) {
  HWND owner = inOwner != nullptr ? inOwner->mWind : nullptr;
  DWORD exStyle = ExStyleOf(inFlags) | ((inFlags & kWindowTopmost) ? WS_EX_TOPMOST : 0);
  long err = CreateOwnClass(exStyle, WS_POPUP | StyleOf(inFlags), inX, inY, inWidth, inHeight,
                            owner, nullptr);
  if (err != 0) {
    BaseShowError(owner, err, "Error creating popup window.", kToolbarWindowClassName);
  }
  return err;
}

long cBaseWindow::CreateChild(long inID, long inX, long inY, long inWidth, long inHeight,
                              unsigned long inFlags, cBaseWindow* inParent) {
  HWND parent = inParent != nullptr ? inParent->mWind : nullptr;
  long err = CreateOwnClass(ExStyleOf(inFlags), WS_CHILD | StyleOf(inFlags), inX, inY, inWidth,
                            inHeight, parent, reinterpret_cast<HMENU>(intptr_t(inID)));
  if (err != 0) {
    const char* why = ErrorMsg();
    BaseShowError(parent, err, "Error creating child window.", *why != 0 ? why : nullptr);
  }
  return err;
}

// WindowProc links the window and this object while it is created and runs
// OnCreate; a failed OnCreate is the error reported.
long cBaseWindow::CreateOwnClass(DWORD inExStyle, DWORD inStyle, long inX, long inY, long inWidth,
                                 long inHeight, HWND inParent, HMENU inIDOrMenu) {
  if (IsWindow()) {
    return kKSErr_BadState;  // one window per object
  }
  mCreateResult = 0;
  HWND wind = CreateWindowExW(inExStyle, kToolbarWindowClass, L"", inStyle, inX, inY, inWidth,
                              inHeight, inParent, inIDOrMenu, InstanceOf(inParent), this);
  if (wind == nullptr) {
    return mCreateResult != 0 ? mCreateResult : KSLastError();
  }
  return 0;
}
