// A 32-bit bitmap in a memory context, filled with one colour, whose pixels
// the tests read back after drawing on it.
#pragma once

#include <windows.h>

#include <algorithm>

#include "platform/KSGdiObject.h"
#include "platform/KSRect.h"

class Canvas {
 public:
  // inFill is 0xRRGGBB.
  Canvas(int inWidth, int inHeight, uint32 inFill = 0xFFFFFF)
      : mWidth(inWidth),
        mHeight(inHeight),
        mDC(nullptr),
        mBitmap(MakeBitmap()),
        mSelect(mDC.Get(), mBitmap.Get()) {
    std::fill(mBits, mBits + inWidth * inHeight, inFill);
  }

  HDC DC() const { return mDC.Get(); }
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }

  // 0xRRGGBB.
  uint32 Pixel(int inX, int inY) const {
    GdiFlush();
    return mBits[inY * mWidth + inX] & 0xFFFFFF;
  }

  // The box around every pixel that is not inBackground (right and bottom
  // exclusive); empty when there is none.
  KSRect Ink(uint32 inBackground = 0xFFFFFF) const {
    KSRect box = {mWidth, mHeight, 0, 0};
    for (int y = 0; y < mHeight; y++) {
      for (int x = 0; x < mWidth; x++) {
        if (Pixel(x, y) != inBackground) {
          box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                 std::max(box.bottom, y + 1)};
        }
      }
    }
    return box;
  }

 private:
  HBITMAP MakeBitmap() {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, mWidth, -mHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return CreateDIBSection(mDC.Get(), &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&mBits),
                            nullptr, 0);
  }

  int mWidth;
  int mHeight;
  uint32* mBits = nullptr;
  KSMemDC mDC;
  KSGdiObj<HBITMAP> mBitmap;
  KSSelectObj mSelect;
};
