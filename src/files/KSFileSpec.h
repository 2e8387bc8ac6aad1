// KSFileSpec: one file or folder on the local disk, named by an absolute
// Windows path kept as UTF-8 text ('\' separators, no trailing '\', no
// long-path prefix). It converts to the platform's UTF-16 form (with the
// long-path prefix) and to a POSIX-style form, finds the well-known folders of
// the system and the program's work folder, and offers existence tests,
// catalog information, folder creation, deletion and directory listing.
#pragma once

#include "foundation/KSObject.h"
#include "foundation/KSTypes.h"
#include "foundation/UtilStr.h"

class XStrList;

// The well-known folders AssignOSFolder can find.
enum OSFolderType {
  ks_CommonAppFolder = 0,      // program files; "C:\Program Files" when the shell has none
  ks_CommonAppDataFolder = 1,  // application data of all users (else the home folder)
  ks_CommonLibFolder = 2,      // common program files
  ks_CommonPrefsFolder = 3,    // the parent of the all-users application data folder
  ks_UserDesktopFolder = 4,    // the user's desktop
  ks_UserAppFolder = 5,        // the user's start-menu programs
  ks_UserLibFolder = 6,        // the user's application data
  ks_UserPrefsFolder = 7,      // the user's application data
  ks_RootFolder = 8,           // the drive of the Windows folder, as "X:"
  ks_SystemFolder = 9,         // the Windows folder
  ks_HomeFolder = 10           // the parent of the user's desktop
};

// Bits of the catalog flags of StartDirIteration and ReadCatalog.
enum {
  ks_CatalogFiles = 1,
  ks_CatalogFolders = 2,
  ks_CatalogInvisibles = 4,   // hidden and system items too
  ks_CatalogNoExtensions = 8  // ReadCatalog only: names lose their extension
};

// What Exists returns, and the mFlags of KSFileInfo.
enum { ks_ItemIsFile = 1, ks_ItemIsFolder = 2 };

// Native paths handed to the platform hold at most this many UTF-16 units
// (NUL included); a longer path is passed as an empty one and so not found.
constexpr int kKSMaxNativePathUnits = 1024;

// Catalog information of one item.
struct KSFileInfo {
  int64 mLogicalSize;       // bytes; 0 for folders
  int64 mCreationTime;      // seconds since 1970-01-01 UTC; -1 when unknown
  int64 mModificationTime;  // seconds since 1970-01-01 UTC; -1 when unknown
  int32 mFlags;             // ks_ItemIsFile or ks_ItemIsFolder
};

class KSFileSpec : public KSObject {
 public:
  KSFileSpec();
  KSFileSpec(const KSFileSpec& inSpec);
  KSFileSpec& operator=(const KSFileSpec& inSpec);
  ~KSFileSpec() override;

  // --- Assignment (each form ends by normalising the path) ---
  void Assign(const KSFileSpec& inSpec);
  // A text holding a '\' is an absolute native path; anything else is taken
  // relative to the folder of the running program. inLen < 0: up to the NUL.
  void AssignFromPath(const char* inPath, long inLen = -1);
  // A UTF-16 native path (inLen < 0: up to the NUL). A path whose UTF-8 form
  // exceeds 2047 bytes gives an empty spec.
  void AssignAbsolutePath(const uint16* inPath, int inLen = -1);
  // inBase, then a '\', then inPath (one leading '\' of inPath dropped). The
  // relative text is appended as it is: "..", "." and "/" mean nothing here.
  // An empty inBase gives an empty spec.
  void AssignRelativePath(const char* inPath, int inLen, const KSFileSpec& inBase);
  // Relative to the folder of the running program; empty if that is unknown.
  void AssignRelativePath(const char* inPath, int inLen = -1);
  // The folder holding inSpec ("C:\Data" gives "C:"). An empty inSpec leaves
  // this spec unchanged; a path without '\' is its own parent.
  void AssignParent(const KSFileSpec& inSpec);
  // One of the well-known folders, through the shell.
  long AssignOSFolder(OSFolderType inType);
  // <folder of inType>\Kestrova\<inName>, creating either level as needed.
  long AssignWorkFolder(const char* inName, OSFolderType inType);
  // The same inside a folder already found.
  long AssignWorkFolder(const char* inName, const KSFileSpec& inSystemFolder);
  // The work folder in the user's preferences folder, else the common one.
  long AssignWorkFolder(const char* inName);
  // Makes this spec empty (no file).
  void Clear();
  // Links are not resolved: always false.
  bool ResolveAlias() { return false; }

