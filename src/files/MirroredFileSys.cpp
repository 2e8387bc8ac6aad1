#include "files/MirroredFileSys.h"

#include "files/AsyncCache.h"
#include "files/KSFile.h"
#include "foundation/KSError.h"
#include "foundation/UtilStr.h"
#include "foundation/XPtrList.h"

namespace {

constexpr long kRootID = 1;

// The most a whole-file read brings into memory.
constexpr long kMaxWholeFileBytes = 50000000;

bool IsFolder(unsigned long inFlags) {
  return (inFlags & kFSItemFolder) != 0;
}
bool IsMirrored(unsigned long inFlags) {
  return (inFlags & kFSItemMirrored) != 0;
}

}  // namespace

MirroredFileSys::MirroredFileSys(AsyncCache* inCache, bool inRetainInCache)
    : GeneralFileSys(true),
      mCatMirror(0),
      mOverlayFileSys(nullptr),
      mOverlayOverridesDisk(false),
      mRetainInCache(inRetainInCache),
      mAsyncCache(inCache) {}

MirroredFileSys::~MirroredFileSys() {}

long MirroredFileSys::SetRootDir(const KSFileSpec& inFolder, GeneralFileSys* inOverlay,
                                 bool inOverlayOverridesDisk) {
  mOverlayOverridesDisk = inOverlayOverridesDisk;
  if (inFolder.Exists() != ks_ItemIsFolder) {
    return kKSErr_PathNotFound;
  }
  mRootFolder = inFolder;
  PurgeCache(kRootID);
  mOverlayFileSys = inOverlay;
  mCatMirrorToOverlayMap.RemoveAll();
  if (inOverlay != nullptr) {
    mCatMirrorToOverlayMap.Put(kRootID, KSIDTable::IDToValue(kRootID), false);
  }
  return 0;
}

unsigned long MirroredFileSys::FileIDToSpec(long inID, KSFileSpec* outSpec) {
  unsigned long flags = mCatMirror.GetFlags(inID, nullptr);
  if (outSpec == nullptr) {
    return flags;
  }
  outSpec->Clear();
  UtilStr path;
  if (flags != 0 && mCatMirror.GetPathname(inID, &path, '\\', kRootID) == 0) {
    outSpec->AssignRelativePath(path.getCStr(), path.length(), mRootFolder);
  }
  return flags;
}

long MirroredFileSys::OverlayID(long inID) const {
  return KSIDTable::ValueToID(mCatMirrorToOverlayMap.Lookup(inID));
}

// ---------------------------------------------------------------------------
// Reading folders

long MirroredFileSys::Catalog(long inFolderID, XLongList* outIDs, long inFlags) {
  if (outIDs == nullptr) {
    return kKSErr_Param;
  }
  unsigned long flags = mCatMirror.GetFlags(inFolderID, nullptr);
  if (flags == 0) {
    return kKSErr_FileNotFound;
  }
  if (!IsFolder(flags)) {
    return kKSErr_NotADirectory;
  }
  long err = 0;
  if (inFlags & kFSCatRecursive) {
    err = ScanTree(inFolderID);
  } else if (!IsMirrored(flags)) {
    err = ScanFolder(inFolderID);
  }
  return err != 0 ? err : mCatMirror.Catalog(inFolderID, outIDs, inFlags);
}

long MirroredFileSys::GetItemID(long inFolderID, const char* inName, long inNameLen, long* outID) {
  if (outID == nullptr) {
    return kKSErr_Param;
  }
  *outID = 0;
  unsigned long flags = mCatMirror.GetFlags(inFolderID, nullptr);
  if (flags == 0) {
    return kKSErr_PathNotFound;
  }
  if (!IsMirrored(flags)) {
    long err = ScanFolder(inFolderID);
    return err != 0 ? err : mCatMirror.GetItemID(inFolderID, inName, inNameLen, outID);
  }
  long err = mCatMirror.GetItemID(inFolderID, inName, inNameLen, outID);
  if (err != kKSErr_FileNotFound) {
    return err;
  }
  // Not known, but maybe added on the disk since the folder was read.
  KSFileSpec item;
  FileIDToSpec(inFolderID, &item);
  item.AssignRelativePath(inName, int(inNameLen), item);
  if (item.Exists() == 0) {
    return err;
  }
  err = ScanFolder(inFolderID);
  return err != 0 ? err : mCatMirror.GetItemID(inFolderID, inName, inNameLen, outID);
}

