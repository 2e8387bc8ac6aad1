// A loaded picture and what drawing it needs: the picture in the screen's
// format, made the first time it is drawn so that every draw is a plain copy,
// and while a colour is keyed out (or the picture has alpha) the region of
// the other pixels, which drawing clips that copy to and a window shape is
// made from.
#pragma once

#include <windows.h>

#include "platform/BmpDecode.h"
#include "platform/KSGdiObject.h"

struct WinImage : BmpPicture {
  uint32 TransparentColor = 0;  // the keyed colour, red in the low byte
  bool Keyed = false;           // whether TransparentColor is left out
  KSGdiObj<HRGN> OpaqueRegion;  // while anything is left out
  KSGdiObj<HBITMAP> Surface;
};

static_assert(sizeof(BITMAPINFOHEADER) == sizeof(BmpInfoHeader), "same header layout");
static_assert(sizeof(RGBQUAD) == sizeof(BmpColor), "same colour-table entry layout");
