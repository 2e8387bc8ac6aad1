// Prefs: one ArgList bound to the text file it is stored in, with a dirty
// flag so that the file is written only when a value changed. The toolbar's
// "Toolbar Preferences.txt" is one.
#pragma once

#include "files/KSFileSpec.h"
#include "foundation/ArgList.h"
#include "foundation/UtilStr.h"

class Prefs {
 public:
  Prefs();
  Prefs(const Prefs&) = delete;
  Prefs& operator=(const Prefs&) = delete;

  // Binds the set to inSpec; the set becomes dirty.
  void SetSpec(const KSFileSpec& inSpec);
  const KSFileSpec& GetSpec() const { return mFileSpec; }

  // Replaces the values with the file's. A file that cannot be read (missing,
  // or larger than kArgListMaxFileBytes) gives kKSErr_Unmapped and leaves the
  // set empty; success makes the set clean.
  long Load();

  // Writes the values (CR LF separated) when the set is dirty; otherwise does
  // nothing. The file is replaced as a whole, so a failed write leaves the old
  // file in place. The set is clean afterwards whatever the result.
  long Store();

  // Setting a value equal to the stored one keeps a clean set clean.
  void SetInt(long inKey, long inValue);
  void SetStr(long inKey, const char* inStr, long inLen = -1);
  void RemoveAll();

  bool GetInt(long inKey, long* outValue) const { return mPrefs.GetInt(inKey, outValue); }
  long GetInt(long inKey) const { return mPrefs.GetInt(inKey); }
  bool GetStr(long inKey, UtilStr* outStr) const { return mPrefs.GetStr(inKey, outStr); }
  const UtilStr* GetStr(long inKey) const { return mPrefs.GetStr(inKey); }

  bool IsDirty() const { return mDirty; }
  const ArgList& GetArgs() const { return mPrefs; }

  void SetPrefName(const char* inName) { mPrefName.Assign(inName); }
  const UtilStr& GetPrefName() const { return mPrefName; }

 protected:
  UtilStr mPrefName;  // a name for the set; not part of the file
  bool mSysStored;    // always false: the set lives in a file
  bool mDirty;
  KSFileSpec mFileSpec;
  ArgList mPrefs;
};
