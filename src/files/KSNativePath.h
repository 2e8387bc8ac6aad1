// KSNativePath: a KSFileSpec's UTF-16 path for one platform call (Windows only).
#pragma once

#include "files/KSFileSpec.h"

class KSNativePath {
 public:
  // A path that does not fit inMaxUnits comes out empty, so the platform
  // reports it as not found.
  explicit KSNativePath(const KSFileSpec& inSpec, int inMaxUnits = kKSMaxNativePathUnits) {
    if (inMaxUnits > kKSMaxNativePathUnits) {
      inMaxUnits = kKSMaxNativePathUnits;
    }
    mLength = inSpec.GetNativePathname(reinterpret_cast<uint16*>(mPath), inMaxUnits);
  }
  const wchar_t* Get() const { return mPath; }
  int Length() const { return mLength; }

 private:
  wchar_t mPath[kKSMaxNativePathUnits];
  int mLength;
};
