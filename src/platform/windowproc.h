// WindowProc, the window procedure of the program's window class, and the
// class itself. WindowProc hands every message it knows to the window's
// object (cBaseWindow) through one dispatch table; see windowproc.cpp.
#pragma once

#include <windows.h>

// The program's window class: the toolbar, its pages and its own children.
// A second toolbar finds the running one by this class.
constexpr wchar_t kToolbarWindowClass[] = L"Kestrova Corvexa Toolbar";
constexpr char kToolbarWindowClassName[] = "Kestrova Corvexa Toolbar";

// The toolbar's own message: other threads post it (wParam: a four-character
// code) and it arrives as cBaseWindow::OnToolbarUserMsg. The tray icon's
// callback is kTrayIconMsg (BaseUtils.h).
constexpr UINT kToolbarUserMsg = WM_USER + 101;

LRESULT CALLBACK WindowProc(HWND inWind, UINT inMsg, WPARAM inWParam, LPARAM inLParam);

// Registers the window class when it is not registered yet: double clicks,
// redrawn when resized either way, WindowProc, the program's icons "Corvexa
// Toolbar" and "SMALL" (when it has them), the arrow cursor, no background
// brush, no menu. The error of a failed registration is returned; showing it
// is the caller's business.
long RegisterToolbarWindowClass();
