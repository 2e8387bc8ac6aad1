// KSFile: one open platform file handle.
#include "files/KSFile.h"

#include <windows.h>

#include "files/KSFileSpec.h"
#include "files/KSNativePath.h"
#include "foundation/KSError.h"
#include "foundation/KSLastError.h"

namespace {

// Native paths of files opened here hold at most this many units.
const int kOpenPathUnits = 512;

bool IsWriteMode(KSFileAccess inAccess) {
  return inAccess == kKSWriteStreamAccess || inAccess == kKSReadWriteRandomAccess;
}

}  // namespace

long KSFile::OpenFile_Private(const KSFileSpec& inSpec, KSFileAccess inAccess, void** outFile,
                              bool inOverlapped) {
  if (outFile == nullptr) {
    return kKSErr_Param;
  }
  *outFile = nullptr;
  if (inSpec.IsEmpty()) {
    return kKSErr_FileNotFound;
  }
  DWORD access = GENERIC_READ;
  DWORD sharing = FILE_SHARE_READ;
  DWORD disposition = OPEN_EXISTING;
  if (IsWriteMode(inAccess)) {
    access = inAccess == kKSReadWriteRandomAccess ? (GENERIC_READ | GENERIC_WRITE) : GENERIC_WRITE;
    sharing = 0;
    disposition = OPEN_ALWAYS;
  }
  DWORD flags = FILE_ATTRIBUTE_NORMAL | (inOverlapped ? FILE_FLAG_OVERLAPPED : 0);
  KSNativePath path(inSpec, kOpenPathUnits);
  HANDLE file = CreateFileW(path.Get(), access, sharing, nullptr, disposition, flags, nullptr);
  if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
    // A system without the wide call: the 8-bit path is the best there is.
    file = CreateFileA(inSpec.GetPathCStr(), access, sharing, nullptr, disposition, flags, nullptr);
  }
  if (file == INVALID_HANDLE_VALUE) {
    return KSLastOSError();
  }
  *outFile = file;
  return 0;
}

KSFile::KSFile() : mFile(nullptr), mAccessMode(kKSReadStreamAccess), mSizeExtents(0) {}

KSFile::~KSFile() {
  if (mFile != nullptr) {
    Close();
  }
}

long KSFile::OpenFile(const KSFileSpec& inSpec, KSFileAccess inAccess) {
  if (mFile != nullptr) {
    Close();
  }
  long err = OpenFile_Private(inSpec, inAccess, &mFile, false);
  if (err == 0 && mFile == nullptr) {
    err = kKSErr_Internal;
  }
  if (err != 0) {
    return err;
  }
  mSizeExtents = 0;
  mAccessMode = inAccess;
  if (IsStreamMode()) {
    err = Seek(0);
    if (err != 0) {
      Close();
    }
  }
  return err;
}

long KSFile::OpenFile(const char* inPath, KSFileAccess inAccess) {
  KSFileSpec spec;
  spec.AssignFromPath(inPath);
  return OpenFile(spec, inAccess);
}

long KSFile::Close() {
  if (mFile == nullptr) {
    return kKSErr_BadState;
  }
  long err = 0;
  if (mAccessMode == kKSWriteStreamAccess && !SetEndOfFile(mFile)) {
    err = KSLastOSError();
  }
  // Closed by hand rather than by an owner: a failed close is reported.
  if (!CloseHandle(mFile) && err == 0) {
    err = KSLastOSError();
  }
  mFile = nullptr;
  return err;
}

int64 KSFile::Size() {
  LARGE_INTEGER size;
  if (mFile == nullptr || !GetFileSizeEx(mFile, &size)) {
    return 0;
  }
  return size.QuadPart;
}

int64 KSFile::Tell() {
  LARGE_INTEGER zero;
  zero.QuadPart = 0;
  LARGE_INTEGER pos;
  if (mFile == nullptr || !SetFilePointerEx(mFile, zero, &pos, FILE_CURRENT)) {
    return kKSNoFilePos;
  }
  return pos.QuadPart;
}

long KSFile::SeekEnd() {
  if (mFile == nullptr || IsStreamMode()) {
    return kKSErr_BadState;
  }
  LARGE_INTEGER zero;
  zero.QuadPart = 0;
  return SetFilePointerEx(mFile, zero, nullptr, FILE_END) ? 0 : KSLastOSError();
}

long KSFile::Seek(int64 inPos) {
  if (inPos < 0) {
    return kKSErr_IllegalSeek;
  }
  if (mFile == nullptr) {
    return kKSErr_BadState;
  }
  if (IsStreamMode() && inPos != 0) {
    return kKSErr_IllegalSeek;
  }
  LARGE_INTEGER pos;
  pos.QuadPart = inPos;
  return SetFilePointerEx(mFile, pos, nullptr, FILE_BEGIN) ? 0 : KSLastOSError();
}

long KSFile::Read(void* outBuf, long inBytes, long* outRead) {
  if (outRead != nullptr) {
    *outRead = 0;
  }
  if (inBytes < 0) {
    return kKSErr_Param;
  }
  if (mFile == nullptr || !CanRead()) {
    return kKSErr_BadState;
  }
  if (outBuf == nullptr) {
    long err = SkipForward(inBytes);
    if (err == 0 && outRead != nullptr) {
      *outRead = inBytes;
    }
    return err;
  }
  DWORD done = 0;
  // ::ReadFile: KSFile::ReadFile would hide the platform's.
  if (!::ReadFile(mFile, outBuf, DWORD(inBytes), &done, nullptr)) {
    return KSLastOSError();
  }
  if (outRead != nullptr) {
    *outRead = long(done);
  }
  return long(done) == inBytes ? 0 : kKSErr_IO;
}

long KSFile::Write(const void* inBuf, long inBytes, long* outWritten) {
  if (outWritten != nullptr) {
    *outWritten = 0;
  }
  if (inBytes < 0) {
    return kKSErr_Param;
  }
  if (mFile == nullptr || !CanWrite()) {
    return kKSErr_BadState;
  }
  long done = 0;
  long err = 0;
  if (inBuf == nullptr) {
    err = SkipForward(inBytes);
    done = err == 0 ? inBytes : 0;
  } else {
    DWORD written = 0;
    if (!::WriteFile(mFile, inBuf, DWORD(inBytes), &written, nullptr)) {
      err = KSLastOSError();
    }
    done = long(written);
    if (err == 0 && done != inBytes) {
      err = kKSErr_IO;
    }
  }
  if (outWritten != nullptr) {
    *outWritten = done;
  }
  if (err == 0) {
    mSizeExtents += inBytes;
  }
  return err;
}

long KSFile::Flush() {
  if (mFile == nullptr) {
    return kKSErr_BadState;
  }
  return FlushFileBuffers(mFile) ? 0 : KSLastOSError();
}

bool KSFile::IsStreamMode() const {
  return mAccessMode == kKSReadStreamAccess || mAccessMode == kKSWriteStreamAccess;
}

bool KSFile::CanRead() const {
  return mAccessMode != kKSWriteStreamAccess;
}

bool KSFile::CanWrite() const {
  return IsWriteMode(mAccessMode);
}

long KSFile::SkipForward(long inBytes) {
  LARGE_INTEGER distance;
  distance.QuadPart = inBytes;
  return SetFilePointerEx(mFile, distance, nullptr, FILE_CURRENT) ? 0 : KSLastOSError();
}
