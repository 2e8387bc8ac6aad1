#include "files/KSOStream.h"

#include <cstring>

KSOStream::KSOStream() {}

KSOStream::~KSOStream() {}

long KSOStream::PutBlock(const void* inBuf, long inBytes) {
  if (inBuf != nullptr && inBytes > 0) {
    mOBuf.Append(static_cast<const char*>(inBuf), inBytes);
  }
  return 0;
}

long KSOStream::Skip(long inBytes, bool inZeroFill) {
  if (inBytes < 1) {
    return 0;
  }
  int32 start = mOBuf.length();
  mOBuf.Append(nullptr, inBytes);
  if (inZeroFill && mOBuf.length() == start + inBytes) {
    memset(mOBuf.WritablePtr() + start, 0, size_t(inBytes));
  }
  return 0;
}

void KSOStream::PrintDelimitedCStr(const char* inStr, long inLen) {
  mOBuf.AppendChar('"');
  if (inStr != nullptr) {
    mOBuf.AppendCStrEncoding(inStr, int(inLen), kCStrEscapeAll);
  }
  mOBuf.AppendChar('"');
}