long MirroredFileSys::ScanTree(long inFolderID) {
  unsigned long flags = mCatMirror.GetFlags(inFolderID, nullptr);
  if (flags == 0) {
    return kKSErr_NotADirectory;
  }
  if (!IsFolder(flags)) {
    return kKSErr_CannotBeFile;
  }
  long err = IsMirrored(flags) ? 0 : ScanFolder(inFolderID);
  XLongList folders;
  if (err == 0) {
    err = mCatMirror.Catalog(inFolderID, &folders, kFSCatFolders);
  }
  for (long i = 1; err == 0 && i <= folders.Count(); i++) {
    err = ScanTree(folders.Fetch(i));
  }
  return err;
}

// Brings the mirror of one folder up to date with the disk and the overlay.
long MirroredFileSys::ScanFolder(long inFolderID) {
  unsigned long flags = mCatMirror.GetFlags(inFolderID, nullptr);
  if (flags == 0) {
    return kKSErr_FileNotFound;
  }
  if (!IsFolder(flags)) {
    return kKSErr_NotADirectory;
  }
  // Every item the mirror holds now, until the disk or the overlay shows it.
  XLongList candidates;
  mCatMirror.Catalog(inFolderID, &candidates, kFSCatFilesAndFolders);
  XLongList onDisk;
  long overlayFolderID = OverlayID(inFolderID);
  long err = ScanDisk(inFolderID, &candidates, &onDisk);
  if (err != 0 && overlayFolderID == 0) {
    return err;  // nothing could be listed: the mirror stays as it was
  }
  if (overlayFolderID != 0) {
    err = ScanOverlay(inFolderID, overlayFolderID, &candidates, onDisk);
    if (err != 0) {
      return err;
    }
  }
  for (long i = 1; i <= candidates.Count(); i++) {
    DeleteMirrorItem(candidates.Fetch(i));
  }
  mCatMirror.SetFlags(inFolderID, (flags & kFSItemUserFlags) | kFSItemMirrored);
  return 0;
}

long MirroredFileSys::ScanDisk(long inFolderID, XLongList* ioCandidates, XLongList* outOnDisk) {
  KSFileSpec folder;
  FileIDToSpec(inFolderID, &folder);
  long iter = 0;
  long err = KSFileSpec::StartDirIteration(folder, ks_CatalogFiles | ks_CatalogFolders, &iter);
  KSFileSpec item;
  long kind;
  while (err == 0 && (kind = KSFileSpec::GetNextItem(iter, &item)) != 0) {
    UtilStr name;
    item.GetFileName(&name);
    long id = 0;
    if (MirrorItem(inFolderID, name, kind == ks_ItemIsFolder, &id) == 0) {
      ioCandidates->Remove(int32(id));
      outOnDisk->Add(int32(id));
    }
  }
  KSFileSpec::EndDirIteration(iter);
  return err;
}

// The mirror item called inName, made when there is none. An item of that
// name of the other kind (a file where a folder now is) is made anew.
long MirroredFileSys::MirrorItem(long inFolderID, const UtilStr& inName, bool inFolder,
                                 long* outID) {
  const unsigned long createFlags = inFolder ? kFSCreateFolder : kFSItemCreated;
  long err =
      mCatMirror.Create_Impl(inFolderID, inName.getCStr(), inName.length(), outID, createFlags);
  if (err != kKSErr_DuplicateName) {
    return err;
  }
  if (IsFolder(mCatMirror.GetFlags(*outID, nullptr)) == inFolder) {
    return 0;
  }
  DeleteMirrorItem(*outID);
  return mCatMirror.Create_Impl(inFolderID, inName.getCStr(), inName.length(), outID, createFlags);
}

