// A cStream that reads bytes in memory, so that the BMP reader can be fed
// without files. It reads exactly the given bytes: nothing before or after.
// Only what the reader uses is there: reading, the position and the size.
#pragma once

#include <cstring>

#include "files/cStream.h"
#include "foundation/KSTypes.h"

class MemoryStream : public cStream {
 public:
  MemoryStream(const uint8* inData, size_t inSize) : mData(inData), mSize(inSize), mAt(0) {}

  long Position() override { return long(mAt); }
  unsigned long FileSize() override { return (unsigned long)mSize; }
  unsigned long Read(void* outData, unsigned long inBytes) override {
    size_t count = inBytes < mSize - mAt ? inBytes : mSize - mAt;
    if (count > 0) {
      memcpy(outData, mData + mAt, count);
    }
    mAt += count;
    return (unsigned long)count;
  }

 private:
  const uint8* mData;
  size_t mSize;
  size_t mAt;
};
