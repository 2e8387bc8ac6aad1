// The code page tables behind KSEncodeAsUTF16 (private to the foundation).
#pragma once

#include "foundation/KSTypes.h"

// UTF-16 values of the bytes 0x80-0xFF; bytes below 0x80 stand for themselves.
extern const uint16 kMacRomanHighHalf[128];
extern const uint16 kWindows1252HighHalf[128];
