#include "files/KSIStream.h"

#include <cstring>

#include "foundation/KSError.h"

KSIStream::KSIStream() : mPos(0), mBuf(nullptr), mBufSize(0), mState(0) {}

KSIStream::KSIStream(const void* inBuf, long inBytes)
    : mPos(0),
      mBuf(static_cast<const uint8*>(inBuf)),
      mBufSize(inBuf != nullptr && inBytes > 0 ? int32(inBytes) : 0),
      mState(0) {}

KSIStream::KSIStream(const UtilStr& inData)
    : mPos(0), mBuf(nullptr), mBufSize(0), mState(0), mTieBuf(inData) {
  mBuf = reinterpret_cast<const uint8*>(mTieBuf.getCStr());
  mBufSize = mTieBuf.length();
}

KSIStream::~KSIStream() {}

void KSIStream::RefillBuffer() {
  mState = kKSErr_EOF;
}

long KSIStream::GetBlock(void* outBuf, int inBytes) {
  uint8* dest = static_cast<uint8*>(outBuf);
  while (inBytes > 0 && mState == 0) {
    if (mPos >= mBufSize) {
      RefillBuffer();
      continue;
    }
    int32 chunk = mBufSize - mPos;
    if (chunk > inBytes) {
      chunk = inBytes;
    }
    if (dest != nullptr) {
      memcpy(dest, mBuf + mPos, size_t(chunk));
      dest += chunk;
    }
    mPos += chunk;
    inBytes -= chunk;
  }
  return inBytes > 0 ? mState : 0;
}

long KSIStream::GetBlock(int inBytes, UtilStr* outStr) {
  if (outStr == nullptr) {
    return GetBlock(nullptr, inBytes);
  }
  outStr->Clear();
  if (inBytes < 1) {
    return 0;
  }
  outStr->Append(nullptr, inBytes);
  if (outStr->length() != inBytes) {
    return kKSErr_AllocFailed;
  }
  return GetBlock(outStr->WritablePtr(), inBytes);
}
