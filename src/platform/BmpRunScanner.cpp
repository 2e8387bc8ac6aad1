#include "platform/BmpRunScanner.h"

BmpRunScanner::BmpRunScanner(const BmpPicture& inPicture, uint32 inKey)
    : mPicture(inPicture), mKey(inKey), mRow(0), mX(0) {
  if (!inPicture.Pixels || !CanKey(inPicture.BitCount())) {
    mRow = inPicture.Height();  // nothing is opaque
  }
}

bool BmpRunScanner::IsOpaque(const uint8* inRow, int32 inX) const {
  if (mPicture.BitCount() == 8) {
    const BmpColor entry = mPicture.Color(inRow[inX]);
    return BmpColorValue(entry.red, entry.green, entry.blue) != mKey;
  }
  const uint8* pixel = inRow + 3 * inX;  // blue, green, red
  return BmpColorValue(pixel[2], pixel[1], pixel[0]) != mKey;
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
