// cStream: a thin wrapper of a standard I/O stream, used to load images.
#pragma once

#include <cstdio>

enum eStreamSeek {
  kStreamSeekBeginning = SEEK_SET,
  kStreamSeekCurrent = SEEK_CUR,
  kStreamSeekEnd = SEEK_END
};

class cStream {
 public:
  cStream();
  virtual ~cStream();  // closes
  cStream(const cStream&) = delete;
  cStream& operator=(const cStream&) = delete;

  // Closes any open stream, then opens inName (UTF-8) with an fopen mode
  // such as "rb". True on success.
  virtual bool Open(const char* inName, const char* inMode);
  virtual void Close();
  // The current offset; -1 when not open.
  virtual long Position();
  // fseek's result: 0 on success.
  virtual long Seek(long inOffset, eStreamSeek inFrom);
  // The length of the file; the position is left where it was.
  virtual unsigned long FileSize();
  // The number of bytes read or written; 0 when not open.
  virtual unsigned long Read(void* ioBuffer, unsigned long inBytes);
  virtual unsigned long Write(const void* inBuffer, unsigned long inBytes);
  // Closes the current stream and adopts inFile.
  virtual void SetHandle(FILE* inFile);
  // Forgets the stream without closing it.
  virtual void ReleaseHandle();

  bool IsOpen() const { return mFile != nullptr; }

 protected:
  FILE* mFile;
};
