#include "files/GeneralFileSys.h"

#include <cstring>

#include "files/KSIStream.h"
#include "files/KSTarReader.h"
#include "foundation/KSError.h"
#include "foundation/UtilStr.h"
#include "foundation/XPtrList.h"

GeneralFileSys::GeneralFileSys(bool inNamesUnique) : mNamesUnique(inNamesUnique) {}

GeneralFileSys::~GeneralFileSys() {}

long GeneralFileSys::CacheSync(long, long, long) {
  return kKSErr_Unimplemented;
}

// ---------------------------------------------------------------------------
// Names and paths

long GeneralFileSys::GetPathname(long inID, UtilStr* outPath, char inSeparator, long inRootID) {
  if (outPath == nullptr) {
    return kKSErr_Param;
  }
  outPath->Clear();
  // The items from inID up to (not including) inRootID, bottom first.
  XLongList chain;
  for (long id = inID; id != inRootID;) {
    if (id == 0) {
      return kKSErr_Param;
    }
    chain.Add(int32(id));
    long err = GetParent(id, &id);
    if (err != 0) {
      return err;
    }
  }
  for (long i = chain.Count(); i >= 1; i--) {
    const UtilStr* name = GetName(chain.Fetch(i));
    if (name == nullptr) {
      outPath->Clear();
      return kKSErr_FileNotFound;
    }
    if (i < chain.Count()) {
      outPath->AppendChar(inSeparator);
    }
    outPath->Append(*name);
  }
  return 0;
}

long GeneralFileSys::GetItemIDFromPath_Impl(long inFolderID, const char* inPath, long inLen,
                                            bool inCreateFolders, char inSeparator, long* outID) {
  if (outID == nullptr) {
    return kKSErr_Param;
  }
  *outID = inFolderID;
  if (inPath == nullptr) {
    inLen = 0;
  } else if (inLen < 0) {
    inLen = long(strlen(inPath));
  }
  const char* next = inPath;
  const char* end = inPath + inLen;
  if (next < end && *next == inSeparator) {
    next++;
  }
  const bool wantFolder = next < end && end[-1] == inSeparator;
  bool created = false;
  long current = inFolderID;
  while (next < end) {
    const void* sep = memchr(next, inSeparator, size_t(end - next));
    const char* componentEnd = sep ? static_cast<const char*>(sep) : end;
    const char* component = next;
    long componentLen = long(componentEnd - component);
    next = componentEnd;
    while (next < end && *next == inSeparator) {
      next++;
    }
    if (componentLen == 0) {
      continue;
    }
    long id = 0;
    long err = GetItemID(current, component, componentLen, &id);
    if (err == kKSErr_FileNotFound && inCreateFolders) {
      bool asFolder = next < end || wantFolder;
      err = Create_Impl(current, component, componentLen, &id, asFolder ? kFSCreateFolder : 0);
      created = true;
    }
    if (err != 0) {
      *outID = current;
      return err;
    }
    current = id;
  }
  *outID = current;
  if (created) {
    return 0;
  }
  long flagsErr = 0;
  if (wantFolder && (GetFlags(current, &flagsErr) & kFSItemFolder) == 0) {
    return kKSErr_PathKindMismatch;
  }
  return kKSErr_DuplicateName;
}

// ---------------------------------------------------------------------------
// Creating

long GeneralFileSys::Create(long inFolderID, long* outID, long inFlags) {
  if (outID == nullptr) {
    return kKSErr_Param;
  }
  *outID = 0;
  UtilStr name;
  if (mNamesUnique && (inFlags & kFSCreateReplace) == 0) {
    long err = PickUntitledName(inFolderID, (inFlags & kFSCreateFolder) != 0, &name);
    if (err != 0) {
      return err;
    }
  }
  return Create_Impl(inFolderID, name.getCStr(), name.length(), outID, inFlags);
}

long GeneralFileSys::PickUntitledName(long inFolderID, bool inFolder, UtilStr* outName) {
  const char* base = inFolder ? "Untitled Folder" : "Untitled";
  for (long n = 0;; n++) {
    outName->Assign(base);
    if (n > 0) {
      outName->AppendChar(' ');
      outName->AppendInt(n);
    }
    long id = 0;
    long err = GetItemID(inFolderID, outName->getCStr(), outName->length(), &id);
    if (err == kKSErr_FileNotFound) {
      return 0;
    }
    if (err != 0 && err != kKSErr_AmbiguousName) {
      return err;
    }
  }
}

// ---------------------------------------------------------------------------
// Tar archives

long GeneralFileSys::ReadFromTar(long inFolderID, KSIStream* inStream) {
  if (inStream == nullptr) {
    return kKSErr_Param;
  }
  KSTarReader reader(inStream);
  for (;;) {
    bool atEnd = false;
    long err = reader.ReadHeader(&atEnd);
    if (err != 0 || atEnd) {
      return err;
    }
    err = AddTarItem(inFolderID, &reader);
    if (err != 0) {
      return err;
    }
  }
}

// Creates the item whose header ioReader has just read, reading its content.
long GeneralFileSys::AddTarItem(long inFolderID, KSTarReader* ioReader) {
  UtilStr path(ioReader->GetName());
  if (path.length() > 0 && path.getCStr()[path.length() - 1] == '/') {
    path.TruncR(1);
  }
  long folderID = inFolderID;
  int lastSlash = path.FindPrevInstanceOf(path.length(), '/');
  if (lastSlash > 0) {
    // The folders on the way must already be there.
    long err =
        GetItemIDFromPath_Impl(inFolderID, path.getCStr(), lastSlash - 1, false, '/', &folderID);
    if (err != 0 && err != kKSErr_DuplicateName) {
      return err;
    }
  }
  const char* name = path.getCStr() + lastSlash;
  long nameLen = path.length() - lastSlash;
  long id = 0;
  switch (ioReader->GetType()) {
    case kTarTypeFile: {
      long err = Create_Impl(folderID, name, nameLen, &id, kFSCreateReplace | kFSItemCreated);
      UtilStr content;
      if (err == 0) {
        err = ioReader->ReadContent(&content);
      }
      return err != 0 ? err : Write(id, content);
    }
    case kTarTypeFolder: {
      long err = Create_Impl(folderID, name, nameLen, &id, kFSCreateFolder);
      if (err == kKSErr_DuplicateName) {
        err = 0;
      }
      // A folder has no content, but a size that says otherwise must not
      // make its content be taken for the next header.
      return err != 0 ? err : ioReader->ReadContent(nullptr);
    }
    default:
      return kKSErr_UnsupportedMode;
  }
}
