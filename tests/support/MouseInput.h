// Real mouse input for window tests: moves and button presses go through
// the system's input queue (SendInput), so windows see them as they see a
// user's, capture and all. Points are screen coordinates. Each call pumps
// this thread's messages until the input has been handled.
#pragma once

#include <windows.h>

void MouseMoveTo(long inX, long inY);
void MouseDown();
void MouseUp();
// Moves there, presses and releases.
void MouseClickAt(long inX, long inY);
// Turns the wheel by inNotches (positive: away from the user).
void MouseWheel(long inNotches);

// Dispatches this thread's messages for inMilliseconds.
void PumpMessages(DWORD inMilliseconds = 30);

// The screen point at inX, inY of inWind's client area.
POINT ScreenPointOf(HWND inWind, long inX, long inY);
