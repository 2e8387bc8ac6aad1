// Messages of native controls for their objects. A native control keeps its
// platform window procedure; this procedure sits in front of it (the native
// one is kept by the object, and in a window property for the messages that
// come after the object has let go) and passes on focus changes and screen
// readers' questions, the mouse wheel (KSMouseWheel.h), and the mouse to a
// control that must see it itself (a label acts when pressed).
#include "foundation/KSTypes.h"
#include "platform/KSMouseWheel.h"
#include "skin/cControl.h"

namespace {

const wchar_t kNativeProcProperty[] = L"Corvexa Native Proc";

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

}  // namespace

LRESULT CALLBACK cControl::NativeControlProc(HWND inWind, UINT inMsg, WPARAM inWParam,
                                             LPARAM inLParam) {
  // Only controls put this procedure in front of a window.
  auto* object = static_cast<cControl*>(cBaseWindow::FromWindow(inWind));
  cBaseWindow::NotePointerMessage(inWind, object, inMsg);
  if (inMsg == WM_NCDESTROY || object == nullptr) {
    auto native = reinterpret_cast<WNDPROC>(GetPropW(inWind, kNativeProcProperty));
    if (inMsg == WM_NCDESTROY) {
      RemovePropW(inWind, kNativeProcProperty);
    }
    return CallWindowProcW(native, inWind, inMsg, inWParam, inLParam);
  }
  WNDPROC native = object->mNativeProc;
  LRESULT result = 0;
  switch (inMsg) {
    case WM_GETOBJECT:
      if (object->OnGetObject(inWParam, inLParam, &result)) {
        return result;
      }
      break;
    case WM_MOUSEWHEEL:
      // The toolbar says which window a turn is for, not the platform
      // control (a closed platform combo box would change its choice).
      if (KSRouteMouseWheel(inWind, inWParam, inLParam)) {
        return 0;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // The platform control draws its own change first.
      result = CallWindowProcW(native, inWind, inMsg, inWParam, inLParam);
      object->OnFocus(inMsg == WM_SETFOCUS);
      return result;
    default:
      if (object->mNativeMouse) {
        PassMouse(object, inMsg, inLParam);
        if (!::IsWindow(inWind)) {
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

void cControl::ReceiveNativeMessages() {
  LONG_PTR native = IsWindow() ? GetWindowLongPtrW(mWind, GWLP_WNDPROC) : 0;
  if (native == 0 || native == reinterpret_cast<LONG_PTR>(NativeControlProc)) {
    return;
  }
  if (SetPropW(mWind, kNativeProcProperty, reinterpret_cast<HANDLE>(native))) {
    mNativeProc = reinterpret_cast<WNDPROC>(native);
    SetWindowLongPtrW(mWind, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NativeControlProc));
  }
}

void cControl::ReceiveNativeMouse() {
  ReceiveNativeMessages();
  mNativeMouse = mNativeProc != nullptr;
}
