#include "platform/windowproc.h"

#include "foundation/KSLastError.h"
#include "foundation/KSTypes.h"
#include "platform/BaseUtils.h"
#include "platform/KSGdiObject.h"
#include "platform/KSMouseWheel.h"
#include "platform/WindowMessages.h"
#include "platform/cBaseWindow.h"

namespace {

using MessageHandler = bool (*)(cBaseWindow* inWind, WPARAM inWParam, LPARAM inLParam,
                                LRESULT* outResult);

struct MessageRoute {
  UINT mMessage;
  MessageHandler mHandler;
};

// Coordinates are the signed 16-bit halves of lParam.
KSPoint PointOf(LPARAM inLParam) {
  return KSPoint{int16(LOWORD(inLParam)), int16(HIWORD(inLParam))};
}

bool HandleDestroy(cBaseWindow* inWind, WPARAM, LPARAM, LRESULT*) {
  inWind->OnDestroy();
  return false;
}

// The last message a window gets: its object lets go of it.
bool HandleFinalDestroy(cBaseWindow* inWind, WPARAM, LPARAM, LRESULT*) {
  inWind->Detach();
  return false;
}

bool HandleMove(cBaseWindow* inWind, WPARAM, LPARAM inLParam, LRESULT*) {
  KSPoint at = PointOf(inLParam);
  inWind->OnMove(at.h, at.v);
  return false;
}

bool HandleSize(cBaseWindow* inWind, WPARAM, LPARAM inLParam, LRESULT*) {
  KSPoint size = PointOf(inLParam);
  inWind->OnSize(size.h, size.v);
  return false;
}

bool HandlePaint(cBaseWindow* inWind, WPARAM, LPARAM, LRESULT* outResult) {
  KSPaintDC dc(inWind->Wind());
  inWind->OnPaint(dc.Get());
  *outResult = 0;
  return true;
}

bool HandleClose(cBaseWindow* inWind, WPARAM, LPARAM, LRESULT*) {
  inWind->OnClose();
  return false;
}

// Backgrounds are never erased: every window paints all of itself.
bool HandleEraseBackground(cBaseWindow*, WPARAM, LPARAM, LRESULT* outResult) {
  *outResult = 1;
  return true;
}

bool HandleShow(cBaseWindow* inWind, WPARAM inWParam, LPARAM, LRESULT*) {
  inWind->OnShow(inWParam != 0);
  return false;
}

bool HandleKeyDown(cBaseWindow* inWind, WPARAM inWParam, LPARAM, LRESULT*) {
  inWind->OnKeyDown(0, static_cast<unsigned long>(inWParam));
  return false;
}

bool HandleKeyUp(cBaseWindow* inWind, WPARAM inWParam, LPARAM, LRESULT*) {
  inWind->OnKeyUp(0, static_cast<unsigned long>(inWParam));
  return false;
}

bool HandleSetFocus(cBaseWindow* inWind, WPARAM, LPARAM, LRESULT*) {
  inWind->OnFocus(true);
  return false;
}

bool HandleKillFocus(cBaseWindow* inWind, WPARAM, LPARAM, LRESULT*) {
  inWind->OnFocus(false);
  return false;
}

bool HandleEnable(cBaseWindow* inWind, WPARAM inWParam, LPARAM, LRESULT*) {
  inWind->OnEnable(inWParam != 0);
  return false;
}

bool HandleGetObject(cBaseWindow* inWind, WPARAM inWParam, LPARAM inLParam, LRESULT* outResult) {
  return inWind->OnGetObject(inWParam, inLParam, outResult);
}

bool HandleTimer(cBaseWindow* inWind, WPARAM inWParam, LPARAM, LRESULT* outResult) {
  inWind->OnTimer(static_cast<long>(inWParam));
  *outResult = 0;
  return true;
}

// Only minimising and restoring make sense for the toolbar's system menu.
bool HandleInitMenu(cBaseWindow* inWind, WPARAM, LPARAM, LRESULT* outResult) {
  HMENU menu = GetSystemMenu(inWind->Wind(), FALSE);
  bool minimized = inWind->IsMinimized();
  EnableMenuItem(menu, SC_MINIMIZE, MF_BYCOMMAND | (minimized ? MF_GRAYED : MF_ENABLED));
  EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | (minimized ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | MF_GRAYED);
  EnableMenuItem(menu, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
  *outResult = 0;
  return true;
}

bool HandleMouseMove(cBaseWindow* inWind, WPARAM, LPARAM inLParam, LRESULT*) {
  inWind->OnMouseMove(PointOf(inLParam));
  return false;
}

bool HandleLButtonDown(cBaseWindow* inWind, WPARAM, LPARAM inLParam, LRESULT*) {
  inWind->OnLMouseDown(PointOf(inLParam));
  return false;
}

bool HandleLButtonUp(cBaseWindow* inWind, WPARAM, LPARAM inLParam, LRESULT*) {
  inWind->OnLMouseUp(PointOf(inLParam));
  return false;
}

bool HandleLButtonDoubleClick(cBaseWindow* inWind, WPARAM, LPARAM inLParam, LRESULT*) {
  inWind->OnLMouseDoubleClick(PointOf(inLParam));
  return false;
}

// The tray icon reports the mouse message in lParam.
bool HandleTrayIcon(cBaseWindow* inWind, WPARAM, LPARAM inLParam, LRESULT*) {
  switch (inLParam) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      inWind->OnTrayIconClick();
      break;
    case WM_RBUTTONDOWN:
      inWind->OnTrayIconRightClick();
      break;
  }
  return false;
}

bool HandleMouseWheel(cBaseWindow* inWind, WPARAM inWParam, LPARAM inLParam, LRESULT* outResult) {
  *outResult = 0;
  return KSRouteMouseWheel(inWind->Wind(), inWParam, inLParam);
}

bool HandleToolbarUserMsg(cBaseWindow* inWind, WPARAM inWParam, LPARAM, LRESULT*) {
  inWind->OnToolbarUserMsg(static_cast<long>(inWParam));
  return false;
}

// Every message the toolbar's windows handle; all others go to the default
// processing.
const MessageRoute kRoutes[] = {
    {WM_DESTROY, HandleDestroy},
    {WM_NCDESTROY, HandleFinalDestroy},
    {WM_MOVE, HandleMove},
    {WM_SIZE, HandleSize},
    {WM_PAINT, HandlePaint},
    {WM_CLOSE, HandleClose},
    {WM_ERASEBKGND, HandleEraseBackground},
    {WM_SHOWWINDOW, HandleShow},
    {WM_DRAWITEM, HandleDrawItem},
    {WM_MEASUREITEM, HandleMeasureItem},
    {WM_NOTIFY, HandleNotify},
    {WM_KEYDOWN, HandleKeyDown},
    {WM_KEYUP, HandleKeyUp},
    {WM_SETFOCUS, HandleSetFocus},
    {WM_KILLFOCUS, HandleKillFocus},
    {WM_ENABLE, HandleEnable},
    {WM_GETOBJECT, HandleGetObject},
    {WM_COMMAND, HandleCommand},
    {WM_TIMER, HandleTimer},
    {WM_HSCROLL, HandleScroll},
    {WM_VSCROLL, HandleScroll},
    {WM_INITMENU, HandleInitMenu},
    {WM_CTLCOLORBTN, HandleButtonColor},
    {WM_CTLCOLORSTATIC, HandleStaticColor},
    {WM_MOUSEMOVE, HandleMouseMove},
    {WM_LBUTTONDOWN, HandleLButtonDown},
    {WM_LBUTTONUP, HandleLButtonUp},
    {WM_LBUTTONDBLCLK, HandleLButtonDoubleClick},
    {WM_MOUSEWHEEL, HandleMouseWheel},
    {kTrayIconMsg, HandleTrayIcon},
    {kToolbarUserMsg, HandleToolbarUserMsg},
};

MessageHandler HandlerOf(UINT inMsg) {
  for (const MessageRoute& route : kRoutes) {
    if (route.mMessage == inMsg) {
      return route.mHandler;
    }
  }
  return nullptr;
}

}  // namespace

