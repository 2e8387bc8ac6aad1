// KSIStream: an input stream over a byte buffer. When the buffer runs out the
// refill hook is asked for more; the base stream has no more and ends reading
// with kKSErr_EOF.
#pragma once

#include "foundation/KSTypes.h"
#include "foundation/UtilStr.h"

class KSIStream {
 public:
  // An empty stream: the first read ends with kKSErr_EOF.
  KSIStream();
  // Reads inBytes of inBuf, which must outlive the stream.
  KSIStream(const void* inBuf, long inBytes);
  // Reads a shared copy of inData, which the stream keeps alive.
  explicit KSIStream(const UtilStr& inData);
  virtual ~KSIStream();
  KSIStream(const KSIStream&) = delete;
  KSIStream& operator=(const KSIStream&) = delete;

  // Copies inBytes bytes to outBuf (a null outBuf skips them). Stops early
  // when reading ends, giving the error that ended it.
  long GetBlock(void* outBuf, int inBytes);
  // Makes outStr inBytes characters long and reads into it (a null outStr skips).
  long GetBlock(int inBytes, UtilStr* outStr);

  // 0 while readable, else the error that ended reading.
  long GetState() const { return mState; }

 protected:
  // Called when mPos reaches mBufSize: must either provide new bytes (set
  // mBuf, mBufSize and mPos) or set mState to an error.
  virtual void RefillBuffer();

  int32 mPos;         // read position in mBuf
  const uint8* mBuf;  // the bytes available now
  int32 mBufSize;
  int32 mState;        // 0 while readable
  UtilStr mReadScrap;  // storage a stream may read its buffer into
  UtilStr mTieBuf;     // keeps a buffer handed in as a UtilStr alive
};
