// Showing, stacking, enabling, the owner window, painting, the mouse and
// timers.
#include "foundation/KSError.h"
#include "foundation/KSLastError.h"
#include "platform/cBaseWindow.h"

bool cBaseWindow::Show(bool inShow, bool inNormal) {
  int command = !inShow ? SW_HIDE : inNormal ? SW_SHOWNORMAL : SW_SHOW;
  return IsWindow() && ShowWindow(mWind, command) != FALSE;
}

void cBaseWindow::AlwaysOnTop(bool inOn) {
  if (IsWindow()) {
    SetWindowPos(mWind, inOn ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
}

void cBaseWindow::BringToTop() {
  if (IsWindow()) {
    BringWindowToTop(mWind);
  }
}

void cBaseWindow::BringToFront() {
  if (IsWindow()) {
    SetForegroundWindow(mWind);
    BringWindowToTop(mWind);
  }
}

bool cBaseWindow::Enable(bool inEnable) {
  return IsWindow() && EnableWindow(mWind, inEnable) != FALSE;
}

bool cBaseWindow::IsEnabled() {
  return IsWindow() && IsWindowEnabled(mWind);
}

bool cBaseWindow::IsMinimized() {
  return IsWindow() && IsIconic(mWind);
}

bool cBaseWindow::IsVisible() {
  return IsWindow() && (GetWindowLongPtrW(mWind, GWL_STYLE) & WS_VISIBLE) != 0;
}

void cBaseWindow::Restore() {
  if (IsWindow()) {
    ShowWindow(mWind, SW_RESTORE);
  }
}

void cBaseWindow::Maximize() {
  if (IsWindow()) {
    ShowWindow(mWind, SW_MAXIMIZE);
  }
}

void cBaseWindow::Close() {
  if (IsWindow()) {
    PostMessageW(mWind, WM_CLOSE, 0, 0);
  }
}

HWND cBaseWindow::Owner() const {
  return mWind != nullptr ? GetParent(mWind) : nullptr;
}

void cBaseWindow::ShowOwner(bool inShow) {
  if (HWND owner = Owner()) {
    ShowWindow(owner, inShow ? SW_SHOW : SW_HIDE);
  }
}

void cBaseWindow::RestoreOwner() {
  if (HWND owner = Owner()) {
    ShowWindow(owner, SW_RESTORE);
  }
}

void cBaseWindow::MinimizeOwner() {
  if (HWND owner = Owner()) {
    ShowWindow(owner, SW_MINIMIZE);
  }
}

bool cBaseWindow::IsOwnerMinimized() const {
  HWND owner = Owner();
  return owner != nullptr && IsIconic(owner);
}

// The task-bar button belongs to the owner: it comes and goes with it.
void cBaseWindow::EnableTaskBarButton(bool inOn) {
  ShowOwner(inOn);
}

void cBaseWindow::Invalidate() {
  if (IsWindow()) {
    InvalidateRect(mWind, nullptr, FALSE);
  }
}

void cBaseWindow::Invalidate(const KSRect& inRect) {
  RECT rect = {inRect.left, inRect.top, inRect.right, inRect.bottom};
  if (IsWindow()) {
    InvalidateRect(mWind, &rect, FALSE);
  }
}

// A child is drawn over its ancestors: they must be up to date first.
void cBaseWindow::Update() {
  if (mParent != nullptr && mParent->IsWindow()) {
    mParent->Update();
  }
  if (IsWindow()) {
    UpdateWindow(mWind);
  }
}

namespace {

// Window code runs on one thread, but each thread that has windows keeps its
// own count.
thread_local unsigned long tPointerNews = 0;

bool IsPointerMessage(UINT inMsg) {
  return (inMsg >= WM_MOUSEFIRST && inMsg <= WM_MOUSELAST) ||
         (inMsg >= WM_NCMOUSEMOVE && inMsg <= WM_NCXBUTTONDBLCLK) || inMsg == WM_MOUSELEAVE ||
         inMsg == WM_NCMOUSELEAVE || inMsg == WM_CAPTURECHANGED;
}

// Asks for WM_MOUSELEAVE on inWind unless that is asked already: asking
// again for another window would end (and report) the current request.
void TrackLeaving(HWND inWind) {
  TRACKMOUSEEVENT tracking = {sizeof(tracking), TME_QUERY, nullptr, 0};
  if (TrackMouseEvent(&tracking) && tracking.hwndTrack == inWind &&
      (tracking.dwFlags & TME_LEAVE) != 0) {
    return;
  }
  tracking = {sizeof(tracking), TME_LEAVE, inWind, 0};
  TrackMouseEvent(&tracking);
}

}  // namespace

void cBaseWindow::CaptureMouse() {
  if (IsWindow()) {
    SetCapture(mWind);
    tPointerNews++;
  }
}

void cBaseWindow::ReleaseMouse() {
  if (IsWindow()) {
    ReleaseCapture();
    tPointerNews++;
  }
}

unsigned long cBaseWindow::PointerNews() {
  return tPointerNews;
}

void cBaseWindow::NotePointerMessage(HWND inWind, cBaseWindow* inObject, UINT inMsg) {
  if (!IsPointerMessage(inMsg)) {
    return;
  }
  tPointerNews++;
  if (inMsg == WM_MOUSEMOVE && inObject != nullptr && inObject->FollowsPointer()) {
    TrackLeaving(inWind);
  }
}

void cBaseWindow::ForwardMouseClick(const KSPoint& inPoint, cBaseWindow* inTarget) {
  POINT point = {inPoint.h, inPoint.v};
  MapWindowPoints(mWind, inTarget->mWind, &point, 1);
  SendMessageW(inTarget->mWind, WM_LBUTTONDOWN, 0, MAKELPARAM(point.x, point.y));
}

long cBaseWindow::SetTimer(long inID, unsigned long inMilliseconds) {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  return ::SetTimer(mWind, UINT_PTR(inID), inMilliseconds, nullptr) != 0 ? 0 : KSLastError();
}

long cBaseWindow::KillTimer(long inID) {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  return ::KillTimer(mWind, UINT_PTR(inID)) ? 0 : KSLastError();
}