  // --- Access ---
  bool IsEmpty() const { return mPathName.IsEmpty(); }
  // The UTF-8 path, or "" for an empty spec.
  const UtilStr& GetPathname() const { return mPathName; }
  const char* GetPathCStr() const { return mPathName.getCStr(); }
  // The last path component (empty for a drive such as "C:").
  const char* GetFileName() const;
  void GetFileName(UtilStr* outName) const;

  // --- Static helpers ---
  // The file of a module (an HINSTANCE); null means the program's own file.
  static long GetModuleSpec(void* inModule, KSFileSpec* outSpec);
  // The folder holding the program's file.
  static long GetProcessDir(KSFileSpec* outSpec);
  // Splits at the last '.': outBase gets what is before it, outExt the rest
  // with the '.'. Either output may be null or inName itself.
  static void FindExtension(const UtilStr& inName, UtilStr* outBase, UtilStr* outExt);

  // --- Conversions ---
  // The UTF-8 path: kKSErr_BadState for an empty spec, kKSErr_Param for a null outPath.
  long GetNativePathname(UtilStr* outPath) const;
  // The UTF-16 path for the platform, NUL-terminated, with the long-path
  // prefix for local paths; a bare drive "X:" comes out as its root "X:\".
  // Returns its length without the NUL; a path that does not fit inMaxUnits
  // gives an empty string, never a truncated one.
  int GetNativePathname(uint16* outPath, int inMaxUnits) const;
  // "/Volumes/C/Program Files/App" for "C:\Program Files\App"; network paths
  // and URLs go under "/URL/". Fails with kKSErr_Unmapped for other forms.
  long GetPOSIXPathname(UtilStr* outPath) const;

  // --- Disk operations ---
  // 0 when nothing is there (or the path is empty), else ks_ItemIsFile or ks_ItemIsFolder.
  long Exists() const;
  long GetCatInfo(KSFileInfo* outInfo) const;
  long CreateDir() const;
  // Deletes a file or an empty folder.
  long Delete() const;
  // Deletes a file, or a folder with everything inside it.
  long DeleteRecursively() const;

  // A directory listing, item by item. The iterator is an opaque number (0 is
  // none); every iterator that StartDirIteration hands out must be ended.
  static long StartDirIteration(const KSFileSpec& inDir, unsigned long inFlags, long* outIter);
  // 0 at the end or on any error, else ks_ItemIsFile or ks_ItemIsFolder.
  static long GetNextItem(long inIter, KSFileSpec* outSpec);
  static void EndDirIteration(long inIter);
  // Adds the items of inDir to outList: their POSIX paths, or their names.
  static long ReadCatalog(const KSFileSpec& inDir, XStrList* outList, unsigned long inFlags,
                          bool inPOSIXPaths);

  // --- KSObject ---
  uint32 HashCode(long inParam) const override;
  // Orders by the last component; inParam 0 is case-sensitive.
  int32 CompareTo(const KSObject* inSpec, long inParam) const override;

 private:
  void AssignPathText(const char* inText, long inLen);
  void Normalise();

  // 1-based position of the last '\' in mPathName (so the last component
  // starts at this 0-based index); the path length when there is none.
  int32 mFileNamePos;
  UtilStr mPathName;
};
