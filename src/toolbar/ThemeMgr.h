// ThemeMgr: the installed themes (read-only factory themes and the user's
// own), the current theme, and the theme "(Custom)" that collects the user's
// changes to the current selection.
//
// Each theme is a folder holding "theme.txt" below a "Themes" folder. Themes
// are listed sorted by logical name; indices are 0-based positions in that
// order, -1 meaning none. The first change to a named theme turns the current
// content into the custom theme (broadcasting kKSMsg_ThemeCustom); whenever
// the custom theme stops being current, and when the manager ends, its content
// is saved into the user's "(Custom)" folder.
#pragma once

#include <windows.h>

#include "files/KSFileSpec.h"
#include "foundation/KSBroadcaster.h"
#include "foundation/KSObject.h"
#include "foundation/UtilStr.h"
#include "foundation/XPtrList.h"
#include "toolbar/CXTheme.h"

// The logical and physical name of the custom theme.
extern const char kCustomThemeName[];

// One installed theme.
class ThemeInfo : public KSObject {
 public:
  ThemeInfo() : mReadOnly(false) {}

  UtilStr mPhysicalName;        // the folder's name
  UtilStr mLogicalName;         // the theme's LNam
  KSFileSpec mThemeFolderSpec;  // the theme folder
  bool mReadOnly;               // a factory theme: never deleted
};

class ThemeMgr : public KSBroadcaster {
 public:
  ThemeMgr();
  // Saves the custom theme when it is current.
  ~ThemeMgr() override;

  // Lists the themes of inFactoryFolder\Themes (read-only, when given) and of
  // inUserFolder\Themes (created when missing), and makes the user's
  // "(Custom)" theme when there is none. Always 0.
  long LoadThemeEnvironment(const KSFileSpec& inUserFolder, const KSFileSpec* inFactoryFolder);

  // Reads theme inIndex into the current theme (kKSErr_IndexOutOfBounds when
  // there is none). A theme file that cannot be read gives an empty theme
  // under that theme's names.
  long SetCurrentTheme(int inIndex);
  // The index of the current theme, -1 when it is not listed.
  int GetCurrentTheme() const;
  // The first theme whose logical name is inName ignoring case, else -1.
  int FindThemeByLogicalName(const char* inName) const;
  bool GetLogicalThemeName(int inIndex, UtilStr* outName) const;
  // Listed, not read-only and not the custom theme.
  bool ThemeIsDeletable(long inIndex) const;
  // Deletes the theme's folder and entry; the current theme moves to a
  // neighbour. kKSErr_Param for a bad index, kKSErr_ReadOnly for a theme that
  // may not be deleted.
  long DeleteTheme(int inIndex);
  // Saves a new theme in the user's folder (a copy of the current content
  // when inCopyCurrent) and lists it; with inReplace an existing theme of
  // that logical name is deleted. The current theme stays current.
  long CreateNewTheme(const UtilStr& inLogicalName, bool inCopyCurrent, bool inReplace);
  // Saves the current content as a theme named inLogicalName and makes it
  // current, asking before replacing a theme and telling the user about
  // failures with message boxes over inParent. False when the caller should
  // ask for another name.
  bool SaveThemeAs(HWND inParent, const char* inLogicalName);
  // Records one configuration attribute in the current theme, which becomes
  // the custom theme on the first change.
  void SetAttrib(CXConfigType inType, const char* inName, long inNameLen, long inKey, long inValue);

  int CountThemes() const { return int(mThemeList.Count()); }
  // The theme at inIndex, or null.
  const ThemeInfo* GetThemeInfo(int inIndex) const;
  // The current theme's content (its attributes answer the list views).
  const CXTheme& CurTheme() const { return mCurTheme; }
  bool UsingCustom() const { return mUsingCustom; }

 protected:
  long LoadThemeFolder(const KSFileSpec& inBaseFolder, bool inReadOnly);
  void AddThemeEntry(const KSFileSpec& inThemeFolder, bool inReadOnly);
  long GenerateUniquePhysName(const UtilStr& inLogicalName, UtilStr* outPhysName);

  // Orders ThemeInfos by logical name, case-sensitively.
  static long sThemeInfoComparitor(const void* inA, const void* inB, const void* inParam);

 private:
  ThemeInfo* Fetch(long inIndex) const;
  bool IsPhysicalNameTaken(const UtilStr& inName) const;
  // Writes the custom theme into the user's folder when it is current.
  void SaveCustomTheme();
  void GetCurrentPhysicalName(UtilStr* outName) const;

  CXTheme mCurTheme;
  bool mUsingCustom;
  KSFileSpec mUserThemesFolder;
  XObjectList mThemeList;  // of owned ThemeInfo, sorted
};
