// Finds the opaque pixels of a picture as runs: row by row from the top,
// each maximal run of opaque pixels in a row is the rectangle (first x, row,
// one past the last x, row + 1). Keyed drawing copies these runs and a window
// shape is their union.
//
// A pixel is see-through when it has the keyed colour (its colour-table
// entry's, for pictures with a table) or, in a 32-bit picture with alpha,
// when its alpha is 0.
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
  // inKey is a BmpColorValue, used only when inKeyed.
  BmpRunScanner(const BmpPicture& inPicture, bool inKeyed, uint32 inKey);

  // The next run; false when there are no more.
  bool Next(KSRect* outRun);

 private:
  bool IsOpaque(const uint8* inRow, int32 inX) const;
  uint32 ColorAt(const uint8* inRow, int32 inX) const;

  const BmpPicture& mPicture;
  bool mKeyed;
  uint32 mKey;
  int32 mRow;
  int32 mX;
};
