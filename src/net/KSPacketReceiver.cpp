#include "net/KSPacketReceiver.h"

#include <cstring>
#include <new>
#include <utility>

#include "foundation/KSError.h"
#include "net/KSPacketWire.h"

KSPacketReceiver::KSPacketReceiver()
    : mBytesUnprocessed(0),
      mBytesProcessed(0),
      mHeaderTaken(false),
      mIncomingPacketSize(0),
      mIncomingPacket(),
      mTempBufDimSize(0) {}

KSPacketReceiver::~KSPacketReceiver() {}

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
    long err = MakeRoomFor(n);
    if (err) {
      return err;
    }
    memcpy(mTempBuf.get() + (mBytesProcessed - kKSPacketWireHeaderSize), mData, size_t(n));
    mBytesProcessed += n;
    Shift(n);
    if (mBytesProcessed < mIncomingPacketSize) {
      return 0;
    }

    int32 dataSize = mIncomingPacket.mDataSize;
    mTempBuf[dataSize] = 0;
    mTempBuf[dataSize + 1] = 0;
    mIncomingPacket.mData = mTempBuf.get();
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
  // A small packet gets all its room at once; a large one only a first part,
  // as the size is just a claim until the data arrives.
  long err = Reserve(dataSize < kFirstReserve ? dataSize : kFirstReserve);
  if (err) {
    return err;
  }
  mIncomingPacketSize = int32(dataSize) + kKSPacketWireHeaderSize;
  mBytesProcessed = kKSPacketWireHeaderSize;
  mHeaderTaken = true;
  Shift(kKSPacketWireHeaderSize);
  return 0;
}

long KSPacketReceiver::MakeRoomFor(int32 inNumBytes) {
  uint32 arrived = uint32(mBytesProcessed - kKSPacketWireHeaderSize);
  uint32 needed = arrived + uint32(inNumBytes);
  if (needed + 6 < mTempBufDimSize) {
    return 0;
  }
  // Doubling keeps the copies few; the cap keeps what a stalled peer costs
  // close to what it has really sent.
  uint32 step = arrived < kFirstReserve ? kFirstReserve : arrived;
  step = step < kMaxGrowthStep ? step : kMaxGrowthStep;
  uint32 announced = uint32(mIncomingPacket.mDataSize);
  return Reserve(needed + step < announced ? needed + step : announced);
}

long KSPacketReceiver::Reserve(uint32 inDataBytes) {
  // A new buffer gets some slack so that slightly larger packets that follow
  // can reuse it.
  if (inDataBytes + 6 < mTempBufDimSize) {
    return 0;
  }
  uint32 dimSize = (inDataBytes + 200) & ~uint32(15);
  std::unique_ptr<uint8[]> buf(new (std::nothrow) uint8[dimSize]);
  if (!buf) {
    return kKSErr_Internal;
  }
  if (mHeaderTaken) {
    memcpy(buf.get(), mTempBuf.get(), size_t(mBytesProcessed - kKSPacketWireHeaderSize));
  }
  mTempBuf = std::move(buf);
  mTempBufDimSize = dimSize;
  return 0;
}

void KSPacketReceiver::Shift(int32 inNumBytes) {
  mBytesUnprocessed -= inNumBytes;
  memmove(mData, mData + inNumBytes, size_t(mBytesUnprocessed));
}
