// Builds BMP files in memory for the image tests: the two headers, a colour
// table and the pixel data, with any header field set as a test needs it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "foundation/KSTypes.h"

struct BmpFile {
  int32 width = 1;
  int32 height = 1;
  uint16 bits = 24;
  uint32 compression = 0;
  std::vector<uint32> colors;  // table entries, 0xRRGGBB
  std::vector<uint8> data;     // what follows the table: stored rows or run-length data
  int64 clrUsed = -1;          // -1: the number of colors
  uint32 clrImportant = 0;
  int64 sizeImage = -1;  // -1: the size of data when compressed, else 0
  uint16 magic = 0x4D42;

  std::vector<uint8> Bytes() const {
    std::vector<uint8> out;
    auto put = [&out](uint32 inValue, int inBytes) {
      for (int i = 0; i < inBytes; i++) {
        out.push_back(uint8(inValue >> (8 * i)));
      }
    };
    uint32 tableBytes = uint32(colors.size() * 4);
    put(magic, 2);
    put(uint32(14 + 40 + tableBytes + data.size()), 4);
    put(0, 4);
    put(14 + 40 + tableBytes, 4);
    put(40, 4);
    put(uint32(width), 4);
    put(uint32(height), 4);
    put(1, 2);
    put(bits, 2);
    put(compression, 4);
    put(uint32(sizeImage >= 0 ? sizeImage : compression != 0 ? int64(data.size()) : 0), 4);
    put(0, 4);
    put(0, 4);
    put(uint32(clrUsed >= 0 ? clrUsed : int64(colors.size())), 4);
    put(clrImportant, 4);
    for (uint32 color : colors) {
      put(color & 0xFF, 1);          // blue
      put((color >> 8) & 0xFF, 1);   // green
      put((color >> 16) & 0xFF, 1);  // red
      put(0, 1);
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
  }
};

// Packs rows of pixel values (the top row first; table indices, 0xRRGGBB for
// 24 bits or 0xAARRGGBB for 32) into stored BMP rows: bottom row first, each padded to four
// bytes.
inline std::vector<uint8> PackRows(int inBits, std::initializer_list<std::vector<uint32>> inRows) {
  std::vector<std::vector<uint8>> stored;
  for (const std::vector<uint32>& row : inRows) {
    std::vector<uint8> bytes;
    for (size_t x = 0; x < row.size(); x++) {
      uint32 value = row[x];
      if (inBits >= 24) {
        bytes.insert(bytes.end(), {uint8(value), uint8(value >> 8), uint8(value >> 16)});
        if (inBits == 32) {
          bytes.push_back(uint8(value >> 24));
        }
        continue;
      }
      size_t perByte = 8 / inBits;
      if (x % perByte == 0) {
        bytes.push_back(0);
      }
      bytes.back() |= uint8(value << (8 - inBits * (x % perByte + 1)));
    }
    bytes.resize((bytes.size() + 3) / 4 * 4);
    stored.insert(stored.begin(), bytes);
  }
  std::vector<uint8> out;
  for (const std::vector<uint8>& row : stored) {
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}
