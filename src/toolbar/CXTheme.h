// CXTheme: one theme in memory. For each kind of engine configuration it keeps,
// per configuration name, a small attribute list (mainly whether that
// configuration is switched on), and a header of theme attributes (names,
// version, creation time). Its text form is the file "theme.txt":
//
//   LNam="My Theme" PNam="My Theme" Vers=1 CreD=45000 CreS=3600 <CR LF>
//   ---<CR LF>
//   WaveShape/Flower/On=0 <CR LF>
//   ColorMap/*/On=1 <CR LF>
//
// A configuration named "*" is the wildcard: its list applies to every
// configuration of that kind that is not listed by name.
#pragma once

#include "foundation/ArgList.h"
#include "foundation/Hashtable.h"
#include "foundation/KSTypes.h"
#include "skin/CXConfigType.h"

class KSFileSpec;
class KSOStream;
class UtilStr;

// Header attribute keys.
constexpr long kThemeAttr_LogicalName = KSFourCC("LNam");
constexpr long kThemeAttr_PhysicalName = KSFourCC("PNam");
constexpr long kThemeAttr_Version = KSFourCC("Vers");
constexpr long kThemeAttr_CreationDays = KSFourCC("CreD");
constexpr long kThemeAttr_CreationSecs = KSFourCC("CreS");

// Configuration attribute key "On": 1 when the configuration is switched on.
// A configuration without it counts as on.
constexpr long kConfigAttr_On = 0x4F6E;
// Configuration attribute key "Flag" of a sprite: the flags it starts with.
constexpr long kConfigAttr_Flag = KSFourCC("Flag");

// The format version written into new themes.
constexpr long kThemeFormatVersion = 1;

// The largest "theme.txt" that is read.
constexpr long kThemeMaxFileBytes = 2000000;

class CXTheme {
 public:
  CXTheme();
  ~CXTheme();
  CXTheme(const CXTheme&) = delete;
  CXTheme& operator=(const CXTheme&) = delete;

  // inKey of configuration inName (inNameLen < 0: up to the NUL), else of the
  // wildcard, else inDefault. A type outside the seven kinds gives inDefault.
  long GetAttrib(CXConfigType inType, const char* inName, long inNameLen, long inKey,
                 long inDefault) const;
  // Sets an integer attribute. A configuration seen for the first time gets
  // its list under the name up to its NUL.
  void SetAttrib(CXConfigType inType, const char* inName, long inNameLen, long inKey, long inValue);

  // Parses the text form. The header's keys replace equal ones and keep the
  // others; the configuration lists are emptied first. Text without a "---"
  // line gives kKSErr_FormatNotRecognized. With inHeaderOnly only the header
  // is read.
  long ReadFromBuf(const UtilStr& inText, bool inHeaderOnly);
  // Reads and parses "theme.txt" in inFolder.
  long ReadFromDisk(const KSFileSpec& inFolder, bool inHeaderOnly);

  // Writes the text form. Always 0.
  long SaveToStream(KSOStream* outStream) const;
  // Writes "theme.txt" into inFolder (created when missing), replacing the
  // old file as a whole.
  long SaveToDisk(const KSFileSpec& inFolder) const;

  // Makes this theme's content that of inTheme, through the text form.
  long CopyContents(const CXTheme& inTheme);

  // Empties both names and every configuration list; other header
  // attributes stay. Always 0.
  long SetFactorySettings();

  ArgList& ThemeAttribs() { return mThemeAttribs; }
  const ArgList& ThemeAttribs() const { return mThemeAttribs; }

 protected:
  // Configuration name -> owned ArgList of its attributes.
  class ConfigTable : public Hashtable {
   public:
    using Hashtable::put_str;
  };

  ArgList* FindConfig(CXConfigType inType, const char* inName, long inNameLen) const;
  void ClearConfigs();
  void ReadBody(const char* inText, long inLen);

  ConfigTable mConfigList[kCX_ConfigTypeCount];
  ArgList mThemeAttribs;
};
