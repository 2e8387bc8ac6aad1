// ThemeMgr: making and deleting themes in the user's folder.
#include "foundation/KSError.h"
#include "foundation/KSTime.h"
#include "toolbar/ThemeFolderName.h"
#include "toolbar/ThemeMgr.h"

long ThemeMgr::GenerateUniquePhysName(const UtilStr& inLogicalName, UtilStr* outPhysName) {
  UtilStr base;
  MakeThemeFolderName(inLogicalName, &base);
  UtilStr candidate = base;
  for (int suffix = 2; IsPhysicalNameTaken(candidate); suffix++) {
    candidate = base;
    candidate.AppendInt(suffix);
  }
  *outPhysName = candidate;
  return base.IsEmpty() ? kKSErr_IllegalChars : 0;
}

long ThemeMgr::CreateNewTheme(const UtilStr& inLogicalName, bool inCopyCurrent, bool inReplace) {
  SaveCustomTheme();

  UtilStr physName;
  long err = GenerateUniquePhysName(inLogicalName, &physName);
  if (err != 0) {
    return err;
  }

  CXTheme theme;
  theme.SetFactorySettings();
  if (inCopyCurrent) {
    theme.CopyContents(mCurTheme);
  }
  KSTime now;
  KSTime::GetTime(&now, true);
  ArgList& attribs = theme.ThemeAttribs();
  attribs.SetInt(kThemeAttr_Version, kThemeFormatVersion);
  attribs.SetStr(kThemeAttr_LogicalName, inLogicalName);
  attribs.SetStr(kThemeAttr_PhysicalName, physName);
  attribs.SetInt(kThemeAttr_CreationDays, now.mDays);
  attribs.SetInt(kThemeAttr_CreationSecs, now.mSecs);

  KSFileSpec folder;
  folder.AssignRelativePath(physName.getCStr(), physName.length(), mUserThemesFolder);
  err = theme.SaveToDisk(folder);
  if (err != 0) {
    return err;
  }

  if (inReplace) {
    int replaced = FindThemeByLogicalName(inLogicalName.getCStr());
    if (replaced >= 0) {
      DeleteTheme(replaced);
    }
  }
  AddThemeEntry(folder, false);
  return 0;
}

long ThemeMgr::DeleteTheme(int inIndex) {
  if (inIndex < 0 || inIndex >= mThemeList.Count()) {
    return kKSErr_Param;
  }
  if (!ThemeIsDeletable(inIndex)) {
    return kKSErr_ReadOnly;
  }
  ThemeInfo* info = Fetch(inIndex);
  UtilStr currentName;
  GetCurrentPhysicalName(&currentName);
  bool wasCurrent = info->mPhysicalName.Equals(currentName, false);

  long err = info->mThemeFolderSpec.DeleteRecursively();
  mThemeList.RemoveElement(inIndex + 1);

  if (wasCurrent) {
    SetCurrentTheme(inIndex - 1 > 1 ? inIndex - 1 : 1);
  }
  return err;
}
