// Finds the opaque pixels of a picture with one colour keyed out, as runs:
// row by row from the top, each maximal run of opaque pixels in a row is the
// rectangle (first x, row, one past the last x, row + 1). Keyed drawing
// copies these runs and a window shape is their union.
#pragma once

#include "platform/BmpDecode.h"
#include "platform/KSRect.h"

// A colour as the platform's colour value: red in the low byte, then green,
// then blue.
constexpr uint32 BmpColorValue(uint8 inRed, uint8 inGreen, uint8 inBlue) {
  return uint32(inRed) | (uint32(inGreen) << 8) | (uint32(inBlue) << 16);
}

class BmpRunScanner {
 public:
  // inKey is a BmpColorValue. A pixel is opaque when its colour (its colour
  // table entry for 8 bits) is not the key. Only 8- and 24-bit pictures can
  // be keyed; others have no opaque pixels.
  BmpRunScanner(const BmpPicture& inPicture, uint32 inKey);

  // The next run; false when there are no more.
  bool Next(KSRect* outRun);

  // Whether pictures of inBitCount bits can be keyed.
  static bool CanKey(int inBitCount) { return inBitCount == 8 || inBitCount == 24; }

 private:
  bool IsOpaque(const uint8* inRow, int32 inX) const;

  const BmpPicture& mPicture;
  uint32 mKey;
  int32 mRow;
  int32 mX;
};
