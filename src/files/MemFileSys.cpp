#include "files/MemFileSys.h"

#include <cstring>
#include <memory>

#include "files/MemFileSysDir.h"
#include "foundation/KSError.h"
#include "foundation/KSTime.h"
#include "foundation/XPtrList.h"

namespace {

constexpr long kRootID = 1;

int64 TimeToCatInfo(uint32 inTime) {
  return inTime == kMemFSNoTime ? -1 : int64(inTime);
}

uint32 TimeFromCatInfo(int64 inTime) {
  return inTime >= 0 && inTime < int64(kMemFSNoTime) ? uint32(inTime) : kMemFSNoTime;
}

long MeasureName(const char* inName, long inLen) {
  if (inName == nullptr) {
    return 0;
  }
  return inLen < 0 ? long(strlen(inName)) : inLen;
}

}  // namespace

// ---------------------------------------------------------------------------
// MemFileItem

MemFileItem::MemFileItem(uint32 inFlags, long inParent)
    : mFlags(inFlags),
      mParent(inParent),
      mName(nullptr),
      mUserValue(0),
      mCreationTime(kMemFSNoTime),
      mModificationTime(kMemFSNoTime) {}

MemFileItem::~MemFileItem() {}

// ---------------------------------------------------------------------------
// MemFileSys: construction and look-up

MemFileSys::MemFileSys(unsigned long inFlags)
    : GeneralFileSys((inFlags & kMemFSNamesNotUnique) == 0),
      mNextID(kMemFSFirstID),
      mFlags(uint32(inFlags)) {
  auto root = std::make_unique<MemFileItem>(kFSItemFolder, 0);
  root->mDir = std::make_unique<MemFileSysDir>((mFlags & kMemFSCaseSensitive) != 0);
  mSys.Put(kRootID, root.release(), true);
}

MemFileSys::~MemFileSys() {}

MemFileItem* MemFileSys::GetItem(long inID) const {
  return static_cast<MemFileItem*>(mSys.Lookup(inID));
}

MemFileItem* MemFileSys::GetFolder(long inID) const {
  MemFileItem* item = GetItem(inID);
  return item && item->IsFolder() ? item : nullptr;
}

bool MemFileSys::IsAtOrBelow(long inID, long inAncestorID) const {
  for (long id = inID; id != 0;) {
    if (id == inAncestorID) {
      return true;
    }
    const MemFileItem* item = GetItem(id);
    id = item ? item->mParent : 0;
  }
  return false;
}

long MemFileSys::GetItemID(long inFolderID, const char* inName, long inNameLen, long* outID) {
  if (outID == nullptr) {
    return kKSErr_Param;
  }
  *outID = 0;
  const MemFileItem* folder = GetFolder(inFolderID);
  if (folder == nullptr) {
    return kKSErr_NotADirectory;
  }
  long count = folder->mDir->Lookup(inName, MeasureName(inName, inNameLen), outID);
  if (count == 0) {
    return kKSErr_FileNotFound;
  }
  return count == 1 ? 0 : kKSErr_AmbiguousName;
}

long MemFileSys::GetParent(long inID, long* outParentID) {
  if (outParentID == nullptr) {
    return kKSErr_Param;
  }
  const MemFileItem* item = GetItem(inID);
  *outParentID = item ? item->mParent : 0;
  return item ? 0 : kKSErr_FileNotFound;
}

// ---------------------------------------------------------------------------
// Catalogs

long MemFileSys::Catalog(long inFolderID, XLongList* outIDs, long inFlags) {
  if (outIDs == nullptr) {
    return kKSErr_Param;
  }
  const MemFileItem* folder = GetFolder(inFolderID);
  if (folder == nullptr) {
    return kKSErr_NotADirectory;
  }
  CatalogCallbackPB pb = {this, inFlags, outIDs};
  CatalogFolder(folder, pb);
  return 0;
}

void MemFileSys::CatalogFolder(const MemFileItem* inFolder, const CatalogCallbackPB& inPB) const {
  XLongList ids;
  inFolder->mDir->AppendAllIDs(&ids);
  const bool wantFiles = (inPB.inCatalogFlags & kFSCatFiles) != 0;
  const bool wantFolders = (inPB.inCatalogFlags & kFSCatFolders) != 0;
  for (long i = 1; i <= ids.Count(); i++) {
    const MemFileItem* item = GetItem(ids.Fetch(i));
    if (item && (item->IsFolder() ? wantFolders : wantFiles)) {
      inPB.ioList->Add(ids.Fetch(i));
    }
  }
  if ((inPB.inCatalogFlags & kFSCatRecursive) == 0) {
    return;
  }
  for (long i = 1; i <= ids.Count(); i++) {
    const MemFileItem* item = GetItem(ids.Fetch(i));
    if (item && item->IsFolder()) {
      CatalogFolder(item, inPB);
    }
  }
}

