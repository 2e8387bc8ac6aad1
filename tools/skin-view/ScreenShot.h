// A picture of what the screen shows, put together from pieces: a window
// larger than the screen is taken a screenful at a time.
#pragma once

#include <windows.h>

#include "platform/KSGdiObject.h"
#include "platform/KSRect.h"

class KSFileSpec;

class ScreenShot {
 public:
  // A black picture of inWidth x inHeight pixels.
  ScreenShot(long inWidth, long inHeight);
  ScreenShot(const ScreenShot&) = delete;
  ScreenShot& operator=(const ScreenShot&) = delete;

  bool IsValid() const { return mRows != nullptr; }
  // Copies inArea of the screen (screen coordinates) to (inX, inY) of the
  // picture: whatever lies on the screen there, and through the holes of a
  // shaped window whatever is behind it.
  long Grab(const KSRect& inArea, long inX, long inY);
  // As a 24-bit BMP file.
  long Write(const KSFileSpec& inFile) const;

 private:
  BITMAPINFOHEADER mHeader;
  void* mRows;  // bottom row first, as in the file
  KSMemDC mDC;
  KSGdiObj<HBITMAP> mBitmap;
  KSSelectObj mSelect;  // last: undone before the bitmap and the context go
};
