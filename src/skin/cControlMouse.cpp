// Mouse messages of native controls for their objects. A native control
// keeps its platform window procedure; a control that must see the mouse
// itself (a label acts when pressed) puts this procedure in front of it and
// keeps the native one in a window property.
#include "foundation/KSTypes.h"
#include "skin/cControl.h"

namespace {

const wchar_t kNativeProcProperty[] = L"Corvexa Native Proc";

KSPoint PointOf(LPARAM inLParam) {
  return KSPoint{int16(LOWORD(inLParam)), int16(HIWORD(inLParam))};
}

LRESULT CALLBACK NativeMouseProc(HWND inWind, UINT inMsg, WPARAM inWParam, LPARAM inLParam) {
  WNDPROC native = reinterpret_cast<WNDPROC>(GetPropW(inWind, kNativeProcProperty));
  if (inMsg == WM_NCDESTROY) {
    RemovePropW(inWind, kNativeProcProperty);
  } else if (cBaseWindow* object = cBaseWindow::FromWindow(inWind)) {
    switch (inMsg) {
      case WM_LBUTTONDOWN:
        object->OnLMouseDown(PointOf(inLParam));
        break;
      case WM_LBUTTONUP:
        object->OnLMouseUp(PointOf(inLParam));
        break;
      case WM_MOUSEMOVE:
        object->OnMouseMove(PointOf(inLParam));
        break;
    }
    if (!IsWindow(inWind)) {
      return 0;  // what the object did destroyed it
    }
    // What the object did took the mouse (a list it opened): the native
    // control still takes the press, but the mouse stays where it was put.
    HWND capture = GetCapture();
    if (inMsg == WM_LBUTTONDOWN && capture != nullptr && capture != inWind) {
      LRESULT result = CallWindowProcW(native, inWind, inMsg, inWParam, inLParam);
      SetCapture(capture);
      return result;
    }
  }
  return CallWindowProcW(native, inWind, inMsg, inWParam, inLParam);
}

}  // namespace

void cControl::ReceiveNativeMouse() {
  if (!IsWindow() || GetPropW(mWind, kNativeProcProperty) != nullptr) {
    return;
  }
  LONG_PTR native = GetWindowLongPtrW(mWind, GWLP_WNDPROC);
  if (SetPropW(mWind, kNativeProcProperty, reinterpret_cast<HANDLE>(native))) {
    SetWindowLongPtrW(mWind, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NativeMouseProc));
  }
}
