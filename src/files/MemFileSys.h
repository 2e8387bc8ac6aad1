// MemFileSys: a whole tree of folders and files kept in memory. Item 1 is
// the root folder; new items get the IDs 55, 56, 57, ... in the order they
// are made, and IDs are never handed out twice.
#pragma once

#include <memory>

#include "files/GeneralFileSys.h"
#include "files/KSIDTable.h"
#include "foundation/KSObject.h"
#include "foundation/KSTypes.h"
#include "foundation/UtilStr.h"

class MemFileSysDir;
class XLongList;

// Flags of a MemFileSys.
constexpr unsigned long kMemFSNamesNotUnique = 1;  // two items of a folder may share a name
constexpr unsigned long kMemFSCaseSensitive = 2;   // names compare case-sensitively
constexpr unsigned long kMemFSStampModTime =
    4;  // new items get the current time as modification time

// A time field of MemFileItem that holds no time.
constexpr uint32 kMemFSNoTime = 0xFFFFFFFF;

// The ID the first item made gets.
constexpr long kMemFSFirstID = 55;

// One item of a MemFileSys.
class MemFileItem : public KSObject {
 public:
  MemFileItem(uint32 inFlags, long inParent);
  ~MemFileItem() override;
  MemFileItem(const MemFileItem&) = delete;
  MemFileItem& operator=(const MemFileItem&) = delete;

  bool IsFolder() const { return (mFlags & kFSItemFolder) != 0; }

  uint32 mFlags;                              // the item flags
  long mParent;                               // 0 for the root
  UtilStr mData;                              // a file's content
  const UtilStr* mName;                       // kept in the parent's name table; null for the root
  std::unique_ptr<MemFileSysDir> mDir;        // a folder's name table; null for files
  long mUserValue;                            // free for the user
  std::unique_ptr<KSObject> mUserAttachment;  // free for the user
  uint32 mCreationTime;                       // seconds since 1970 UTC, or kMemFSNoTime
  uint32 mModificationTime;                   // seconds since 1970 UTC, or kMemFSNoTime
};

class MemFileSys;

// The parameters of one catalog walk.
struct CatalogCallbackPB {
  const MemFileSys* inParentMemFileSys;
  long inCatalogFlags;
  XLongList* ioList;
};

class MemFileSys : public GeneralFileSys {
 public:
  explicit MemFileSys(unsigned long inFlags);
  ~MemFileSys() override;

  // Appends the matching items of a folder in name-table order; with
  // kFSCatRecursive each sub-folder's items follow, recursively.
  long Catalog(long inFolderID, XLongList* outIDs, long inFlags) override;
  // A name several items share gives kKSErr_AmbiguousName and the lowest ID.
  long GetItemID(long inFolderID, const char* inName, long inNameLen, long* outID) override;
  unsigned long GetFlags(long inID, long* outErr) override;
  long SetFlags(long inID, unsigned long inFlags) override;
  long GetCatInfo(long inID, FSCatInfo* outInfo) override;
  // A time outside 0..0xFFFFFFFE is stored as "no time".
  long SetCatInfo(long inID, int64 inCreationTime, int64 inModificationTime) override;
  long SetName(long inID, const UtilStr& inName) override;
  long GetName(long inID, UtilStr* outName, bool inAppend) override;
  const UtilStr* GetName(long inID) override;
  // Reading past the end gives kKSErr_EOF with the bytes there are; a
  // position past the end gives kKSErr_IllegalSeek.
  long ReadBlock(long inID, int64 inPos, long inBytes, UtilStr* outData) override;
  long Write(long inID, const UtilStr& inData) override;
  long Delete(long inID) override;
  long DeleteContents(long inID) override;
  long Move(long inID, long inNewFolderID, bool inReplace) override;
  long GetParent(long inID, long* outParentID) override;

  // Public here: code that builds a tree by name (a mirror of a disk
  // folder, say) makes its items with it.
  long Create_Impl(long inFolderID, const char* inName, long inNameLen, long* outID,
                   unsigned long inFlags) override;

  // The item with this ID, or null.
  MemFileItem* GetItem(long inID) const;
  // How many items there are, the root included.
  long CountItems() const { return mSys.NumEntries(); }

 private:
  MemFileItem* GetFolder(long inID) const;
  void CatalogFolder(const MemFileItem* inFolder, const CatalogCallbackPB& inPB) const;
  bool IsAtOrBelow(long inID, long inAncestorID) const;
  // Deletes an item, and a folder's contents with it.
  void RemoveItem(long inID);
  void RemoveContents(const MemFileItem* inFolder);
  // Deletes every item of a folder called inName.
  void RemoveNamed(MemFileItem* inFolder, const char* inName, long inLen);

  KSIDTable mSys;  // item ID -> owned MemFileItem
  long mNextID;
  uint32 mFlags;
};
