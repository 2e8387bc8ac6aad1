// The handlers of WindowProc's dispatch table (windowproc.cpp). Each one gets
// the object of the window the message was sent to and either answers the
// message (true, with *outResult) or leaves it to the default processing
// (false). These are the messages that come from child controls.
#pragma once

#include <windows.h>

class cBaseWindow;

bool HandleCommand(cBaseWindow* inWind, WPARAM inWParam, LPARAM inLParam, LRESULT* outResult);
bool HandleScroll(cBaseWindow* inWind, WPARAM inWParam, LPARAM inLParam, LRESULT* outResult);
bool HandleNotify(cBaseWindow* inWind, WPARAM inWParam, LPARAM inLParam, LRESULT* outResult);
bool HandleDrawItem(cBaseWindow* inWind, WPARAM inWParam, LPARAM inLParam, LRESULT* outResult);
bool HandleMeasureItem(cBaseWindow* inWind, WPARAM inWParam, LPARAM inLParam, LRESULT* outResult);
bool HandleButtonColor(cBaseWindow* inWind, WPARAM inWParam, LPARAM inLParam, LRESULT* outResult);
bool HandleStaticColor(cBaseWindow* inWind, WPARAM inWParam, LPARAM inLParam, LRESULT* outResult);
