#include "toolbar/ToolbarOwner.h"

#include "foundation/KSTypes.h"
#include "platform/windowproc.h"

namespace {

const wchar_t kOwnerClass[] = L"Corvexa Toolbar Owner";
const wchar_t kOwnerTitle[] = L"Corvexa Toolbar";

BOOL CALLBACK TellOwnedToolbar(HWND inWind, LPARAM inOwner) {
  if (GetWindow(inWind, GW_OWNER) == reinterpret_cast<HWND>(inOwner)) {
    PostMessageW(inWind, kToolbarUserMsg, WPARAM(KSFourCC("TRay")), 0);
  }
  return TRUE;
}

}  // namespace

HWND createToolBarOwner(HINSTANCE inInstance) {
  WNDCLASSEXW ownerClass = {};
  ownerClass.cbSize = sizeof(ownerClass);
  if (!GetClassInfoExW(inInstance, kOwnerClass, &ownerClass)) {
    ownerClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    ownerClass.lpfnWndProc = toolbarOwnerWindowProc;
    ownerClass.hInstance = inInstance;
    ownerClass.hIcon = LoadIconW(inInstance, MAKEINTRESOURCEW(1));
    ownerClass.hIconSm = LoadIconW(inInstance, MAKEINTRESOURCEW(3));
    ownerClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    ownerClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    ownerClass.lpszClassName = kOwnerClass;
    if (RegisterClassExW(&ownerClass) == 0) {
      return nullptr;
    }
  }
  return CreateWindowExW(WS_EX_APPWINDOW, kOwnerClass, kOwnerTitle,
                         WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr, nullptr,
                         inInstance, nullptr);
}

LRESULT CALLBACK toolbarOwnerWindowProc(HWND inWind, UINT inMsg, WPARAM inWParam, LPARAM inLParam) {
  // When the shell restarts it tells every top-level window; the toolbar
  // then puts its tray icon back.
  static const UINT sTaskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  if (inMsg == sTaskbarCreated && sTaskbarCreated != 0) {
    EnumThreadWindows(GetCurrentThreadId(), TellOwnedToolbar, reinterpret_cast<LPARAM>(inWind));
    return 0;
  }
  return DefWindowProcW(inWind, inMsg, inWParam, inLParam);
}