LRESULT CALLBACK WindowProc(HWND inWind, UINT inMsg, WPARAM inWParam, LPARAM inLParam) {
  if (inMsg == WM_CREATE) {
    // The object comes as the creation parameter; without one the window
    // cannot be made.
    auto* create = reinterpret_cast<CREATESTRUCTW*>(inLParam);
    auto* object = static_cast<cBaseWindow*>(create->lpCreateParams);
    return object != nullptr && object->AttachCreated(inWind) == 0 ? 0 : -1;
  }
  cBaseWindow* object = cBaseWindow::FromWindow(inWind);
  cBaseWindow::NotePointerMessage(inWind, object, inMsg);
  MessageHandler handler = object != nullptr ? HandlerOf(inMsg) : nullptr;
  LRESULT result = 0;
  if (handler != nullptr && handler(object, inWParam, inLParam, &result)) {
    return result;
  }
  return DefWindowProcW(inWind, inMsg, inWParam, inLParam);
}

long RegisterToolbarWindowClass() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  if (GetClassInfoExW(instance, kToolbarWindowClass, &windowClass)) {
    return 0;
  }
  windowClass.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, L"Corvexa Toolbar");
  windowClass.hIconSm = LoadIconW(instance, L"SMALL");
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kToolbarWindowClass;
  return RegisterClassExW(&windowClass) != 0 ? 0 : KSLastError();
}
