// Where a turn of the mouse wheel goes. The system hands a turn to the window
// under the pointer or the one holding the mouse, or (on some systems and
// settings) to the window with the keyboard focus. Either way the toolbar
// gives it to the window that holds the mouse (an open drop-down list), else
// to the window the user points at, else to the one that got it; from there
// it climbs through the parents until one uses it (cBaseWindow::OnMouseWheel).
// A turn that no window uses changes nothing: a closed combo box never
// changes its choice under a turn meant for the list beside it.
//
// Fine-grained wheels report parts of a notch: the parts add up, and a
// window hears of whole notches only.
#pragma once

#include <windows.h>

// For the window procedures, on WM_MOUSEWHEEL for inWind: true when the turn
// was dealt with here (the message is answered 0), false when it is to go on
// to the default processing (a turn being handed to a platform window that
// has no object, such as a platform combo box's own drop-down list).
bool KSRouteMouseWheel(HWND inWind, WPARAM inWParam, LPARAM inLParam);

// The rows a list moves for inNotches: the system's wheel setting in rows per
// notch (three when the system gives none), or inPageRows per notch when the
// setting asks for a page. Positive towards the end of the list.
long KSWheelRows(long inNotches, long inPageRows);
