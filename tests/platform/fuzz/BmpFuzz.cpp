// Feeds arbitrary bytes to the BMP reader as a file, and whatever picture it
// makes of them to the run scanner that keyed drawing and window shapes are built from. A damaged
// file must end in an error code, never in a read or write past a buffer or in an allocation far
// beyond what the bytes can describe (libFuzzer's memory limit catches those).
//
// The key colour is the colour of the picture's first pixel, so that keyed
// and opaque pixels both occur.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/BmpDecode.h"
#include "platform/BmpRunScanner.h"
#include "support/MemoryStream.h"

namespace {

uint32 KeyOf(const BmpPicture& inPicture) {
  if (inPicture.BitCount() <= 8) {
    const BmpColor entry = inPicture.Color(inPicture.TopRow(0)[0]);
    return BmpColorValue(entry.red, entry.green, entry.blue);
  }
  const uint8* pixel = inPicture.TopRow(0);
  return BmpColorValue(pixel[2], pixel[1], pixel[0]);
}

// Every run must lie inside the picture.
void ScanRuns(const BmpPicture& inPicture) {
  BmpRunScanner scanner(inPicture, true, KeyOf(inPicture));
  KSRect run;
  while (scanner.Next(&run)) {
    if (run.left < 0 || run.left >= run.right || run.right > inPicture.Width() || run.top < 0 ||
        run.bottom != run.top + 1 || run.bottom > inPicture.Height()) {
      __builtin_trap();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* inData, size_t inSize) {
  // libFuzzer's buffer has the exact size: any read past the file is caught.
  MemoryStream stream(inData, inSize);
  BmpPicture picture;
  if (BmpRead(&stream, &picture) == 0) {
    ScanRuns(picture);
  }
  return 0;
}
