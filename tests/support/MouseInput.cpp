#include "support/MouseInput.h"

namespace {

void Send(DWORD inFlags, LONG inX = 0, LONG inY = 0, long inData = 0) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = inX;
  input.mi.dy = inY;
  input.mi.mouseData = DWORD(inData);
  input.mi.dwFlags = inFlags;
  SendInput(1, &input, sizeof(input));
  PumpMessages();
}

}  // namespace

void PumpMessages(DWORD inMilliseconds) {
  DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(1);
  } while (GetTickCount() - start < inMilliseconds);
}

// Absolute input spans the primary screen as 0 to 65535 on each axis.
void MouseMoveTo(long inX, long inY) {
  long width = GetSystemMetrics(SM_CXSCREEN);
  long height = GetSystemMetrics(SM_CYSCREEN);
  Send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, LONG((inX * 65536 + width / 2) / width),
       LONG((inY * 65536 + height / 2) / height));
}

void MouseDown() {
  Send(MOUSEEVENTF_LEFTDOWN);
}

void MouseUp() {
  Send(MOUSEEVENTF_LEFTUP);
}

void MouseWheel(long inNotches) {
  Send(MOUSEEVENTF_WHEEL, 0, 0, inNotches * WHEEL_DELTA);
}

void MouseClickAt(long inX, long inY) {
  MouseMoveTo(inX, inY);
  MouseDown();
  MouseUp();
}

POINT ScreenPointOf(HWND inWind, long inX, long inY) {
  POINT point = {inX, inY};
  ClientToScreen(inWind, &point);
  return point;
}
