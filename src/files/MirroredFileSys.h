// MirroredFileSys: a folder of the disk seen as a GeneralFileSys. A
// MemFileSys catalog mirror hands out the item IDs (item 1 is the folder);
// folder listings are read from the disk on first use and kept until purged,
// and file contents are kept too when the mirror retains them. Another file
// system may be laid over the disk folder: its items appear beside the
// disk's, and with inOverlayOverridesDisk its files take the place of disk
// files of the same name.
#pragma once

#include "files/GeneralFileSys.h"
#include "files/KSFileSpec.h"
#include "files/KSIDTable.h"
#include "files/MemFileSys.h"

class AsyncCache;

class MirroredFileSys : public GeneralFileSys {
 public:
  // inCache (may be null) serves whole-file reads; it is not owned. With
  // inRetainInCache whole files read from disk stay in memory.
  MirroredFileSys(AsyncCache* inCache, bool inRetainInCache);
  ~MirroredFileSys() override;

  // Binds the mirror to a disk folder (kKSErr_PathNotFound when it is not
  // one) and an optional overlay, which is not owned and must outlive the
  // mirror. Everything cached is purged.
  long SetRootDir(const KSFileSpec& inFolder, GeneralFileSys* inOverlay,
                  bool inOverlayOverridesDisk);
  // The disk item of an item (empty for a missing item); returns the item's
  // flags, 0 when it is missing.
  unsigned long FileIDToSpec(long inID, KSFileSpec* outSpec);
  // Forgets the cached listings and contents of an item and everything
  // below it: folders are read from the disk again at their next use.
  void PurgeCache(long inID);

  // Lists a folder, reading it from the disk first when its listing is not
  // held (with kFSCatRecursive, every folder below it too).
  long Catalog(long inFolderID, XLongList* outIDs, long inFlags) override;
  // Reads the folder first when its listing is not held, and again when the
  // name is not known but there is such an item on the disk.
  long GetItemID(long inFolderID, const char* inName, long inNameLen, long* outID) override;
  unsigned long GetFlags(long inID, long* outErr) override;
  long GetCatInfo(long inID, FSCatInfo* outInfo) override;
  long GetName(long inID, UtilStr* outName, bool inAppend) override;
  const UtilStr* GetName(long inID) override;
  long GetParent(long inID, long* outParentID) override;
  // Purges the item's cached listings and contents.
  long CacheSync(long inID, long inHint1, long inHint2) override;
  long ReadBlock(long inID, int64 inPos, long inBytes, UtilStr* outData) override;
  // Replaces the file on the disk, or in the overlay for an overlay item.
  long Write(long inID, const UtilStr& inData) override;

  // A mirror changes items only through Write and Create: these give
  // kKSErr_Unimplemented.
  long SetFlags(long inID, unsigned long inFlags) override;
  long SetCatInfo(long inID, int64 inCreationTime, int64 inModificationTime) override;
  long SetName(long inID, const UtilStr& inName) override;
  long Delete(long inID) override;
  long DeleteContents(long inID) override;
  long Move(long inID, long inNewFolderID, bool inReplace) override;

 protected:
  // Makes an empty file or a folder on the disk and mirrors it.
  long Create_Impl(long inFolderID, const char* inName, long inNameLen, long* outID,
                   unsigned long inFlags) override;

 private:
  long ScanFolder(long inFolderID);
  long ScanTree(long inFolderID);
  long ScanDisk(long inFolderID, XLongList* ioCandidates, XLongList* outOnDisk);
  long ScanOverlay(long inFolderID, long inOverlayFolderID, XLongList* ioCandidates,
                   const XLongList& inOnDisk);
  long MirrorOverlayItem(long inFolderID, long inOverlayID, const XLongList& inOnDisk, long* outID);
  long MirrorItem(long inFolderID, const UtilStr& inName, bool inFolder, long* outID);
  long ReadBlock_Private(long inID, int64 inPos, long inBytes, UtilStr* outData, bool inRetain,
                         long inMaxWholeFile);
  long ReadFromDisk(long inID, int64 inPos, long inBytes, UtilStr* outData, long inMaxWholeFile);
  void PurgeItem(long inID);
  void ForgetOverlay(long inID);
  void DeleteMirrorItem(long inID);
  long OverlayID(long inID) const;

  MemFileSys mCatMirror;
  KSFileSpec mRootFolder;
  GeneralFileSys* mOverlayFileSys;
  bool mOverlayOverridesDisk;
  KSIDTable mCatMirrorToOverlayMap;  // mirror ID -> overlay ID
  bool mRetainInCache;
  AsyncCache* mAsyncCache;
};
