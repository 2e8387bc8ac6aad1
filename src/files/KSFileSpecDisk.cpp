// KSFileSpec: existence, catalog information, creation and deletion, and the
// work folder. Every path reaches the platform in its UTF-16 form.
#include <windows.h>

#include "files/KSFileSpec.h"
#include "files/KSNativePath.h"
#include "foundation/KSError.h"
#include "foundation/KSLastError.h"
#include "foundation/KSTime.h"
#include "foundation/XStrList.h"

namespace {

const char kMakerFolderName[] = "Kestrova";

int64 FileTimeTo1970(const FILETIME& inTime) {
  int64 ticks = (int64(inTime.dwHighDateTime) << 32) | int64(inTime.dwLowDateTime);
  return KSTime::WindowsTo1970UTC(ticks);
}

// The sub-folder inName of ioFolder, made when there is no folder of that name.
long EnterOrCreateFolder(KSFileSpec* ioFolder, const char* inName) {
  ioFolder->AssignRelativePath(inName, -1, *ioFolder);
  if (ioFolder->Exists() == ks_ItemIsFolder) {
    return 0;
  }
  return ioFolder->CreateDir();
}

}  // namespace

long KSFileSpec::Exists() const {
  if (IsEmpty()) {
    return 0;
  }
  DWORD attributes = GetFileAttributesW(KSNativePath(*this).Get());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return 0;
  }
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? ks_ItemIsFolder : ks_ItemIsFile;
}

long KSFileSpec::GetCatInfo(KSFileInfo* outInfo) const {
  if (IsEmpty() || outInfo == nullptr) {
    return kKSErr_Param;
  }
  outInfo->mLogicalSize = 0;
  outInfo->mCreationTime = -1;
  outInfo->mModificationTime = -1;
  outInfo->mFlags = 0;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(KSNativePath(*this).Get(), GetFileExInfoStandard, &data)) {
    return KSLastOSError();
  }
  outInfo->mCreationTime = FileTimeTo1970(data.ftCreationTime);
  outInfo->mModificationTime = FileTimeTo1970(data.ftLastWriteTime);
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    outInfo->mFlags = ks_ItemIsFolder;
  } else {
    outInfo->mFlags = ks_ItemIsFile;
    outInfo->mLogicalSize = (int64(data.nFileSizeHigh) << 32) | int64(data.nFileSizeLow);
  }
  return 0;
}

long KSFileSpec::CreateDir() const {
  if (IsEmpty()) {
    return kKSErr_FileNotFound;
  }
  if (!CreateDirectoryW(KSNativePath(*this).Get(), nullptr)) {
    return KSLastOSError();
  }
  return 0;
}

long KSFileSpec::Delete() const {
  long kind = Exists();
  if (kind == 0) {
    return kKSErr_FileNotFound;
  }
  KSNativePath path(*this);
  if (kind == ks_ItemIsFile) {
    return DeleteFileW(path.Get()) ? 0 : KSLastOSError();
  }
  // A folder that is the process's current directory cannot be removed.
  SetCurrentDirectoryW(L"C:\\");
  return RemoveDirectoryW(path.Get()) ? 0 : KSLastOSError();
}

long KSFileSpec::DeleteRecursively() const {
  XStrList names(kStrOrderImportant, kStrDupesAllowed);
  long err =
      ReadCatalog(*this, &names, ks_CatalogFiles | ks_CatalogFolders | ks_CatalogInvisibles, false);
  if (err == kKSErr_CannotBeFile) {
    err = 0;  // a plain file: nothing inside to delete
  }
  for (long i = 1; err == 0 && i <= names.Count(); i++) {
    const UtilStr* name = names.Fetch(i);
    KSFileSpec item;
    item.AssignRelativePath(name->getCStr(), name->length(), *this);
    err = item.DeleteRecursively();
  }
  if (err == 0) {
    err = Delete();
  }
  return err;
}

long KSFileSpec::AssignWorkFolder(const char* inName, OSFolderType inType) {
  KSFileSpec systemFolder;
  long err = systemFolder.AssignOSFolder(inType);
  return err != 0 ? err : AssignWorkFolder(inName, systemFolder);
}

long KSFileSpec::AssignWorkFolder(const char* inName, const KSFileSpec& inSystemFolder) {
  Assign(inSystemFolder);
  long err = EnterOrCreateFolder(this, kMakerFolderName);
  if (err == 0) {
    err = EnterOrCreateFolder(this, inName);
  }
  return err;
}

long KSFileSpec::AssignWorkFolder(const char* inName) {
  long err = AssignWorkFolder(inName, ks_UserPrefsFolder);
  if (err != 0) {
    err = AssignWorkFolder(inName, ks_CommonPrefsFolder);
  }
  return err;
}
