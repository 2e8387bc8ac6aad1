// KSAccessible: what a screen reader gets for the client area of a control:
// the platform's standard object of the window with the control's own name,
// role, state and value. Everything else, the children of a list among it,
// comes from the standard object.
#pragma once

#include <windows.h>

class KSAccessible {
 public:
  // Answers WM_GETOBJECT for the client area of inWind, a control's window,
  // with inWParam as the message brought it. False when no object could be
  // made: the message then goes to the default processing.
  static bool Answer(HWND inWind, WPARAM inWParam, LRESULT* outResult);
  // The same for a window that is no control: the standard object inObjectID
  // (OBJID_WINDOW or OBJID_CLIENT) of inWind, whose name is inName.
  static bool AnswerNamed(HWND inWind, LONG inObjectID, WPARAM inWParam, const char* inName,
                          LRESULT* outResult);
};
