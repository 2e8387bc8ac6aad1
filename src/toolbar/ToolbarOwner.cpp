#include "toolbar/ToolbarOwner.h"

#include "foundation/KSTypes.h"
#include "platform/windowproc.h"
#include "toolbar/cAppWin.h"

namespace {

const wchar_t kOwnerClass[] = L"Corvexa Toolbar Owner";
const wchar_t kOwnerTitle[] = L"Corvexa Toolbar";

// The owner keeps one value in its window: whether it was last minimised.
const int kMinimizedSlot = 0;

struct Tidings {
  HWND mOwner;
  long mCode;
};

BOOL CALLBACK TellOwnedWindow(HWND inWind, LPARAM inTidings) {
  const auto* tidings = reinterpret_cast<const Tidings*>(inTidings);
  if (GetWindow(inWind, GW_OWNER) == tidings->mOwner) {
    PostMessageW(inWind, kToolbarUserMsg, WPARAM(tidings->mCode), 0);
  }
  return TRUE;
}

// Posts the toolbar user message inCode to the windows inOwner owns.
void TellToolbar(HWND inOwner, long inCode) {
  Tidings tidings = {inOwner, inCode};
  EnumThreadWindows(GetCurrentThreadId(), TellOwnedWindow, reinterpret_cast<LPARAM>(&tidings));
}

// The toolbar hides itself before its owner is minimised, so the taskbar
// button, which restores the owner, does not bring it back by itself: the
// owner tells it to come back.
void NoteSizeChange(HWND inOwner, WPARAM inKind) {
  bool wasMinimized = GetWindowLongPtrW(inOwner, kMinimizedSlot) != 0;
  SetWindowLongPtrW(inOwner, kMinimizedSlot, inKind == SIZE_MINIMIZED);
  if (wasMinimized && (inKind == SIZE_RESTORED || inKind == SIZE_MAXIMIZED)) {
    TellToolbar(inOwner, cAppWin::kUserMsgShowToolbar);
  }
}

}  // namespace

HWND createToolBarOwner(HINSTANCE inInstance) {
  WNDCLASSEXW ownerClass = {};
  ownerClass.cbSize = sizeof(ownerClass);
  if (!GetClassInfoExW(inInstance, kOwnerClass, &ownerClass)) {
    ownerClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    ownerClass.lpfnWndProc = toolbarOwnerWindowProc;
    ownerClass.cbWndExtra = sizeof(LONG_PTR);
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
    TellToolbar(inWind, KSFourCC("TRay"));
    return 0;
  }
  if (inMsg == WM_SIZE) {
    NoteSizeChange(inWind, inWParam);
  }
  return DefWindowProcW(inWind, inMsg, inWParam, inLParam);
}
