// Reading a window's text.
#include <string>

#include "foundation/UtilStr.h"
#include "platform/BaseUtils.h"
#include "platform/KSWideText.h"

void BaseGetWindowText(HWND inWind, UtilStr* outText) {
  int units = GetWindowTextLengthW(inWind);
  std::wstring wide(static_cast<size_t>(units) + 1, L'\0');
  units = GetWindowTextW(inWind, &wide[0], units + 1);
  KSWideText::ToUTF8(wide.c_str(), units, outText);
}
