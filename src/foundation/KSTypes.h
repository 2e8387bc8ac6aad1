// Fixed-size integer names used throughout the code base.
#pragma once

#include <cstdint>

typedef int8_t int8;
typedef uint8_t uint8;
typedef int16_t int16;
typedef uint16_t uint16;
typedef int32_t int32;
typedef uint32_t uint32;
typedef int64_t int64;
typedef uint64_t uint64;

// A four-character code spelled as a constant expression: KSFourCC("SChg") is
// the same value as the literal 'SChg' (most significant byte first).
constexpr uint32 KSFourCC(const char (&inCode)[5]) {
  return (uint32(uint8(inCode[0])) << 24) | (uint32(uint8(inCode[1])) << 16) |
         (uint32(uint8(inCode[2])) << 8) | uint32(uint8(inCode[3]));
}