// ---------------------------------------------------------------------------
// Flags, times and names

unsigned long MemFileSys::GetFlags(long inID, long* outErr) {
  const MemFileItem* item = GetItem(inID);
  if (outErr != nullptr) {
    *outErr = item ? 0 : kKSErr_FileNotFound;
  }
  return item ? item->mFlags : 0;
}

long MemFileSys::SetFlags(long inID, unsigned long inFlags) {
  MemFileItem* item = GetItem(inID);
  if (item == nullptr) {
    return kKSErr_FileNotFound;
  }
  item->mFlags = (item->mFlags & ~kFSItemUserFlags) | (uint32(inFlags) & kFSItemUserFlags);
  return 0;
}

long MemFileSys::GetCatInfo(long inID, FSCatInfo* outInfo) {
  if (outInfo == nullptr) {
    return kKSErr_Param;
  }
  const MemFileItem* item = GetItem(inID);
  if (item == nullptr) {
    return kKSErr_FileNotFound;
  }
  outInfo->mLogicalSize = item->mData.length();
  outInfo->mCreationTime = TimeToCatInfo(item->mCreationTime);
  outInfo->mModificationTime = TimeToCatInfo(item->mModificationTime);
  outInfo->mFlags = item->mFlags;
  return 0;
}

long MemFileSys::SetCatInfo(long inID, int64 inCreationTime, int64 inModificationTime) {
  MemFileItem* item = GetItem(inID);
  if (item == nullptr) {
    return kKSErr_FileNotFound;
  }
  item->mCreationTime = TimeFromCatInfo(inCreationTime);
  item->mModificationTime = TimeFromCatInfo(inModificationTime);
  return 0;
}

long MemFileSys::GetName(long inID, UtilStr* outName, bool inAppend) {
  if (outName == nullptr) {
    return kKSErr_Param;
  }
  const UtilStr* name = GetName(inID);
  if (!inAppend) {
    outName->Clear();
  }
  if (name == nullptr) {
    return kKSErr_FileNotFound;
  }
  outName->Append(*name);
  return 0;
}

const UtilStr* MemFileSys::GetName(long inID) {
  static const UtilStr sNoName;
  const MemFileItem* item = GetItem(inID);
  if (item == nullptr) {
    return nullptr;
  }
  return item->mName ? item->mName : &sNoName;
}

long MemFileSys::SetName(long inID, const UtilStr& inName) {
  MemFileItem* item = GetItem(inID);
  if (item == nullptr) {
    return kKSErr_FileNotFound;
  }
  MemFileItem* parent = GetFolder(item->mParent);
  if (parent == nullptr) {
    return kKSErr_NotPermitted;  // the root has no name
  }
  long existingID = 0;
  long count = parent->mDir->Lookup(inName.getCStr(), inName.length(), &existingID);
  // Renaming an item to its own name (in another case, say) is fine.
  if (mNamesUnique && count > 0 && !(count == 1 && existingID == inID)) {
    return kKSErr_DuplicateName;
  }
  UtilStr oldName(*item->mName);
  parent->mDir->Remove(oldName.getCStr(), oldName.length(), inID);
  item->mName = parent->mDir->Add(inName.getCStr(), inName.length(), inID);
  return 0;
}

// ---------------------------------------------------------------------------
// Content

long MemFileSys::ReadBlock(long inID, int64 inPos, long inBytes, UtilStr* outData) {
  if (outData == nullptr) {
    return kKSErr_Param;
  }
  outData->Clear();
  const MemFileItem* item = GetItem(inID);
  if (item == nullptr) {
    return kKSErr_FileNotFound;
  }
  if (item->IsFolder()) {
    return kKSErr_CannotBeDirectory;
  }
  const int64 size = item->mData.length();
  if (inPos < 0 || inPos > size) {
    return kKSErr_IllegalSeek;
  }
  const int64 available = size - inPos;
  if (inPos == 0 && (inBytes < 0 || inBytes == size)) {
    outData->Assign(item->mData);  // shares the content
    return 0;
  }
  const bool shortRead = inBytes >= 0 && inBytes > available;
  const int64 count = inBytes < 0 || shortRead ? available : inBytes;
  outData->Assign(item->mData.getCStr() + inPos, long(count));
  return shortRead ? kKSErr_EOF : 0;
}

long MemFileSys::Write(long inID, const UtilStr& inData) {
  MemFileItem* item = GetItem(inID);
  if (item == nullptr) {
    return kKSErr_FileNotFound;
  }
  if (item->IsFolder()) {
    return kKSErr_CannotBeDirectory;
  }
  item->mData = inData;
  return 0;
}

// ---------------------------------------------------------------------------
// Creating, deleting and moving

