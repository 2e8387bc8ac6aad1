// The pixel work behind drawing a picture with one colour keyed out: the
// colour tables of an 8-bit picture and the monochrome mask of a 24- or
// 32-bit one. Plain buffers only; cBaseImage hands the results to the
// platform, once per keyed colour.
#pragma once

#include <cstddef>

#include "platform/BmpDecode.h"

// A colour as the platform's colour value: red in the low byte, then green,
// then blue.
constexpr uint32 BmpColorValue(uint8 inRed, uint8 inGreen, uint8 inBlue) {
  return uint32(inRed) | (uint32(inGreen) << 8) | (uint32(inBlue) << 16);
}

// Whether a table entry is the colour inKey (a BmpColorValue).
bool BmpIsColor(const BmpColor& inEntry, uint32 inKey);

// The two tables that draw an 8-bit picture with inKey left out, in two
// passes: AND with outAnd (white where the key is, so that the background
// stays, black elsewhere), then OR with outXor (black where the key is, the
// picture's own colour elsewhere). Each holds kBmpMaxColors entries.
void BmpKeyColorTables(const BmpColor* inTable, uint32 inKey, BmpColor* outXor, BmpColor* outAnd);

// Bytes per row of a monochrome mask: rows are padded to 16 bits.
size_t BmpMaskRowBytes(int32 inWidth);

// The mask of a 24- or 32-bit picture: Height() rows of BmpMaskRowBytes,
// top row first, bit 0x80 for the leftmost pixel of each byte; a bit is set
// exactly where the pixel is the colour inKey. outMask must be zeroed.
void BmpBuildMask(const BmpPicture& inPicture, uint32 inKey, uint8* outMask);
