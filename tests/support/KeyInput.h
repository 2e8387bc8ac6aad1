// Real keys for window tests: presses go through the system's input queue
// (SendInput), and this thread's messages are then dispatched through a
// loop that gives keys to KSDialogKeys first, as the toolbar program's
// loop does.
#pragma once

#include <windows.h>

#include "skin/KSDialogKeys.h"

// Dispatches this thread's messages for a while, keys through KSDialogKeys.
inline void PumpKeys(DWORD inMilliseconds = 40) {
  DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!KSDialogKeys(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    Sleep(1);
  } while (GetTickCount() - start < inMilliseconds);
}

inline void SendKey(WORD inKey, bool inUp) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki = KEYBDINPUT{inKey, WORD(MapVirtualKeyW(inKey, MAPVK_VK_TO_VSC)),
                        DWORD(inUp ? KEYEVENTF_KEYUP : 0), 0, 0};
  SendInput(1, &input, sizeof(input));
}

// Presses and releases inKey (with Shift held when inShift), then pumps.
inline void Press(WORD inKey, bool inShift = false) {
  if (inShift) {
    SendKey(VK_SHIFT, false);
  }
  SendKey(inKey, false);
  SendKey(inKey, true);
  if (inShift) {
    SendKey(VK_SHIFT, true);
  }
  PumpKeys();
}
