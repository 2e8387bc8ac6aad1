#include "files/MemFileSysDir.h"

#include <cstring>
#include <memory>

#include "foundation/UtilStr.h"
#include "foundation/XPtrList.h"

namespace {

// The user flag of an entry whose value is a MemFileSysDupes the table owns.
constexpr int32 kSharedName = 1;

bool IsShared(const KEntry* inEntry) {
  return (inEntry->mFlags & kSharedName) != 0;
}

MemFileSysDupes* DupesOf(const KEntry* inEntry) {
  return static_cast<MemFileSysDupes*>(inEntry->mValue);
}

long MeasureName(const char* inName, long inLen) {
  if (inName == nullptr) {
    return 0;
  }
  return inLen < 0 ? long(strlen(inName)) : inLen;
}

bool AppendValueID(const KEntry* inEntry, void* ioList, void*) {
  static_cast<XLongList*>(ioList)->Add(int32(KSIDTable::ValueToID(inEntry->mValue)));
  return true;
}

void AppendEntryIDs(const KEntry* inEntry, XLongList* outIDs) {
  if (IsShared(inEntry)) {
    DupesOf(inEntry)->AppendIDs(outIDs);
  } else {
    outIDs->Add(int32(KSIDTable::ValueToID(inEntry->mValue)));
  }
}

bool AppendEntry(const KEntry* inEntry, void* ioList, void*) {
  AppendEntryIDs(inEntry, static_cast<XLongList*>(ioList));
  return true;
}

}  // namespace

void MemFileSysDupes::AppendIDs(XLongList* outIDs) const {
  XLongList sorted(ks_Sorted);
  Iterate(AppendValueID, &sorted, nullptr);
  for (long i = 1; i <= sorted.Count(); i++) {
    outIDs->Add(sorted.Fetch(i));
  }
}

MemFileSysDir::MemFileSysDir(bool inCaseSensitive) : mDir(inCaseSensitive) {}

const UtilStr* MemFileSysDir::Add(const char* inName, long inLen, long inID) {
  inLen = MeasureName(inName, inLen);
  const UtilStr* storedName = nullptr;
  KEntry* entry = mDir.fetchEntry(inName, int(inLen), nullptr, nullptr);
  if (entry == nullptr) {
    mDir.put_str(inName, int(inLen), &storedName, KSIDTable::IDToValue(inID), false);
    return storedName;
  }
  if (IsShared(entry)) {
    DupesOf(entry)->Add(inID);
  } else {
    auto dupes = std::make_unique<MemFileSysDupes>();
    dupes->Add(KSIDTable::ValueToID(entry->mValue));
    dupes->Add(inID);
    mDir.put_str(inName, int(inLen), nullptr, dupes.release(), true);
    entry->mFlags |= kSharedName;
  }
  return static_cast<const UtilStr*>(entry->mKeyObject);
}

void MemFileSysDir::Remove(const char* inName, long inLen, long inID) {
  inLen = MeasureName(inName, inLen);
  KEntry* entry = mDir.fetchEntry(inName, int(inLen), nullptr, nullptr);
  if (entry == nullptr) {
    return;
  }
  if (!IsShared(entry)) {
    if (KSIDTable::ValueToID(entry->mValue) == inID) {
      mDir.Remove(inName, int(inLen));
    }
    return;
  }
  MemFileSysDupes* dupes = DupesOf(entry);
  dupes->Erase(inID);
  if (dupes->NumEntries() == 1) {
    // One item left: the entry goes back to holding its ID (which deletes
    // the dupes and clears the shared flag).
    void* lastID = dupes->GetNthValue(0);
    mDir.put_str(inName, int(inLen), nullptr, lastID, false);
  } else if (dupes->NumEntries() == 0) {
    mDir.Remove(inName, int(inLen));
  }
}

long MemFileSysDir::Lookup(const char* inName, long inLen, long* outFirstID) const {
  inLen = MeasureName(inName, inLen);
  *outFirstID = 0;
  const KEntry* entry = mDir.fetchEntry(inName, int(inLen), nullptr, nullptr);
  if (entry == nullptr) {
    return 0;
  }
  if (!IsShared(entry)) {
    *outFirstID = KSIDTable::ValueToID(entry->mValue);
    return 1;
  }
  XLongList ids;
  DupesOf(entry)->AppendIDs(&ids);
  *outFirstID = ids.Fetch(1);
  return ids.Count();
}

void MemFileSysDir::AppendIDs(const char* inName, long inLen, XLongList* outIDs) const {
  inLen = MeasureName(inName, inLen);
  const KEntry* entry = mDir.fetchEntry(inName, int(inLen), nullptr, nullptr);
  if (entry != nullptr) {
    AppendEntryIDs(entry, outIDs);
  }
}

void MemFileSysDir::AppendAllIDs(XLongList* outIDs) const {
  mDir.Iterate(AppendEntry, outIDs, nullptr);
}
