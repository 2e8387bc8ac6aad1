// ThemeMgr: the theme list and the current theme.
#include "toolbar/ThemeMgr.h"

#include <memory>

#include "files/MirroredFileSys.h"
#include "foundation/KSError.h"
#include "foundation/KSMessages.h"

const char kCustomThemeName[] = "(Custom)";

namespace {

const char kThemesFolderName[] = "Themes";

}  // namespace

ThemeMgr::ThemeMgr() : mUsingCustom(false), mThemeList(ks_Sorted) {
  mThemeList.SetCompareProc(sThemeInfoComparitor, nullptr);
}

ThemeMgr::~ThemeMgr() {
  SaveCustomTheme();
}

long ThemeMgr::sThemeInfoComparitor(const void* inA, const void* inB, const void*) {
  const ThemeInfo* a = static_cast<const ThemeInfo*>(inA);
  const ThemeInfo* b = static_cast<const ThemeInfo*>(inB);
  // Not negative when a may stand before b.
  return UtilStr::compare(b->mLogicalName.getCStr(), b->mLogicalName.length(),
                          a->mLogicalName.getCStr(), a->mLogicalName.length(), true);
}

ThemeInfo* ThemeMgr::Fetch(long inIndex) const {
  if (inIndex < 0 || inIndex >= mThemeList.Count()) {
    return nullptr;
  }
  return static_cast<ThemeInfo*>(mThemeList.Fetch(inIndex + 1));
}

const ThemeInfo* ThemeMgr::GetThemeInfo(int inIndex) const {
  return Fetch(inIndex);
}

void ThemeMgr::GetCurrentPhysicalName(UtilStr* outName) const {
  mCurTheme.ThemeAttribs().GetStr(kThemeAttr_PhysicalName, outName);
}

void ThemeMgr::SaveCustomTheme() {
  if (!mUsingCustom) {
    return;
  }
  UtilStr physName;
  GetCurrentPhysicalName(&physName);
  KSFileSpec folder;
  folder.AssignRelativePath(physName.getCStr(), physName.length(), mUserThemesFolder);
  mCurTheme.SaveToDisk(folder);
}

long ThemeMgr::LoadThemeEnvironment(const KSFileSpec& inUserFolder,
                                    const KSFileSpec* inFactoryFolder) {
  mThemeList.RemoveAll();
  if (inFactoryFolder != nullptr) {
    LoadThemeFolder(*inFactoryFolder, true);
  }
  LoadThemeFolder(inUserFolder, false);
  if (!IsPhysicalNameTaken(UtilStr(kCustomThemeName))) {
    CreateNewTheme(UtilStr(kCustomThemeName), false, false);
  }
  return 0;
}

long ThemeMgr::LoadThemeFolder(const KSFileSpec& inBaseFolder, bool inReadOnly) {
  KSFileSpec themes;
  themes.AssignRelativePath(kThemesFolderName, -1, inBaseFolder);
  if (!inReadOnly) {
    mUserThemesFolder = themes;
  }
  if (themes.Exists() != ks_ItemIsFolder) {
    if (inReadOnly) {
      return kKSErr_FileNotFound;
    }
    themes.CreateDir();
  }

  // The theme folders are the sub-folders of a mirror rooted at themes.
  MirroredFileSys mirror(nullptr, false);
  long err = mirror.SetRootDir(themes, nullptr, false);
  XLongList folders;
  if (err == 0) {
    err = mirror.Catalog(1, &folders, kFSCatFolders);
  }
  for (long i = 1; i <= folders.Count(); i++) {
    KSFileSpec themeFolder;
    mirror.FileIDToSpec(folders.Fetch(i), &themeFolder);
    AddThemeEntry(themeFolder, inReadOnly);
  }
  return err;
}

void ThemeMgr::AddThemeEntry(const KSFileSpec& inThemeFolder, bool inReadOnly) {
  CXTheme header;
  if (header.ReadFromDisk(inThemeFolder, true) != 0) {
    return;
  }
  auto info = std::make_unique<ThemeInfo>();
  inThemeFolder.GetFileName(&info->mPhysicalName);
  info->mThemeFolderSpec = inThemeFolder;
  info->mReadOnly = inReadOnly;
  header.ThemeAttribs().GetStr(kThemeAttr_LogicalName, &info->mLogicalName);
  mThemeList.Add(info.release());
}

bool ThemeMgr::IsPhysicalNameTaken(const UtilStr& inName) const {
  for (long i = 0; i < mThemeList.Count(); i++) {
    if (Fetch(i)->mPhysicalName.Equals(inName, false)) {
      return true;
    }
  }
  return false;
}

long ThemeMgr::SetCurrentTheme(int inIndex) {
  ThemeInfo* info = Fetch(inIndex);
  if (info == nullptr) {
    return kKSErr_IndexOutOfBounds;
  }
  SaveCustomTheme();
  if (mCurTheme.ReadFromDisk(info->mThemeFolderSpec, false) != 0) {
    mCurTheme.SetFactorySettings();
    mCurTheme.ThemeAttribs().SetStr(kThemeAttr_PhysicalName, info->mPhysicalName);
    mCurTheme.ThemeAttribs().SetStr(kThemeAttr_LogicalName, info->mLogicalName);
  }
  mUsingCustom = info->mPhysicalName.Equals(kCustomThemeName, false);
  return 0;
}

int ThemeMgr::GetCurrentTheme() const {
  UtilStr physName;
  GetCurrentPhysicalName(&physName);
  for (long i = 0; i < mThemeList.Count(); i++) {
    if (Fetch(i)->mPhysicalName.Equals(physName, false)) {
      return int(i);
    }
  }
  return -1;
}

int ThemeMgr::FindThemeByLogicalName(const char* inName) const {
  for (long i = 0; i < mThemeList.Count(); i++) {
    if (Fetch(i)->mLogicalName.Equals(inName, false)) {
      return int(i);
    }
  }
  return -1;
}

bool ThemeMgr::GetLogicalThemeName(int inIndex, UtilStr* outName) const {
  const ThemeInfo* info = Fetch(inIndex);
  if (info == nullptr) {
    return false;
  }
  *outName = info->mLogicalName;
  return true;
}

bool ThemeMgr::ThemeIsDeletable(long inIndex) const {
  const ThemeInfo* info = Fetch(inIndex);
  return info != nullptr && !info->mReadOnly &&
         !info->mPhysicalName.Equals(kCustomThemeName, false);
}

void ThemeMgr::SetAttrib(CXConfigType inType, const char* inName, long inNameLen, long inKey,
                         long inValue) {
  if (!mUsingCustom) {
    mCurTheme.ThemeAttribs().SetStr(kThemeAttr_LogicalName, kCustomThemeName);
    mCurTheme.ThemeAttribs().SetStr(kThemeAttr_PhysicalName, kCustomThemeName);
    mUsingCustom = true;
    BroadcastMsg(kKSMsg_ThemeCustom, this, nullptr);
  }
  mCurTheme.SetAttrib(inType, inName, inNameLen, inKey, inValue);
}
