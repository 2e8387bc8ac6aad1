#include "net/KSPacketReceiver.h"

#include <cstring>
#include <new>

#include "foundation/KSError.h"
#include "net/KSPacketWire.h"

KSPacketReceiver::KSPacketReceiver()
    : mBytesUnprocessed(0),
      mBytesProcessed(0),
      mHeaderTaken(false),
      mIncomingPacketSize(0),
      mIncomingPacket(),
      mTempBuf(nullptr),
      mTempBufDimSize(0) {}

KSPacketReceiver::~KSPacketReceiver() {
  delete[] mTempBuf;
}

int32 KSPacketReceiver::ReadSpace() const {
  return kBufferSize - mBytesUnprocessed;
}

long KSPacketReceiver::Consume(int32 inNumBytes, PacketProc inProc, void* inUser) {
  mBytesUnprocessed += inNumBytes;
  for (;;) {
    if (!mHeaderTaken) {
      if (mBytesUnprocessed < kKSPacketWireHeaderSize) {
        return 0;
      }
      long err = TakeHeader();
      if (err) {
        return err;
      }
    }

    int32 missing = mIncomingPacketSize - mBytesProcessed;
    int32 n = mBytesUnprocessed < missing ? mBytesUnprocessed : missing;
    memcpy(mTempBuf + (mBytesProcessed - kKSPacketWireHeaderSize), mData, size_t(n));
    mBytesProcessed += n;
    Shift(n);
    if (mBytesProcessed < mIncomingPacketSize) {
      return 0;
    }

    int32 dataSize = mIncomingPacket.mDataSize;
    mTempBuf[dataSize] = 0;
    mTempBuf[dataSize + 1] = 0;
    mIncomingPacket.mData = mTempBuf;
    mHeaderTaken = false;
    mBytesProcessed = 0;
    mIncomingPacketSize = 0;
    inProc(mIncomingPacket, inUser);
  }
}

long KSPacketReceiver::Feed(const uint8* inBytes, int64 inNumBytes, PacketProc inProc,
                            void* inUser) {
  while (inNumBytes > 0) {
    int32 n = ReadSpace();
    if (n > inNumBytes) {
      n = int32(inNumBytes);
    }
    memcpy(ReadBuffer(), inBytes, size_t(n));
    long err = Consume(n, inProc, inUser);
    if (err) {
      return err;
    }
    inBytes += n;
    inNumBytes -= n;
  }
  return 0;
}

long KSPacketReceiver::TakeHeader() {
  uint32 dataSize = KSPacketWire::DecodeHeader(mData, &mIncomingPacket);
  if (dataSize > kKSMaxIncomingDataSize) {
    return kKSErr_Protocol;
  }
  // Room for the data and the two terminating zeros; a new buffer gets some
  // slack so that slightly larger packets that follow can reuse it.
  if (dataSize + 6 >= mTempBufDimSize) {
    uint32 dimSize = (dataSize + 200) & ~uint32(15);
    uint8* buf = new (std::nothrow) uint8[dimSize];
    if (!buf) {
      return kKSErr_Internal;
    }
    delete[] mTempBuf;
    mTempBuf = buf;
    mTempBufDimSize = dimSize;
  }
  mIncomingPacket.mData = mTempBuf;
  mIncomingPacketSize = int32(dataSize) + kKSPacketWireHeaderSize;
  mBytesProcessed = kKSPacketWireHeaderSize;
  mHeaderTaken = true;
  Shift(kKSPacketWireHeaderSize);
  return 0;
}

void KSPacketReceiver::Shift(int32 inNumBytes) {
  mBytesUnprocessed -= inNumBytes;
  memmove(mData, mData + inNumBytes, size_t(mBytesUnprocessed));
}
