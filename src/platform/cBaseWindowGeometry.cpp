// Position, size, placement and coordinates.
#include "foundation/KSError.h"
#include "foundation/KSLastError.h"
#include "platform/cBaseWindow.h"

namespace {

KSRect RectOf(const RECT& inRect) {
  return KSRect{inRect.left, inRect.top, inRect.right, inRect.bottom};
}

}  // namespace

long cBaseWindow::SetPosition(long inX, long inY, long inWidth, long inHeight, bool inRedraw) {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (inRedraw ? 0 : SWP_NOREDRAW);
  return SetWindowPos(mWind, nullptr, inX, inY, inWidth, inHeight, flags) ? 0 : KSLastError();
}

long cBaseWindow::GetPosition(long* outX, long* outY, long* outWidth, long* outHeight) {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  RECT rect;
  if (!GetWindowRect(mWind, &rect)) {
    return KSLastError();
  }
  // A child is placed in its parent's client area; a popup, even one that
  // has a parent object (a floating list box), on the screen.
  bool isChild = (GetWindowLongPtrW(mWind, GWL_STYLE) & WS_CHILD) != 0;
  if (isChild && mParent != nullptr && mParent->IsWindow()) {
    MapWindowPoints(nullptr, mParent->mWind, reinterpret_cast<POINT*>(&rect), 2);
  }
  *outX = rect.left;
  *outY = rect.top;
  if (outWidth != nullptr) {
    *outWidth = rect.right - rect.left;
  }
  if (outHeight != nullptr) {
    *outHeight = rect.bottom - rect.top;
  }
  return 0;
}

long cBaseWindow::GetClientRect(KSRect* outRect) {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  RECT rect;
  if (!::GetClientRect(mWind, &rect)) {
    return KSLastError();
  }
  *outRect = RectOf(rect);
  return 0;
}

long cBaseWindow::SetPlacement(const KSRect& inNormal, const KSPoint& inMinPos,
                               const KSPoint& inMaxPos) {
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  placement.showCmd = SW_SHOWNA;
  placement.ptMinPosition = {inMinPos.h, inMinPos.v};
  placement.ptMaxPosition = {inMaxPos.h, inMaxPos.v};
  placement.rcNormalPosition = {inNormal.left, inNormal.top, inNormal.right, inNormal.bottom};
  return SetWindowPlacement(mWind, &placement) ? 0 : KSLastError();
}

long cBaseWindow::GetPlacement(KSRect* outNormal, KSPoint* outMinPos, KSPoint* outMaxPos) {
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  if (!GetWindowPlacement(mWind, &placement)) {
    return KSLastError();
  }
  *outNormal = RectOf(placement.rcNormalPosition);
  *outMinPos = KSPoint{placement.ptMinPosition.x, placement.ptMinPosition.y};
  *outMaxPos = KSPoint{placement.ptMaxPosition.x, placement.ptMaxPosition.y};
  return 0;
}

void cBaseWindow::ClientToScreen(KSPoint* ioPoint) {
  POINT point = {ioPoint->h, ioPoint->v};
  MapWindowPoints(mWind, nullptr, &point, 1);
  *ioPoint = KSPoint{point.x, point.y};
}

void cBaseWindow::ClientToScreen(KSRect* ioRect) {
  RECT rect = {ioRect->left, ioRect->top, ioRect->right, ioRect->bottom};
  MapWindowPoints(mWind, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  *ioRect = RectOf(rect);
}

void cBaseWindow::ScreenToClient(KSPoint* ioPoint) {
  POINT point = {ioPoint->h, ioPoint->v};
  MapWindowPoints(nullptr, mWind, &point, 1);
  *ioPoint = KSPoint{point.x, point.y};
}

void cBaseWindow::ScreenToClient(KSRect* ioRect) {
  RECT rect = {ioRect->left, ioRect->top, ioRect->right, ioRect->bottom};
  MapWindowPoints(nullptr, mWind, reinterpret_cast<POINT*>(&rect), 2);
  *ioRect = RectOf(rect);
}

void cBaseWindow::GetCursorPos(KSPoint* outPoint) {
  if (!IsWindow()) {
    return;
  }
  POINT point;
  ::GetCursorPos(&point);
  ::ScreenToClient(mWind, &point);
  *outPoint = KSPoint{point.x, point.y};
}

bool cBaseWindow::ContainsCursor() {
  KSRect client;
  KSPoint cursor = {0, 0};
  if (GetClientRect(&client) != 0) {
    return false;
  }
  GetCursorPos(&cursor);
  return cursor.h >= client.left && cursor.h < client.right && cursor.v >= client.top &&
         cursor.v < client.bottom;
}