long MemFileSys::Create_Impl(long inFolderID, const char* inName, long inNameLen, long* outID,
                             unsigned long inFlags) {
  if (outID == nullptr) {
    return kKSErr_Param;
  }
  *outID = 0;
  MemFileItem* parent = GetFolder(inFolderID);
  if (parent == nullptr) {
    return kKSErr_NotADirectory;
  }
  // A copy: replacing may delete the text inName points at, when it is the
  // name of one of the items being replaced.
  const UtilStr name(inName, MeasureName(inName, inNameLen));
  long existingID = 0;
  if (parent->mDir->Lookup(name.getCStr(), name.length(), &existingID) > 0) {
    if (inFlags & kFSCreateReplace) {
      RemoveNamed(parent, name.getCStr(), name.length());
    } else if (mNamesUnique) {
      *outID = existingID;
      return kKSErr_DuplicateName;
    }
  }
  const bool isFolder = (inFlags & kFSCreateFolder) != 0;
  uint32 flags = isFolder ? kFSItemCreated | kFSItemFolder : kFSItemCreated;
  if (inFlags & kFSCreateMarked) {
    flags |= kFSItemMarked;
  }
  const long id = mNextID++;
  auto item = std::make_unique<MemFileItem>(flags, inFolderID);
  if (isFolder) {
    item->mDir = std::make_unique<MemFileSysDir>((mFlags & kMemFSCaseSensitive) != 0);
  }
  if (mFlags & kMemFSStampModTime) {
    item->mModificationTime = TimeFromCatInfo(KSTime::GetTimestamp());
  }
  item->mName = parent->mDir->Add(name.getCStr(), name.length(), id);
  mSys.Put(id, item.release(), true);
  *outID = id;
  return 0;
}

long MemFileSys::Delete(long inID) {
  if (GetItem(inID) == nullptr) {
    return kKSErr_FileNotFound;
  }
  if (inID == kRootID) {
    return kKSErr_NotPermitted;
  }
  RemoveItem(inID);
  return 0;
}

long MemFileSys::DeleteContents(long inID) {
  MemFileItem* item = GetItem(inID);
  if (item == nullptr) {
    return kKSErr_FileNotFound;
  }
  if (item->IsFolder()) {
    RemoveContents(item);
  } else {
    item->mData.Clear();
  }
  return 0;
}

long MemFileSys::Move(long inID, long inNewFolderID, bool inReplace) {
  MemFileItem* item = GetItem(inID);
  if (item == nullptr) {
    return kKSErr_FileNotFound;
  }
  if (inID == kRootID) {
    return kKSErr_NotPermitted;
  }
  MemFileItem* folder = GetFolder(inNewFolderID);
  if (folder == nullptr) {
    return kKSErr_NotADirectory;
  }
  if (IsAtOrBelow(inNewFolderID, inID)) {
    return kKSErr_NotPermitted;  // a folder cannot go inside itself
  }
  if (item->mParent == inNewFolderID) {
    return 0;
  }
  UtilStr name(*item->mName);
  XLongList clashes;
  folder->mDir->AppendIDs(name.getCStr(), name.length(), &clashes);
  if (clashes.Count() > 0 && (inReplace || mNamesUnique)) {
    if (!inReplace) {
      return kKSErr_DuplicateName;
    }
    for (long i = 1; i <= clashes.Count(); i++) {
      if (IsAtOrBelow(inID, clashes.Fetch(i))) {
        return kKSErr_NotPermitted;  // it would delete the item itself
      }
    }
    RemoveNamed(folder, name.getCStr(), name.length());
  }
  MemFileItem* oldParent = GetItem(item->mParent);
  oldParent->mDir->Remove(name.getCStr(), name.length(), inID);
  item->mName = folder->mDir->Add(name.getCStr(), name.length(), inID);
  item->mParent = inNewFolderID;
  return 0;
}

void MemFileSys::RemoveItem(long inID) {
  MemFileItem* item = GetItem(inID);
  if (item == nullptr) {
    return;
  }
  if (item->IsFolder()) {
    RemoveContents(item);
  }
  MemFileItem* parent = GetItem(item->mParent);
  if (parent != nullptr && item->mName != nullptr) {
    UtilStr name(*item->mName);
    parent->mDir->Remove(name.getCStr(), name.length(), inID);
  }
  mSys.Erase(inID);
}

void MemFileSys::RemoveContents(const MemFileItem* inFolder) {
  XLongList ids;
  inFolder->mDir->AppendAllIDs(&ids);
  for (long i = 1; i <= ids.Count(); i++) {
    RemoveItem(ids.Fetch(i));
  }
}

void MemFileSys::RemoveNamed(MemFileItem* inFolder, const char* inName, long inLen) {
  XLongList ids;
  inFolder->mDir->AppendIDs(inName, inLen, &ids);
  for (long i = 1; i <= ids.Count(); i++) {
    RemoveItem(ids.Fetch(i));
  }
}
