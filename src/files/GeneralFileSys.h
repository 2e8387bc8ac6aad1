// GeneralFileSys: the common interface of the file systems that name their
// items by numeric IDs instead of paths. Item 1 is always the root folder and
// 0 means "none". The base class implements what can be built on the other
// operations: path look-up, path building, default names for new items and
// reading tar archives.
#pragma once

#include "foundation/KSTypes.h"

class KSIStream;
class KSTarReader;
class UtilStr;
class XLongList;

// Item flags, as GetFlags returns them.
constexpr uint32 kFSItemCreated = 0x1;       // files carry 1, created folders 3
constexpr uint32 kFSItemFolder = 0x2;        // the item is a folder
constexpr uint32 kFSItemMarked = 0x8;        // kept for the creator (kFSCreateMarked)
constexpr uint32 kFSItemUserFlags = 0xFF00;  // the bits SetFlags may change
constexpr uint32 kFSItemMirrored = 0x100;  // a mirror holds this folder's listing or file's content

// Creation flags of Create and Create_Impl.
constexpr uint32 kFSCreateFolder = 0x2;       // a folder, else a file
constexpr uint32 kFSCreateMarked = 0x8;       // sets kFSItemMarked on the new item
constexpr uint32 kFSCreateReplace = 0x10000;  // an existing item of that name is deleted first

// Catalog flags.
constexpr long kFSCatFiles = 2;
constexpr long kFSCatFolders = 4;
constexpr long kFSCatFilesAndFolders = 6;
constexpr long kFSCatRecursive = 16;  // the contents of sub-folders follow, all the way down

// The catalog information of one item.
struct FSCatInfo {
  int64 mLogicalSize;       // bytes
  int64 mCreationTime;      // seconds since 1970 UTC; -1 when unknown
  int64 mModificationTime;  // seconds since 1970 UTC; -1 when unknown
  uint32 mFlags;            // the item flags
};

class GeneralFileSys {
 public:
  explicit GeneralFileSys(bool inNamesUnique);
  virtual ~GeneralFileSys();
  GeneralFileSys(const GeneralFileSys&) = delete;
  GeneralFileSys& operator=(const GeneralFileSys&) = delete;

  // Appends to outIDs the items of a folder that match the kFSCat... flags.
  virtual long Catalog(long inFolderID, XLongList* outIDs, long inFlags) = 0;
  // The item called inName in a folder (inNameLen < 0: up to the NUL).
  // *outID is 0 when nothing is found.
  virtual long GetItemID(long inFolderID, const char* inName, long inNameLen, long* outID) = 0;
  // 0 for a missing item, with *outErr set (outErr may be null).
  virtual unsigned long GetFlags(long inID, long* outErr) = 0;
  // Replaces the kFSItemUserFlags bits of the item's flags.
  virtual long SetFlags(long inID, unsigned long inFlags) = 0;
  virtual long GetCatInfo(long inID, FSCatInfo* outInfo) = 0;
  virtual long SetCatInfo(long inID, int64 inCreationTime, int64 inModificationTime) = 0;
  // Creates the items of a tar archive below inFolderID. Folders must come
  // before the items inside them. Reading stops at the first error, keeping
  // the items made so far.
  virtual long ReadFromTar(long inFolderID, KSIStream* inStream);
  virtual long SetName(long inID, const UtilStr& inName) = 0;
  // Copies the item's name into outName, or appends it when inAppend.
  virtual long GetName(long inID, UtilStr* outName, bool inAppend) = 0;
  // The item's name, kept by the file system; null for a missing item.
  virtual const UtilStr* GetName(long inID) = 0;
  // The names from inRootID (exclusive) down to inID, joined by inSeparator,
  // without a leading separator: "" for inRootID itself. kKSErr_Param when
  // inRootID is not a folder above inID.
  virtual long GetPathname(long inID, UtilStr* outPath, char inSeparator, long inRootID);
  // Brings a cached item up to date; nothing to do here (kKSErr_Unimplemented).
  virtual long CacheSync(long inID, long inHint1, long inHint2);
  // inBytes from inPos of a file (inBytes < 0: the rest).
  virtual long ReadBlock(long inID, int64 inPos, long inBytes, UtilStr* outData) = 0;
  // Replaces the whole content of a file.
  virtual long Write(long inID, const UtilStr& inData) = 0;
  // A new item in a folder. When names must be unique (and inFlags lacks
  // kFSCreateReplace) it gets the first free name of "Untitled Folder" or
  // "Untitled", "... 1", "... 2" and so on; otherwise its name is empty.
  virtual long Create(long inFolderID, long* outID, long inFlags);
  // Deletes an item (a folder with everything inside it).
  virtual long Delete(long inID) = 0;
  // Deletes everything inside a folder, or empties a file.
  virtual long DeleteContents(long inID) = 0;
  // Moves an item into another folder. With inReplace an item of the same
  // name there is deleted first; otherwise it gives kKSErr_DuplicateName.
  virtual long Move(long inID, long inNewFolderID, bool inReplace) = 0;
  // 0 for the root folder.
  virtual long GetParent(long inID, long* outParentID) = 0;

  bool NamesUnique() const { return mNamesUnique; }

 protected:
  // Makes an item called inName in a folder (see the kFSCreate... flags).
  // When the name is taken and names must be unique the result is
  // kKSErr_DuplicateName and *outID is the existing item.
  virtual long Create_Impl(long inFolderID, const char* inName, long inNameLen, long* outID,
                           unsigned long inFlags) = 0;

  // Walks inSeparator-delimited inPath (one leading separator ignored) from
  // inFolderID. A trailing separator asks for a folder. A missing component
  // gives kKSErr_FileNotFound, or with inCreateFolders is created (the last
  // one as a folder only when a folder is asked for) and the result is 0.
  // A path that existed whole gives kKSErr_DuplicateName, or
  // kKSErr_PathKindMismatch when a folder was asked for and the item is a
  // file. *outID receives the item reached.
  long GetItemIDFromPath_Impl(long inFolderID, const char* inPath, long inLen, bool inCreateFolders,
                              char inSeparator, long* outID);

  bool mNamesUnique;

 private:
  long PickUntitledName(long inFolderID, bool inFolder, UtilStr* outName);
  long AddTarItem(long inFolderID, KSTarReader* ioReader);
};
