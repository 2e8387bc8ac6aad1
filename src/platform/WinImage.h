// A loaded picture and what keying a colour out of it has built: the colour
// tables of an 8-bit picture, or the mask of a 24- or 32-bit one.
#pragma once

#include <windows.h>

#include "platform/BmpDecode.h"
#include "platform/KSGdiObject.h"

struct WinImage : BmpPicture {
  BmpColor XorColors[kBmpMaxColors];
  BmpColor AndColors[kBmpMaxColors];
  uint32 ColorUse = DIB_RGB_COLORS;  // how the platform reads the colour tables
  KSGdiObj<HBITMAP> AndMask;         // 24 and 32 bits: set where the key colour is
  uint32 TransparentColor = 0;       // the keyed colour, red in the low byte

  const BITMAPINFO* PlatformInfo() const { return reinterpret_cast<const BITMAPINFO*>(&Info); }
};

static_assert(sizeof(BITMAPINFOHEADER) == sizeof(BmpInfoHeader), "same header layout");
static_assert(sizeof(RGBQUAD) == sizeof(BmpColor), "same colour-table entry layout");
