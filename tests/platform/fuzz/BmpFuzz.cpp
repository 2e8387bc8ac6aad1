// Feeds arbitrary bytes to the BMP reader as a file, and whatever picture it
// makes of them to the keying and region code. A damaged file must end in an
// error code, never in a read or write past a buffer or in an allocation far
// beyond what the bytes can describe (libFuzzer's memory limit catches those).
//
// The key colour is the picture's first pixel (or first colour entry), so
// that keyed and opaque pixels both occur.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "../MemoryStream.h"
#include "platform/BmpDecode.h"
#include "platform/BmpKeying.h"
#include "platform/BmpRunScanner.h"

namespace {

uint32 KeyOf(const BmpPicture& inPicture) {
  if (inPicture.BitCount() <= 8) {
    const BmpColor& entry = inPicture.Info.colors[inPicture.TopRow(0)[0]];
    return BmpColorValue(entry.red, entry.green, entry.blue);
  }
  const uint8* pixel = inPicture.TopRow(0);
  return BmpColorValue(pixel[2], pixel[1], pixel[0]);
}

void KeyAndScan(const BmpPicture& inPicture) {
  uint32 key = KeyOf(inPicture);
  BmpColor xorColors[kBmpMaxColors];
  BmpColor andColors[kBmpMaxColors];
  BmpKeyColorTables(inPicture.Info.colors, key, xorColors, andColors);
  if (inPicture.BitCount() == 24) {
    size_t bytes = BmpMaskRowBytes(inPicture.Width()) * size_t(inPicture.Height());
    std::unique_ptr<uint8[]> mask(new uint8[bytes]());
    BmpBuildMask(inPicture, key, mask.get());
  }
  BmpRunScanner scanner(inPicture, key, andColors);
  KSRect run;
  while (scanner.Next(&run)) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* inData, size_t inSize) {
  // libFuzzer's buffer has the exact size: any read past the file is caught.
  MemoryStream stream(inData, inSize);
  BmpPicture picture;
  if (BmpRead(&stream, &picture) == 0) {
    KeyAndScan(picture);
  }
  return 0;
}
