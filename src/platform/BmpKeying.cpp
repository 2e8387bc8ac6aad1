#include "platform/BmpKeying.h"

namespace {

const BmpColor kBlack = {0, 0, 0, 0};
const BmpColor kWhite = {255, 255, 255, 0};

}  // namespace

bool BmpIsColor(const BmpColor& inEntry, uint32 inKey) {
  return BmpColorValue(inEntry.red, inEntry.green, inEntry.blue) == inKey;
}

void BmpKeyColorTables(const BmpColor* inTable, uint32 inKey, BmpColor* outXor, BmpColor* outAnd) {
  for (int i = 0; i < kBmpMaxColors; i++) {
    bool keyed = BmpIsColor(inTable[i], inKey);
    outXor[i] = keyed ? kBlack : inTable[i];
    outAnd[i] = keyed ? kWhite : kBlack;
  }
}

size_t BmpMaskRowBytes(int32 inWidth) {
  return size_t(inWidth + 15) / 16 * 2;
}

void BmpBuildMask(const BmpPicture& inPicture, uint32 inKey, uint8* outMask) {
  const int step = inPicture.BitCount() / 8;
  const uint8 blue = uint8(inKey >> 16);
  const uint8 green = uint8(inKey >> 8);
  const uint8 red = uint8(inKey);
  const size_t rowBytes = BmpMaskRowBytes(inPicture.Width());
  for (int32 y = 0; y < inPicture.Height(); y++) {
    const uint8* pixel = inPicture.TopRow(y);
    uint8* maskRow = outMask + size_t(y) * rowBytes;
    for (int32 x = 0; x < inPicture.Width(); x++, pixel += step) {
      if (pixel[0] == blue && pixel[1] == green && pixel[2] == red) {
        maskRow[x / 8] |= uint8(0x80 >> (x % 8));
      }
    }
  }
}
