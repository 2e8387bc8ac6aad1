// KSFile: byte access to one disk file through a platform file handle, with
// four access modes and 64-bit positions, and the whole-file operations the
// rest of the system reads and writes its text files with.
#pragma once

#include "foundation/KSObject.h"
#include "foundation/KSTypes.h"

class KSFileSpec;
class UtilStr;

enum KSFileAccess : uint8 {
  kKSReadStreamAccess = 1,      // read from the start onwards; no seeking elsewhere
  kKSReadRandomAccess = 2,      // read anywhere
  kKSWriteStreamAccess = 3,     // write from the start onwards; created if missing,
                                // cut at the final position when closed
  kKSReadWriteRandomAccess = 4  // read and write anywhere; created if missing
};

// What Tell returns when there is no position.
constexpr int64 kKSNoFilePos = -2147483647;

class KSFile : public KSObject {
 public:
  KSFile();
  ~KSFile() override;  // closes
  KSFile(const KSFile&) = delete;
  KSFile& operator=(const KSFile&) = delete;

  // Closes any open file first. The stream modes start at position 0.
  virtual long OpenFile(const KSFileSpec& inSpec, KSFileAccess inAccess);
  virtual long OpenFile(const char* inPath, KSFileAccess inAccess);
  // kKSErr_BadState when not open. The handle is released in any case.
  virtual long Close();
  // The file's size in bytes; 0 when not open.
  virtual int64 Size();
  // The current position; kKSNoFilePos when not open or on failure.
  virtual int64 Tell();
  // Only in the random modes.
  virtual long SeekEnd();
  // The stream modes accept only position 0.
  virtual long Seek(int64 inPos);
  // A null outBuf skips inBytes. Fewer bytes than asked give kKSErr_IO.
  virtual long Read(void* outBuf, long inBytes, long* outRead);
  // A null inBuf skips inBytes forward. Fewer bytes than asked give kKSErr_IO.
  virtual long Write(const void* inBuf, long inBytes, long* outWritten);

  // Forces written data out to the disk.
  long Flush();
  bool IsOpen() const { return mFile != nullptr; }
  KSFileAccess GetAccessMode() const { return mAccessMode; }
  // Bytes written since the file was opened.
  int64 GetSizeExtents() const { return mSizeExtents; }

  // The one place that opens platform files. *outFile receives the handle
  // (a HANDLE), or null on failure.
  static long OpenFile_Private(const KSFileSpec& inSpec, KSFileAccess inAccess, void** outFile,
                               bool inOverlapped);

  // Reads inBytes from inPos (inBytes < 0: the rest of the file). A read that
  // runs past the end gives kKSErr_EOF with the bytes that exist; any other
  // failure leaves outData empty.
  static long ReadFromFile(const KSFileSpec& inSpec, int64 inPos, long inBytes, UtilStr* outData);
  // Reads a whole file. A negative inMaxBytes means no limit (and 0 reads
  // nothing); a file larger than inMaxBytes gives kKSErr_FileTooBig and an
  // empty outData.
  static long ReadFile(const KSFileSpec& inSpec, UtilStr* outData, long inMaxBytes);
  // Replaces a file's content with inBytes of inData, creating the file when
  // missing. The new content goes to a sibling file first, which then takes
  // the file's place in one step: a crash or a full disk part-way leaves the
  // old content intact, and the siblings such writers left are removed by
  // the next store of the file.
  static long WriteFile(const KSFileSpec& inSpec, const void* inData, long inBytes);

 private:
  bool IsStreamMode() const;
  bool CanRead() const;
  bool CanWrite() const;
  long SkipForward(long inBytes);

  void* mFile;  // HANDLE; null when closed
  KSFileAccess mAccessMode;
  int64 mSizeExtents;
};
