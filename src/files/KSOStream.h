// KSOStream: an output stream that collects the bytes put to it in a UtilStr.
#pragma once

#include "foundation/UtilStr.h"

class KSOStream {
 public:
  KSOStream();
  virtual ~KSOStream();

  // Appends inBytes of inBuf. Always 0.
  virtual long PutBlock(const void* inBuf, long inBytes);
  // Appends inBytes bytes (none for inBytes < 1): zeros when inZeroFill,
  // otherwise bytes left unset. Always 0.
  virtual long Skip(long inBytes, bool inZeroFill);

  // Appends inStr between '"' characters with backslash escapes (the quoted
  // form of the system's text files). inLen < 0: up to the NUL.
  void PrintDelimitedCStr(const char* inStr, long inLen = -1);

  // Everything put so far.
  const UtilStr& GetBuffer() const { return mOBuf; }
  void Reset() { mOBuf.Clear(); }

 protected:
  UtilStr mOBuf;
};
