#include "platform/BmpRunScanner.h"

BmpRunScanner::BmpRunScanner(const BmpPicture& inPicture, bool inKeyed, uint32 inKey)
    : mPicture(inPicture), mKeyed(inKeyed), mKey(inKey), mRow(0), mX(0) {
  if (!inPicture.Pixels) {
    mRow = inPicture.Height();  // nothing is opaque
  }
}

uint32 BmpRunScanner::ColorAt(const uint8* inRow, int32 inX) const {
  int bits = mPicture.BitCount();
  if (bits <= 8) {
    int perByte = 8 / bits;
    int shift = 8 - bits * (inX % perByte + 1);
    uint32 index = (inRow[inX / perByte] >> shift) & ((1u << bits) - 1);
    const BmpColor entry = mPicture.Color(index);
    return BmpColorValue(entry.red, entry.green, entry.blue);
  }
  const uint8* pixel = inRow + (bits / 8) * inX;  // blue, green, red
  return BmpColorValue(pixel[2], pixel[1], pixel[0]);
}

bool BmpRunScanner::IsOpaque(const uint8* inRow, int32 inX) const {
  if (mPicture.HasAlpha && inRow[4 * inX + 3] == 0) {
    return false;
  }
  return !mKeyed || ColorAt(inRow, inX) != mKey;
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
