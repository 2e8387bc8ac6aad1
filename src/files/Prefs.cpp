#include "files/Prefs.h"

#include <cstring>

#include "files/KSFile.h"
#include "foundation/KSError.h"

Prefs::Prefs() : mSysStored(false), mDirty(true) {}

void Prefs::SetSpec(const KSFileSpec& inSpec) {
  mFileSpec.Assign(inSpec);
  mDirty = true;
}

long Prefs::Load() {
  mPrefs.RemoveAll();
  if (!mPrefs.SetArgs(mFileSpec)) {
    return kKSErr_Unmapped;
  }
  mDirty = false;
  return 0;
}

long Prefs::Store() {
  if (!mDirty) {
    return 0;
  }
  UtilStr text;
  mPrefs.ExportTo(nullptr, &text);
  mDirty = false;
  return KSFile::WriteFile(mFileSpec, text.getCStr(), text.length());
}

void Prefs::SetInt(long inKey, long inValue) {
  long old;
  if (!mPrefs.GetInt(inKey, &old) || old != inValue) {
    mDirty = true;
  }
  mPrefs.SetInt(inKey, inValue);
}

void Prefs::SetStr(long inKey, const char* inStr, long inLen) {
  if (inLen < 0) {
    inLen = inStr != nullptr ? static_cast<long>(std::strlen(inStr)) : 0;
  }
  const UtilStr* old = mPrefs.GetStr(inKey);
  if (old == nullptr || old->length() != inLen ||
      (inLen > 0 && std::memcmp(old->getCStr(), inStr, inLen) != 0)) {
    mDirty = true;
  }
  mPrefs.SetStr(inKey, inStr, inLen);
}

void Prefs::RemoveAll() {
  mDirty = true;
  mPrefs.RemoveAll();
}
