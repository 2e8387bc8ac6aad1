// The toolbar window made in this process, as the window tests work it: its
// messages pumped until something holds, a combo box's items read, and the
// window closed with its owner.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "skin/cStandardComboBox.h"
#include "support/EventLog.h"
#include "support/MouseInput.h"
#include "toolbar/cAppWin.h"

inline bool PumpUntil(const std::function<bool()>& inDone, int inTimeoutMS = 10000) {
  return PollUntil(
      [&] {
        PumpMessages(5);
        return inDone();
      },
      inTimeoutMS);
}

// The item at inIndex, by default the chosen one.
inline std::string Shown(cStandardComboBox* inBox, long inIndex = -2) {
  char shown[300] = "";
  inBox->GetItem(inIndex == -2 ? inBox->CurSelection() : inIndex, shown, sizeof(shown));
  return shown;
}

// Destroys the window and inOwner; the window's shut-down asks the message
// loop to end, and there is none.
inline void CloseAppWin(std::unique_ptr<cAppWin>* ioApp, HWND inOwner) {
  if (*ioApp != nullptr && (*ioApp)->IsWindow()) {
    DestroyWindow((*ioApp)->Wind());
  }
  ioApp->reset();
  DestroyWindow(inOwner);
  MSG quit;
  while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}