long MirroredFileSys::ScanOverlay(long inFolderID, long inOverlayFolderID, XLongList* ioCandidates,
                                  const XLongList& inOnDisk) {
  XLongList overlayIDs;
  long err = mOverlayFileSys->Catalog(inOverlayFolderID, &overlayIDs, kFSCatFilesAndFolders);
  XLongList standIns;  // the mirror items that stand for overlay items now
  for (long i = 1; err == 0 && i <= overlayIDs.Count(); i++) {
    long id = 0;
    err = MirrorOverlayItem(inFolderID, overlayIDs.Fetch(i), inOnDisk, &id);
    if (id != 0) {
      ioCandidates->Remove(int32(id));
      standIns.Add(int32(id));
    }
  }
  // A disk item whose overlay item has gone shows the disk alone again.
  for (long i = 1; err == 0 && i <= inOnDisk.Count(); i++) {
    long id = inOnDisk.Fetch(i);
    if (OverlayID(id) != 0 && standIns.FindIndexOf(int32(id)) == 0) {
      ForgetOverlay(id);
    }
  }
  return err;
}

// Mirrors one overlay item beside the disk's items. *outID is the mirror item
// that stands for it, or 0 when a disk item of that name wins.
long MirroredFileSys::MirrorOverlayItem(long inFolderID, long inOverlayID,
                                        const XLongList& inOnDisk, long* outID) {
  *outID = 0;
  long err = 0;
  unsigned long overlayFlags = mOverlayFileSys->GetFlags(inOverlayID, &err);
  const UtilStr* overlayName = mOverlayFileSys->GetName(inOverlayID);
  if (err != 0 || overlayName == nullptr) {
    return 0;  // gone from the overlay while it was being listed
  }
  const UtilStr name(*overlayName);
  const bool isFolder = IsFolder(overlayFlags);
  long existingID = 0;
  mCatMirror.GetItemID(inFolderID, name.getCStr(), name.length(), &existingID);
  const bool sameKind =
      existingID != 0 && IsFolder(mCatMirror.GetFlags(existingID, nullptr)) == isFolder;
  const bool onDisk = existingID != 0 && inOnDisk.FindIndexOf(int32(existingID)) != 0;
  // A folder in both places shows the items of both; an overlay file takes
  // the place of a disk item only when the overlay overrides the disk.
  const bool overlayWins = !onDisk || (isFolder ? sameKind : mOverlayOverridesDisk);
  if (!overlayWins) {
    ForgetOverlay(existingID);
    return 0;
  }
  // The item stays when it already stands for this overlay item, or is a
  // folder that merges the two; anything else of that name is replaced.
  const bool keep = sameKind && (isFolder || !onDisk || OverlayID(existingID) == inOverlayID);
  if (keep) {
    *outID = existingID;
  } else {
    if (existingID != 0) {
      DeleteMirrorItem(existingID);
    }
    const unsigned long createFlags = overlayFlags & (kFSItemCreated | kFSItemFolder);
    err = mCatMirror.Create_Impl(inFolderID, name.getCStr(), name.length(), outID, createFlags);
  }
  if (err == 0) {
    mCatMirrorToOverlayMap.Put(*outID, KSIDTable::IDToValue(inOverlayID), false);
  }
  return err;
}

// ---------------------------------------------------------------------------
// Item information

unsigned long MirroredFileSys::GetFlags(long inID, long* outErr) {
  return mCatMirror.GetFlags(inID, outErr);
}

long MirroredFileSys::GetCatInfo(long inID, FSCatInfo* outInfo) {
  if (outInfo == nullptr) {
    return kKSErr_Param;
  }
  KSFileSpec spec;
  unsigned long flags = FileIDToSpec(inID, &spec);
  if (flags == 0) {
    return kKSErr_FileNotFound;
  }
  long overlayID = OverlayID(inID);
  if (overlayID != 0) {
    long err = mOverlayFileSys->GetCatInfo(overlayID, outInfo);
    outInfo->mFlags = uint32(flags);
    return err;
  }
  KSFileInfo info;
  long err = spec.GetCatInfo(&info);
  if (err != 0) {
    return err;
  }
  outInfo->mLogicalSize = info.mLogicalSize;
  outInfo->mCreationTime = info.mCreationTime;
  outInfo->mModificationTime = info.mModificationTime;
  outInfo->mFlags = uint32(flags);
  return 0;
}

