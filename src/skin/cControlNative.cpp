// Messages of native controls for their objects. A native control keeps its
// platform window procedure; this procedure sits in front of it (the native
// one is kept in a window property) and passes on focus changes and screen
// readers' questions, and the mouse to a control that must see it itself (a
// label acts when pressed).
#include "foundation/KSTypes.h"
#include "skin/cControl.h"

namespace {

const wchar_t kNativeProcProperty[] = L"Corvexa Native Proc";
// Present when the object sees the left button and moves first.
const wchar_t kNativeMouseProperty[] = L"Corvexa Native Mouse";

KSPoint PointOf(LPARAM inLParam) {
  return KSPoint{int16(LOWORD(inLParam)), int16(HIWORD(inLParam))};
}

void PassMouse(cBaseWindow* inObject, UINT inMsg, LPARAM inLParam) {
  switch (inMsg) {
    case WM_LBUTTONDOWN:
      inObject->OnLMouseDown(PointOf(inLParam));
      break;
    case WM_LBUTTONUP:
      inObject->OnLMouseUp(PointOf(inLParam));
      break;
    case WM_MOUSEMOVE:
      inObject->OnMouseMove(PointOf(inLParam));
      break;
  }
}

LRESULT CALLBACK NativeControlProc(HWND inWind, UINT inMsg, WPARAM inWParam, LPARAM inLParam) {
  WNDPROC native = reinterpret_cast<WNDPROC>(GetPropW(inWind, kNativeProcProperty));
  cBaseWindow* object = cBaseWindow::FromWindow(inWind);
  cBaseWindow::NotePointerMessage(inWind, object, inMsg);
  if (inMsg == WM_NCDESTROY) {
    RemovePropW(inWind, kNativeProcProperty);
    RemovePropW(inWind, kNativeMouseProperty);
    object = nullptr;
  }
  if (object == nullptr) {
    return CallWindowProcW(native, inWind, inMsg, inWParam, inLParam);
  }
  LRESULT result = 0;
  switch (inMsg) {
    case WM_GETOBJECT:
      if (object->OnGetObject(inWParam, inLParam, &result)) {
        return result;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // The platform control draws its own change first.
      result = CallWindowProcW(native, inWind, inMsg, inWParam, inLParam);
      object->OnFocus(inMsg == WM_SETFOCUS);
      return result;
    default:
      if (GetPropW(inWind, kNativeMouseProperty) != nullptr) {
        PassMouse(object, inMsg, inLParam);
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
      break;
  }
  return CallWindowProcW(native, inWind, inMsg, inWParam, inLParam);
}

}  // namespace

void cControl::ReceiveNativeMessages() {
  if (!IsWindow() || GetPropW(mWind, kNativeProcProperty) != nullptr) {
    return;
  }
  LONG_PTR native = GetWindowLongPtrW(mWind, GWLP_WNDPROC);
  if (SetPropW(mWind, kNativeProcProperty, reinterpret_cast<HANDLE>(native))) {
    SetWindowLongPtrW(mWind, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NativeControlProc));
  }
}

void cControl::ReceiveNativeMouse() {
  ReceiveNativeMessages();
  if (IsWindow() && GetPropW(mWind, kNativeProcProperty) != nullptr) {
    SetPropW(mWind, kNativeMouseProperty, reinterpret_cast<HANDLE>(1));
  }
}
