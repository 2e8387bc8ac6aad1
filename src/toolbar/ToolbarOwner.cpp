#include "toolbar/ToolbarOwner.h"

HWND createToolBarOwner(HINSTANCE) {
  return nullptr;
}

LRESULT CALLBACK toolbarOwnerWindowProc(HWND inWnd, UINT inMsg, WPARAM inWParam, LPARAM inLParam) {
  return DefWindowProcW(inWnd, inMsg, inWParam, inLParam);
}