long MirroredFileSys::GetName(long inID, UtilStr* outName, bool inAppend) {
  return mCatMirror.GetName(inID, outName, inAppend);
}

const UtilStr* MirroredFileSys::GetName(long inID) {
  return mCatMirror.GetName(inID);
}

long MirroredFileSys::GetParent(long inID, long* outParentID) {
  return mCatMirror.GetParent(inID, outParentID);
}

// ---------------------------------------------------------------------------
// File contents

long MirroredFileSys::ReadBlock(long inID, int64 inPos, long inBytes, UtilStr* outData) {
  return ReadBlock_Private(inID, inPos, inBytes, outData, mRetainInCache, kMaxWholeFileBytes);
}

long MirroredFileSys::ReadBlock_Private(long inID, int64 inPos, long inBytes, UtilStr* outData,
                                        bool inRetain, long inMaxWholeFile) {
  if (outData == nullptr) {
    return kKSErr_Param;
  }
  unsigned long flags = mCatMirror.GetFlags(inID, nullptr);
  long err = 0;
  long overlayID = OverlayID(inID);
  if (flags == 0) {
    err = kKSErr_FileNotFound;
  } else if (IsFolder(flags)) {
    err = kKSErr_CannotBeDirectory;
  } else if (overlayID != 0) {
    err = mOverlayFileSys->ReadBlock(overlayID, inPos, inBytes, outData);
  } else if (IsMirrored(flags)) {
    err = mCatMirror.ReadBlock(inID, inPos, inBytes, outData);
  } else {
    err = ReadFromDisk(inID, inPos, inBytes, outData, inMaxWholeFile);
    bool wholeFile = inPos == 0 && inBytes < 0;
    if (err == 0 && wholeFile && inRetain) {
      mCatMirror.Write(inID, *outData);
      mCatMirror.SetFlags(inID, (flags & kFSItemUserFlags) | kFSItemMirrored);
    }
  }
  if (err != 0) {
    outData->Clear();
  }
  return err;
}

long MirroredFileSys::ReadFromDisk(long inID, int64 inPos, long inBytes, UtilStr* outData,
                                   long inMaxWholeFile) {
  KSFileSpec spec;
  FileIDToSpec(inID, &spec);
  if (inPos != 0 || inBytes >= 0) {
    return KSFile::ReadFromFile(spec, inPos, inBytes, outData);
  }
  if (mAsyncCache != nullptr) {
    return mAsyncCache->ReadFile(spec, outData, inMaxWholeFile);
  }
  return KSFile::ReadFile(spec, outData, inMaxWholeFile);
}

long MirroredFileSys::Write(long inID, const UtilStr& inData) {
  KSFileSpec spec;
  unsigned long flags = FileIDToSpec(inID, &spec);
  if (flags == 0) {
    return kKSErr_FileNotFound;
  }
  if (IsFolder(flags)) {
    return kKSErr_CannotBeDirectory;
  }
  PurgeCache(inID);
  long overlayID = OverlayID(inID);
  if (overlayID != 0) {
    return mOverlayFileSys->Write(overlayID, inData);
  }
  if (spec.IsEmpty()) {
    return kKSErr_Internal;
  }
  return KSFile::WriteFile(spec, inData.getCStr(), inData.length());
}

// ---------------------------------------------------------------------------
// The cache

void MirroredFileSys::PurgeCache(long inID) {
  unsigned long flags = mCatMirror.GetFlags(inID, nullptr);
  if (IsFolder(flags)) {
    XLongList below;
    mCatMirror.Catalog(inID, &below, kFSCatFilesAndFolders | kFSCatRecursive);
    for (long i = 1; i <= below.Count(); i++) {
      PurgeItem(below.Fetch(i));
    }
  }
  PurgeItem(inID);
}

