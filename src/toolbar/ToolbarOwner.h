// The hidden owner of the toolbar window. The toolbar is a tool window with no
// taskbar button; the owner is an application window that carries the
// taskbar presence and is minimised in the toolbar's place.
#pragma once

#include <windows.h>

constexpr const char* kOwnerClassName = "Corvexa Toolbar Owner";

// The owner window (invisible, at 0,0 with no size), or null when its class
// cannot be registered. Restored after it was minimised (the taskbar
// button), it tells the toolbar to come back (the toolbar user message
// "Show"); when the shell restarts, to put its tray icon back ("TRay").
HWND createToolBarOwner(HINSTANCE inInstance);
LRESULT CALLBACK toolbarOwnerWindowProc(HWND inWnd, UINT inMsg, WPARAM inWParam, LPARAM inLParam);
