// Expansion of run-length BMP data. Both forms share their escapes:
//   n > 0, v      a run of n pixels of value v
//   0, 0          end of row: on to the start of the next row
//   0, 1          end of picture
//   0, 2, dx, dy  move right and dy rows up
//   0, n >= 3     n literal pixels, then a pad byte to an even length
// RLE4 works on whole bytes: a run or literal starts in the high nibble of a
// fresh byte, a run alternates the high and low nibble of v (so pairs of
// pixels are v itself), and a move goes (dx + 1) / 2 bytes right.
#include <cstring>

#include "foundation/KSError.h"
#include "platform/BmpDecode.h"

namespace {

class RleExpander {
 public:
  RleExpander(const uint8* inData, size_t inBytes, uint8* outPixels, uint32 inScanLen,
              uint32 inHeight, bool inFourBit)
      : mIn(inData),
        mInBytes(inBytes),
        mOut(outPixels),
        mOutBytes(size_t(inScanLen) * inHeight),
        mScanLen(inScanLen),
        mFourBit(inFourBit) {}

  long Expand() {
    while (HasInput(2)) {
      uint8 count = mIn[mAt];
      uint8 value = mIn[mAt + 1];
      mAt += 2;
      bool ok = true;
      if (count > 0) {
        ok = Run(count, value);
      } else if (value == 0) {
        mRowStart = Advance(mRowStart, mScanLen);
        mPos = mRowStart;
      } else if (value == 1) {
        return 0;
      } else if (value == 2) {
        ok = Move();
      } else {
        ok = Literal(value);
      }
      if (!ok) {
        return kKSErr_BadImageData;
      }
    }
    return kKSErr_BadImageData;  // no end-of-picture marker
  }

 private:
  bool HasInput(size_t inBytes) const { return mAt <= mInBytes && mInBytes - mAt >= inBytes; }

  // Whether inBytes can be written at the write position.
  bool HasRoom(size_t inBytes) const { return mPos <= mOutBytes && mOutBytes - mPos >= inBytes; }

  // Moves a position forward; anything past the end of the buffer stays just
  // past it, where no write fits.
  size_t Advance(size_t inPos, uint64 inBytes) const {
    return inPos <= mOutBytes && inBytes <= mOutBytes - inPos ? inPos + size_t(inBytes)
                                                              : mOutBytes + 1;
  }

  // Bytes that inPixels pixels take.
  size_t BytesOf(size_t inPixels) const { return mFourBit ? (inPixels + 1) / 2 : inPixels; }

  bool Run(uint8 inCount, uint8 inValue) {
    size_t bytes = BytesOf(inCount);
    if (!HasRoom(bytes)) {
      return false;
    }
    memset(mOut + mPos, inValue, bytes);
    if (mFourBit && (inCount & 1) != 0) {
      mOut[mPos + bytes - 1] &= 0xF0;
    }
    mPos += bytes;
    return true;
  }

  bool Move() {
    if (!HasInput(2)) {
      return false;
    }
    uint8 dx = mIn[mAt];
    uint8 dy = mIn[mAt + 1];
    mAt += 2;
    uint64 rows = uint64(dy) * mScanLen;
    mPos = Advance(Advance(mPos, mFourBit ? (dx + 1) / 2 : dx), rows);
    mRowStart = Advance(mRowStart, rows);
    return true;
  }

  bool Literal(uint8 inCount) {
    size_t bytes = BytesOf(inCount);
    if (!HasInput(bytes) || !HasRoom(bytes)) {
      return false;
    }
    memcpy(mOut + mPos, mIn + mAt, bytes);
    if (mFourBit && (inCount & 1) != 0) {
      mOut[mPos + bytes - 1] &= 0xF0;
    }
    mPos += bytes;
    mAt += bytes + (bytes & 1);
    return true;
  }

  const uint8* mIn;
  size_t mInBytes;
  size_t mAt = 0;
  uint8* mOut;
  size_t mOutBytes;
  size_t mPos = 0;
  size_t mRowStart = 0;
  uint32 mScanLen;
  bool mFourBit;
};

}  // namespace

long BmpExpandRLE8(const uint8* inData, size_t inBytes, uint8* outPixels, uint32 inScanLen,
                   uint32 inHeight) {
  return RleExpander(inData, inBytes, outPixels, inScanLen, inHeight, false).Expand();
}

long BmpExpandRLE4(const uint8* inData, size_t inBytes, uint8* outPixels, uint32 inScanLen,
                   uint32 inHeight) {
  return RleExpander(inData, inBytes, outPixels, inScanLen, inHeight, true).Expand();
}
