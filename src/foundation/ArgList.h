// ArgList: a small typed dictionary keyed by four-character codes, with a
// key=value text form.
//
// Each entry holds a 32-bit integer, a single-precision float or a string.
// The text form is a run of key=value pairs separated by commas or line
// breaks, with // and /* */ comments; string values are double-quoted with
// backslash escapes. It is the form of "Toolbar Preferences.txt" and of the
// attribute block of a theme.
//
// The two members that touch files, SetArgs(const KSFileSpec&) and
// ExportTo(const char*, KSOStream*), live in files/ArgListFiles.cpp: code that
// calls them links ks_files, while the text form stays free of the file layer.
#pragma once

#include "foundation/Hashtable.h"
#include "foundation/KSObject.h"

class KSFileSpec;
class KSOStream;
class UtilStr;

// Largest preference or attribute file that SetArgs(const KSFileSpec&) reads.
constexpr long kArgListMaxFileBytes = 500000;

class ArgList : public KSObject {
 public:
  ArgList();
  ~ArgList() override;

  // Builds a key code from up to four characters: the last four of inKey,
  // each shifted in from the right ("ABCD" is 0x41424344, "ab" is 0x6162).
  static long KeyCode(const char* inKey, long inLen = -1);

  // Parses the text form and adds or replaces entries; inLen < 0 means up to
  // the NUL. Bad text is skipped, never refused.
  void SetArgs(const char* inText, long inLen = -1);

  // Reads a whole file (at most kArgListMaxFileBytes) and parses it. False
  // when the file cannot be read; the list is then unchanged.
  bool SetArgs(const KSFileSpec& inSpec);

  // Writes every entry in the text form, each followed by inSeparator (null
  // means CR LF). The UtilStr form replaces outText with the result.
  void ExportTo(const char* inSeparator, KSOStream* outStream) const;
  void ExportTo(const char* inSeparator, UtilStr* outText) const;

  // An integer as it is, a float truncated toward zero, a string converted
  // with UtilStr::StrToInt. A missing key gives false (and 0).
  bool GetInt(long inKey, long* outValue) const;
  long GetInt(long inKey) const;

  // A string is shared into outStr; an integer is written in decimal and a
  // float with up to 7 decimals. A missing key leaves outStr empty (false).
  bool GetStr(long inKey, UtilStr* outStr) const;
  // The stored string, or null when the key is missing or not a string.
  const UtilStr* GetStr(long inKey) const;

  void SetInt(long inKey, long inValue);
  void SetFloat(long inKey, float inValue);
  void SetStr(long inKey, const UtilStr& inStr);
  void SetStr(long inKey, const char* inStr, long inLen = -1);

  void RemoveAll();
  long Count() const { return mArgs.NumEntries(); }

 protected:
  // The entries: the key code is the hash, there is no key object, and the
  // value type sits in the entry's user flags.
  class ArgTable : public Hashtable {
   public:
    using Hashtable::get;
    using Hashtable::put;
    using Hashtable::remove;
  };

  ArgTable mArgs;

 private:
  // Stores one value of the text form (quotes included when quoted).
  void StoreValue(long inKey, const char* inValue, long inLen);
};
