#include "platform/BmpRunScanner.h"

#include "platform/BmpKeying.h"

namespace {

uint16 Pack565(uint32 inKey) {
  uint32 red = inKey & 0xFF;
  uint32 green = (inKey >> 8) & 0xFF;
  uint32 blue = (inKey >> 16) & 0xFF;
  return uint16(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
}

}  // namespace

BmpRunScanner::BmpRunScanner(const BmpPicture& inPicture, uint32 inKey, const BmpColor* inAndColors)
    : mPicture(inPicture),
      mAndColors(inAndColors),
      mKey(inKey),
      mKey565(Pack565(inKey)),
      mRow(0),
      mX(0) {
  int bits = inPicture.BitCount();
  if (!inPicture.Pixels || (bits != 8 && bits != 16 && bits != 24 && bits != 32)) {
    mRow = inPicture.Height();  // nothing is opaque
  }
}

bool BmpRunScanner::IsOpaque(const uint8* inRow, int32 inX) const {
  switch (mPicture.BitCount()) {
    case 8: {
      const BmpColor& entry = mAndColors[inRow[inX]];
      return entry.red != 255 || entry.green != 255 || entry.blue != 255;
    }
    case 16: {
      const uint8* pixel = inRow + 2 * inX;
      return uint16(pixel[0] | (pixel[1] << 8)) != mKey565;
    }
    case 24: {
      const uint8* pixel = inRow + 3 * inX;
      return BmpColorValue(pixel[2], pixel[1], pixel[0]) != mKey;
    }
    default: {  // 32 bits: blue, green, red and a zero fourth byte
      const uint8* pixel = inRow + 4 * inX;
      return BmpColorValue(pixel[2], pixel[1], pixel[0]) != mKey || pixel[3] != 0;
    }
  }
}

bool BmpRunScanner::Next(KSRect* outRun) {
  const int32 width = mPicture.Width();
  for (; mRow < mPicture.Height(); mRow++, mX = 0) {
    const uint8* row = mPicture.TopRow(mRow);
    while (mX < width && !IsOpaque(row, mX)) {
      mX++;
    }
    if (mX < width) {
      int32 first = mX;
      while (mX < width && IsOpaque(row, mX)) {
        mX++;
      }
      *outRun = KSRect{first, mRow, mX, mRow + 1};
      return true;
    }
  }
  return false;
}
