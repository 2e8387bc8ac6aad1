// KSFileSpec directory listing: StartDirIteration, GetNextItem,
// EndDirIteration and ReadCatalog.
#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

#include "files/KSFileSpec.h"
#include "files/KSNativePath.h"
#include "foundation/KSError.h"
#include "foundation/KSFindHandle.h"
#include "foundation/KSMutex.h"
#include "foundation/KSUnicode.h"
#include "foundation/XStrList.h"

namespace {

// One running listing.
struct DirIterator {
  KSFileSpec mDir;
  bool mDoDirs;
  bool mDoFiles;
  bool mDoInvisibles;
  bool mEnded;
  KSFindHandle mSearch;                          // none until the first item is asked for
  int32 mBasePathnameLen;                        // up to and including the final '\'
  wchar_t mBasePathname[kKSMaxNativePathUnits];  // the folder, '\', '*'
};

// Callers hold iterators as a long, which cannot carry a pointer on 64-bit
// Windows, so they get a slot number (index + 1) of this table instead.
// Built on first use and never destroyed, as listings run during static
// initialisation and destruction too; locked, as any thread may list a folder.
KSMutex& IteratorsLock() {
  static KSMutex* sLock = new KSMutex;
  return *sLock;
}

// The table owns the listings in it.
using IteratorTable = std::vector<std::unique_ptr<DirIterator>>;

IteratorTable& Iterators() {
  static IteratorTable* sIterators = new IteratorTable;
  return *sIterators;
}

long AddIterator(std::unique_ptr<DirIterator> inIter) {
  KSMutexHold hold(IteratorsLock());
  IteratorTable& table = Iterators();
  for (size_t i = 0; i < table.size(); i++) {
    if (table[i] == nullptr) {
      table[i] = std::move(inIter);
      return long(i + 1);
    }
  }
  table.push_back(std::move(inIter));
  return long(table.size());
}

// The slot of inIter, or null when there is no such slot.
std::unique_ptr<DirIterator>* SlotOf(long inIter) {
  IteratorTable& table = Iterators();
  return inIter >= 1 && size_t(inIter) <= table.size() ? &table[size_t(inIter - 1)] : nullptr;
}

// The iterator in slot inIter, or null.
DirIterator* FindIterator(long inIter) {
  KSMutexHold hold(IteratorsLock());
  std::unique_ptr<DirIterator>* slot = SlotOf(inIter);
  return slot != nullptr ? slot->get() : nullptr;
}

// Ends the listing in slot inIter and frees the slot.
void RemoveIterator(long inIter) {
  KSMutexHold hold(IteratorsLock());
  if (std::unique_ptr<DirIterator>* slot = SlotOf(inIter)) {
    slot->reset();
  }
}

bool IsWanted(const DirIterator& inIter, const WIN32_FIND_DATAW& inItem) {
  const wchar_t* name = inItem.cFileName;
  if (wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0) {
    return false;
  }
  bool isFolder = (inItem.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (isFolder ? !inIter.mDoDirs : !inIter.mDoFiles) {
    return false;
  }
  const DWORD kInvisible = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return inIter.mDoInvisibles || (inItem.dwFileAttributes & kInvisible) == 0;
}

// The next wanted item of the listing; false at its end.
bool FindNextWanted(DirIterator* ioIter, WIN32_FIND_DATAW* outItem) {
  while (!ioIter->mEnded) {
    bool found;
    if (!ioIter->mSearch) {
      ioIter->mSearch.Reset(FindFirstFileW(ioIter->mBasePathname, outItem));
      found = ioIter->mSearch.IsValid();
    } else {
      found = FindNextFileW(ioIter->mSearch.Get(), outItem) != FALSE;
    }
    if (!found) {
      ioIter->mEnded = true;
    } else if (IsWanted(*ioIter, *outItem)) {
      return true;
    }
  }
  return false;
}

void AddCatalogEntry(const KSFileSpec& inItem, unsigned long inFlags, bool inPOSIXPaths,
                     XStrList* outList) {
  UtilStr entry;
  if (inPOSIXPaths) {
    inItem.GetPOSIXPathname(&entry);
  } else {
    inItem.GetFileName(&entry);
    if (inFlags & ks_CatalogNoExtensions) {
      KSFileSpec::FindExtension(entry, &entry, nullptr);
    }
  }
  outList->Add(entry);
}

}  // namespace

long KSFileSpec::StartDirIteration(const KSFileSpec& inDir, unsigned long inFlags, long* outIter) {
  if (outIter == nullptr) {
    return kKSErr_Param;
  }
  *outIter = 0;
  KSFileInfo info;
  if (inDir.GetCatInfo(&info) != 0) {
    return kKSErr_FileNotFound;
  }
  if (info.mFlags != ks_ItemIsFolder) {
    return kKSErr_CannotBeFile;
  }
  auto iter = std::make_unique<DirIterator>();
  int32 len = inDir.GetNativePathname(reinterpret_cast<uint16*>(iter->mBasePathname),
                                      kKSMaxNativePathUnits);
  if (len == 0 || len + 3 > kKSMaxNativePathUnits) {
    return kKSErr_FileNotFound;
  }
  if (iter->mBasePathname[len - 1] != L'\\') {
    iter->mBasePathname[len++] = L'\\';
  }
  iter->mBasePathnameLen = len;
  iter->mBasePathname[len] = L'*';
  iter->mBasePathname[len + 1] = 0;
  iter->mDir.Assign(inDir);
  iter->mDoFiles = (inFlags & ks_CatalogFiles) != 0;
  iter->mDoDirs = (inFlags & ks_CatalogFolders) != 0;
  iter->mDoInvisibles = (inFlags & ks_CatalogInvisibles) != 0;
  iter->mEnded = false;
  *outIter = AddIterator(std::move(iter));
  return 0;
}

long KSFileSpec::GetNextItem(long inIter, KSFileSpec* outSpec) {
  DirIterator* iter = FindIterator(inIter);
  WIN32_FIND_DATAW item;
  if (iter == nullptr || !FindNextWanted(iter, &item)) {
    return 0;
  }
  // Room for the longest name a folder can hold, in UTF-8.
  char name[MAX_PATH * 3 + 1];
  int nameLen = KSEncodeAsUTF8(reinterpret_cast<const uint16*>(item.cFileName), -1,
                               reinterpret_cast<uint8*>(name), sizeof(name) - 1, false);
  if (outSpec != nullptr) {
    outSpec->AssignRelativePath(name, nameLen, iter->mDir);
  }
  return (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? ks_ItemIsFolder : ks_ItemIsFile;
}

void KSFileSpec::EndDirIteration(long inIter) {
  RemoveIterator(inIter);
}

long KSFileSpec::ReadCatalog(const KSFileSpec& inDir, XStrList* outList, unsigned long inFlags,
                             bool inPOSIXPaths) {
  if (outList == nullptr) {
    return kKSErr_Param;
  }
  long iter = 0;
  long err = StartDirIteration(inDir, inFlags, &iter);
  KSFileSpec item;
  while (err == 0 && GetNextItem(iter, &item) != 0) {
    AddCatalogEntry(item, inFlags, inPOSIXPaths, outList);
  }
  EndDirIteration(iter);
  return err;
}
