// KSFile's whole-file operations: ReadFromFile, ReadFile and WriteFile.
#include <windows.h>

#include "files/KSFile.h"
#include "files/KSFileSiblings.h"
#include "files/KSFileSpec.h"
#include "files/KSNativePath.h"
#include "foundation/KSError.h"
#include "foundation/KSLastError.h"
#include "foundation/UtilStr.h"

namespace {

// The most one read can hold.
const int64 kMaxReadBytes = 2147483646;

// Reads inBytes from inPos of an open file into outData (see ReadFromFile).
long ReadRange(KSFile& inFile, int64 inPos, long inBytes, UtilStr* outData) {
  int64 size = inFile.Size();
  int64 remaining = size - inPos;
  if (inBytes < 0) {
    if (remaining > kMaxReadBytes) {
      return kKSErr_FileTooLarge;
    }
    inBytes = long(remaining);
  }
  if (inPos < 0 || inPos > size) {
    return kKSErr_IllegalSeek;
  }
  long result = 0;
  if (inPos + inBytes > size) {
    inBytes = long(remaining);
    result = kKSErr_EOF;
  }
  long err = inPos > 0 ? inFile.Seek(inPos) : 0;
  outData->Clear();
  if (err == 0 && inBytes > 0) {
    outData->Append(nullptr, inBytes);
    if (outData->length() != inBytes) {
      return kKSErr_AllocFailed;
    }
    err = inFile.Read(outData->WritablePtr(), inBytes, nullptr);
  }
  return err != 0 ? err : result;
}

long WriteSibling(const KSFileSpec& inSibling, const void* inData, long inBytes) {
  KSFile file;
  long err = file.OpenFile(inSibling, kKSWriteStreamAccess);
  if (err != 0) {
    return err;
  }
  err = file.Write(inData, inBytes, nullptr);
  if (err == 0) {
    err = file.Flush();
  }
  // Closing cuts the file at the end of the new content.
  long closeErr = file.Close();
  return err != 0 ? err : closeErr;
}

// Puts inSibling in inTarget's place in one step, replacing any old file.
long ReplaceWithSibling(const KSFileSpec& inSibling, const KSFileSpec& inTarget) {
  KSNativePath from(inSibling);
  KSNativePath to(inTarget);
  if (!MoveFileExW(from.Get(), to.Get(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return KSLastOSError();
  }
  return 0;
}

}  // namespace

long KSFile::ReadFromFile(const KSFileSpec& inSpec, int64 inPos, long inBytes, UtilStr* outData) {
  if (outData == nullptr) {
    return kKSErr_Param;
  }
  KSFile file;
  long err = file.OpenFile(inSpec, inPos == 0 ? kKSReadStreamAccess : kKSReadRandomAccess);
  if (err == 0) {
    err = ReadRange(file, inPos, inBytes, outData);
    file.Close();  // nothing was written: a failing close loses nothing
  }
  if (err != 0 && err != kKSErr_EOF) {
    outData->Clear();
  }
  return err;
}

long KSFile::ReadFile(const KSFileSpec& inSpec, UtilStr* outData, long inMaxBytes) {
  if (inMaxBytes < 1) {
    return ReadFromFile(inSpec, 0, inMaxBytes, outData);
  }
  // One byte more than allowed tells a file at the limit from a larger one.
  long probe = inMaxBytes <= kMaxReadBytes ? inMaxBytes + 1 : inMaxBytes;
  long err = ReadFromFile(inSpec, 0, probe, outData);
  if (err == kKSErr_EOF) {
    return 0;  // the whole file, shorter than the probe
  }
  if (err == 0 && outData->length() > inMaxBytes) {
    outData->Clear();
    return kKSErr_FileTooBig;
  }
  return err;
}

long KSFile::WriteFile(const KSFileSpec& inSpec, const void* inData, long inBytes) {
  if (inSpec.IsEmpty()) {
    return kKSErr_FileNotFound;
  }
  if (inBytes < 0) {
    return kKSErr_Param;
  }
  KSFileSpec sibling;
  MakeFileSibling(inSpec, &sibling);
  long err = WriteSibling(sibling, inData, inBytes);
  if (err == 0) {
    err = ReplaceWithSibling(sibling, inSpec);
  }
  if (err != 0) {
    sibling.Delete();  // the old file stays as it was
    return err;
  }
  // Writers killed part-way leave their siblings behind; the next store of
  // the same file clears them away.
  RemoveStrayFileSiblings(inSpec);
  return 0;
}
