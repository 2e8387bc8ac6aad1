// corvexa-bench-window: the yardstick of the toolbar benchmark. The least a
// Win32 program does to put a window on the screen: registers a class, makes
// and shows one window of the toolbar's size and paints it. With --timer it
// also runs a 100 ms timer that does nothing, the floor of a window that
// keeps in step with an engine. Closing the window ends it.
#include <windows.h>

#include <cstring>

namespace {

const wchar_t kClass[] = L"Corvexa Bench Window";
const UINT_PTR kTimer = 1;

LRESULT CALLBACK WindowProc(HWND inWind, UINT inMsg, WPARAM inW, LPARAM inL) {
  switch (inMsg) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(inWind, &paint);
      RECT box;
      GetClientRect(inWind, &box);
      HBRUSH brush = CreateSolidBrush(RGB(40, 70, 140));
      FillRect(dc, &box, brush);
      DeleteObject(brush);
      EndPaint(inWind, &paint);
      return 0;
    }
    case WM_TIMER:
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(inWind, inMsg, inW, inL);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE inInstance, HINSTANCE, LPSTR inArgs, int) {
  WNDCLASSW windClass = {};
  windClass.lpfnWndProc = WindowProc;
  windClass.hInstance = inInstance;
  windClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windClass.lpszClassName = kClass;
  if (RegisterClassW(&windClass) == 0) {
    return 1;
  }
  HWND wind = CreateWindowExW(0, kClass, kClass, WS_POPUP, 40, 40, 520, 150, nullptr, nullptr,
                              inInstance, nullptr);
  if (wind == nullptr) {
    return 1;
  }
  if (std::strstr(inArgs, "--timer") != nullptr) {
    SetTimer(wind, kTimer, 100, nullptr);
  }
  ShowWindow(wind, SW_SHOWNORMAL);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
