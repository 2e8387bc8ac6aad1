// Reading and writing 32-bit values in a fixed byte order, whatever the
// machine's own.
#pragma once

#include "foundation/KSTypes.h"

inline uint32 KSGetBE32(const uint8* inBytes) {
  return (uint32(inBytes[0]) << 24) | (uint32(inBytes[1]) << 16) | (uint32(inBytes[2]) << 8) |
         uint32(inBytes[3]);
}

inline void KSPutBE32(uint32 inValue, uint8* outBytes) {
  outBytes[0] = uint8(inValue >> 24);
  outBytes[1] = uint8(inValue >> 16);
  outBytes[2] = uint8(inValue >> 8);
  outBytes[3] = uint8(inValue);
}

inline uint32 KSGetLE32(const uint8* inBytes) {
  return uint32(inBytes[0]) | (uint32(inBytes[1]) << 8) | (uint32(inBytes[2]) << 16) |
         (uint32(inBytes[3]) << 24);
}

inline void KSPutLE32(uint32 inValue, uint8* outBytes) {
  outBytes[0] = uint8(inValue);
  outBytes[1] = uint8(inValue >> 8);
  outBytes[2] = uint8(inValue >> 16);
  outBytes[3] = uint8(inValue >> 24);
}
