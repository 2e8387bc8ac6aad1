#include "platform/KSMouseWheel.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/cBaseWindow.h"

namespace {

// What the wheel moves when the system does not say.
const UINT kDefaultWheelLines = 3;

// Window code runs on one thread; each thread with windows keeps its own.
thread_local bool tHandingOn = false;  // a turn is on its way to a platform window
thread_local long tUnusedDelta = 0;    // parts of a notch not used yet

bool IsThisThreads(HWND inWind) {
  return inWind != nullptr && GetWindowThreadProcessId(inWind, nullptr) == GetCurrentThreadId();
}

// The window holding the mouse, else the one under the pointer, when they
// are this thread's; else the one the system chose.
HWND MeantFor(HWND inReceiver, POINT inAt) {
  HWND capture = GetCapture();
  if (IsThisThreads(capture)) {
    return capture;
  }
  HWND under = WindowFromPoint(inAt);
  return IsThisThreads(under) ? under : inReceiver;
}

// The object of inWind or of the nearest window around it that has one (a
// list view's header has none). A popup's owner is not around it.
cBaseWindow* ObjectAround(HWND inWind) {
  for (HWND wind = inWind; IsThisThreads(wind);
       wind = (GetWindowLongPtrW(wind, GWL_STYLE) & WS_CHILD) != 0 ? GetParent(wind) : nullptr) {
    if (cBaseWindow* object = cBaseWindow::FromWindow(wind)) {
      return object;
    }
  }
  return nullptr;
}

}  // namespace

bool KSRouteMouseWheel(HWND inWind, WPARAM inWParam, LPARAM inLParam) {
  if (tHandingOn) {
    return false;
  }
  POINT at = {GET_X_LPARAM(inLParam), GET_Y_LPARAM(inLParam)};
  HWND target = MeantFor(inWind, at);
  cBaseWindow* object = ObjectAround(target);
  if (object == nullptr) {
    // A platform window of its own (an open platform drop-down list) does
    // what the platform does.
    tHandingOn = true;
    SendMessageW(target, WM_MOUSEWHEEL, inWParam, inLParam);
    tHandingOn = false;
    return true;
  }
  tUnusedDelta += GET_WHEEL_DELTA_WPARAM(inWParam);
  long notches = tUnusedDelta / WHEEL_DELTA;
  tUnusedDelta %= WHEEL_DELTA;
  for (; notches != 0 && object != nullptr; object = object->Parent()) {
    if (object->OnMouseWheel(notches)) {
      break;
    }
  }
  return true;
}

long KSWheelRows(long inNotches, long inPageRows) {
  UINT lines = 0;
  if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) {
    lines = kDefaultWheelLines;
  }
  long perNotch = lines == WHEEL_PAGESCROLL ? std::max(inPageRows, 1L) : long(lines);
  return -inNotches * perNotch;
}
