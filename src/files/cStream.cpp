#include "files/cStream.h"

#include <cassert>
#include <cstring>

#ifdef _WIN32
#include <cwchar>

#include "files/KSFileSpec.h"
#include "foundation/KSUnicode.h"
#endif

namespace {

#ifdef _WIN32
// fopen would read the name in the ANSI code page; names here are UTF-8.
FILE* OpenWide(const char* inName, const char* inMode) {
  wchar_t name[kKSMaxNativePathUnits];
  if (strchr(inName, '\\') != nullptr) {
    // An absolute path: the native form, long-path prefix included.
    KSFileSpec spec;
    spec.AssignFromPath(inName);
    spec.GetNativePathname(reinterpret_cast<uint16*>(name), kKSMaxNativePathUnits);
  } else {
    int units = KSEncodeAsUTF16(reinterpret_cast<const uint8*>(inName), -1, kKSEncodingUTF8,
                                reinterpret_cast<uint16*>(name), kKSMaxNativePathUnits - 1, true);
    // A name that does not fit is not opened, rather than opened cut short.
    name[units < kKSMaxNativePathUnits - 1 ? units : 0] = 0;
  }
  wchar_t mode[16];
  size_t i = 0;
  for (; inMode[i] != 0 && i + 1 < sizeof(mode) / sizeof(mode[0]); i++) {
    mode[i] = wchar_t(uint8(inMode[i]));
  }
  mode[i] = 0;
  return name[0] != 0 ? _wfopen(name, mode) : nullptr;
}
#endif

}  // namespace

cStream::cStream() : mFile(nullptr) {}

cStream::~cStream() {
  Close();
}

bool cStream::Open(const char* inName, const char* inMode) {
  Close();
  if (inName == nullptr || inMode == nullptr) {
    return false;
  }
#ifdef _WIN32
  mFile = OpenWide(inName, inMode);
#else
  mFile = fopen(inName, inMode);
#endif
  return mFile != nullptr;
}

void cStream::Close() {
  if (mFile != nullptr) {
    fclose(mFile);
    mFile = nullptr;
  }
}

long cStream::Position() {
  assert(mFile != nullptr);
  return mFile != nullptr ? ftell(mFile) : -1;
}

long cStream::Seek(long inOffset, eStreamSeek inFrom) {
  assert(mFile != nullptr);
  return mFile != nullptr ? fseek(mFile, inOffset, int(inFrom)) : -1;
}

unsigned long cStream::FileSize() {
  assert(mFile != nullptr);
  if (mFile == nullptr) {
    return 0;
  }
  long here = ftell(mFile);
  fseek(mFile, 0, SEEK_END);
  long size = ftell(mFile);
  fseek(mFile, here, SEEK_SET);
  return size > 0 ? static_cast<unsigned long>(size) : 0;
}

unsigned long cStream::Read(void* ioBuffer, unsigned long inBytes) {
  assert(ioBuffer != nullptr && inBytes != 0);
  if (mFile == nullptr || ioBuffer == nullptr) {
    return 0;
  }
  return static_cast<unsigned long>(fread(ioBuffer, 1, inBytes, mFile));
}

unsigned long cStream::Write(const void* inBuffer, unsigned long inBytes) {
  assert(inBuffer != nullptr && inBytes != 0);
  if (mFile == nullptr || inBuffer == nullptr) {
    return 0;
  }
  return static_cast<unsigned long>(fwrite(inBuffer, 1, inBytes, mFile));
}

void cStream::SetHandle(FILE* inFile) {
  Close();
  mFile = inFile;
}

void cStream::ReleaseHandle() {
  mFile = nullptr;
}
