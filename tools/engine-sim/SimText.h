// UTF-8 text to and from the UTF-16 of the Win32 calls.
#pragma once

#include <string>

#include "foundation/UtilStr.h"

std::wstring WideText(const UtilStr& inText);
UtilStr Utf8Text(const wchar_t* inText, long inLen = -1);
