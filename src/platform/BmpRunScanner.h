// Finds the opaque pixels of a keyed picture as runs, the rectangles a
// window region is built from: row by row from the top, each maximal run of
// opaque pixels in a row is (first x, row, one past the last x, row + 1).
#pragma once

#include "platform/BmpDecode.h"
#include "platform/KSRect.h"

class BmpRunScanner {
 public:
  // inKey is the keyed colour (a BmpColorValue). 8-bit pictures are read
  // through inAndColors, the AND table of BmpKeyColorTables: an entry that is
  // not white is opaque. Pictures of 1 or 4 bits have no opaque pixels.
  BmpRunScanner(const BmpPicture& inPicture, uint32 inKey, const BmpColor* inAndColors);

  // The next run; false when there are no more.
  bool Next(KSRect* outRun);

 private:
  bool IsOpaque(const uint8* inRow, int32 inX) const;

  const BmpPicture& mPicture;
  const BmpColor* mAndColors;
  uint32 mKey;
  uint16 mKey565;  // the key as a 16-bit pixel, red in the top five bits
  int32 mRow;
  int32 mX;
};