void MirroredFileSys::PurgeItem(long inID) {
  unsigned long flags = mCatMirror.GetFlags(inID, nullptr);
  if (!IsMirrored(flags)) {
    return;
  }
  mCatMirror.SetFlags(inID, flags & kFSItemUserFlags & ~kFSItemMirrored);
  if (!IsFolder(flags)) {
    mCatMirror.Write(inID, UtilStr());
  }
}

long MirroredFileSys::CacheSync(long inID, long, long) {
  if (mCatMirror.GetFlags(inID, nullptr) == 0) {
    return kKSErr_FileNotFound;
  }
  PurgeCache(inID);
  return 0;
}

// Drops the overlay mappings of an item and everything below it, and the
// listings held for them, so that they are read again from the disk alone.
void MirroredFileSys::ForgetOverlay(long inID) {
  XLongList below;
  mCatMirror.Catalog(inID, &below, kFSCatFilesAndFolders | kFSCatRecursive);
  for (long i = 1; i <= below.Count(); i++) {
    mCatMirrorToOverlayMap.Erase(below.Fetch(i));
  }
  mCatMirrorToOverlayMap.Erase(inID);
  PurgeCache(inID);
}

// Deletes a mirror item and everything below it, with their overlay mappings.
void MirroredFileSys::DeleteMirrorItem(long inID) {
  ForgetOverlay(inID);
  mCatMirror.Delete(inID);
}

// ---------------------------------------------------------------------------
// Changing items

long MirroredFileSys::Create_Impl(long inFolderID, const char* inName, long inNameLen, long* outID,
                                  unsigned long inFlags) {
  if (outID == nullptr) {
    return kKSErr_Param;
  }
  *outID = 0;
  const UtilStr name(inName, inNameLen);
  if (name.IsEmpty() || name.contains("\\") != 0 || name.contains("/") != 0) {
    return kKSErr_IllegalChars;
  }
  long existingID = 0;
  long err = GetItemID(inFolderID, name.getCStr(), name.length(), &existingID);
  if (err != 0 && err != kKSErr_FileNotFound) {
    return err == kKSErr_PathNotFound ? kKSErr_NotADirectory : err;
  }
  KSFileSpec spec;
  FileIDToSpec(inFolderID, &spec);
  if (spec.IsEmpty()) {
    return kKSErr_Internal;
  }
  spec.AssignRelativePath(name.getCStr(), name.length(), spec);
  if (existingID != 0) {
    if ((inFlags & kFSCreateReplace) == 0) {
      *outID = existingID;
      return kKSErr_DuplicateName;
    }
    err = spec.Exists() != 0 ? spec.DeleteRecursively() : 0;
    if (err != 0) {
      return err;
    }
    DeleteMirrorItem(existingID);
  }
  const bool isFolder = (inFlags & kFSCreateFolder) != 0;
  err = isFolder ? spec.CreateDir() : KSFile::WriteFile(spec, "", 0);
  if (err == 0) {
    err = mCatMirror.Create_Impl(inFolderID, name.getCStr(), name.length(), outID,
                                 inFlags & (kFSCreateFolder | kFSCreateMarked));
  }
  if (err == 0 && isFolder) {
    // A new folder is empty: its listing is known.
    mCatMirror.SetFlags(*outID, kFSItemMirrored);
  }
  return err;
}

long MirroredFileSys::SetFlags(long, unsigned long) {
  return kKSErr_Unimplemented;
}

long MirroredFileSys::SetCatInfo(long, int64, int64) {
  return kKSErr_Unimplemented;
}

long MirroredFileSys::SetName(long, const UtilStr&) {
  return kKSErr_Unimplemented;
}

long MirroredFileSys::Delete(long) {
  return kKSErr_Unimplemented;
}

long MirroredFileSys::DeleteContents(long) {
  return kKSErr_Unimplemented;
}

long MirroredFileSys::Move(long, long, bool) {
  return kKSErr_Unimplemented;
}
