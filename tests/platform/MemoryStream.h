// A read-only cStream over bytes in memory, so that the BMP reader can be fed
// without files. It reads exactly the given bytes: nothing before or after.
#pragma once

#include <cstring>

#include "files/cStream.h"
#include "foundation/KSTypes.h"

class MemoryStream : public cStream {
 public:
  MemoryStream(const uint8* inData, size_t inSize) : mData(inData), mSize(inSize), mAt(0) {}

  bool Open(const char*, const char*) override { return false; }
  void Close() override {}
  long Position() override { return long(mAt); }
  long Seek(long inOffset, eStreamSeek inFrom) override {
    long base = inFrom == kStreamSeekBeginning ? 0
                : inFrom == kStreamSeekCurrent ? long(mAt)
                                               : long(mSize);
    if (base + inOffset < 0 || size_t(base + inOffset) > mSize) {
      return -1;
    }
    mAt = size_t(base + inOffset);
    return 0;
  }
  unsigned long FileSize() override { return (unsigned long)mSize; }
  unsigned long Read(void* outData, unsigned long inBytes) override {
    size_t count = inBytes < mSize - mAt ? inBytes : mSize - mAt;
    if (count > 0) {
      memcpy(outData, mData + mAt, count);
    }
    mAt += count;
    return (unsigned long)count;
  }
  unsigned long Write(const void*, unsigned long) override { return 0; }

 private:
  const uint8* mData;
  size_t mSize;
  size_t mAt;
};
