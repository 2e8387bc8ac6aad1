#include "foundation/Hashtable.h"

#include <cstdlib>
#include <cstring>

#include "foundation/UtilStr.h"

namespace {

// Drops the value the entry holds: an owned one is deleted (and null is
// given back), any other is returned to the caller.
void* ReleaseValue(KEntry* ioEntry) {
  if (ioEntry->mFlags & kKEntryOwnsValue) {
    delete static_cast<KSObject*>(ioEntry->mValue);
    return nullptr;
  }
  return ioEntry->mValue;
}

// As ReleaseValue, for a value about to be replaced by inNewValue: an owned
// value that is being stored again is kept alive.
void* ReleaseReplacedValue(KEntry* ioEntry, const void* inNewValue) {
  if ((ioEntry->mFlags & kKEntryOwnsValue) && ioEntry->mValue == inNewValue) {
    return nullptr;
  }
  return ReleaseValue(ioEntry);
}

}  // namespace

Hashtable::Hashtable()
    : mTable(nullptr), mTableSize(0), mNumEntries(0), mKeyParam(0), mLoadFactor(40) {}

Hashtable::~Hashtable() {
  RemoveAll();
  free(mTable);
}

void* Hashtable::DestroyEntry(KEntry* inEntry) {
  if (inEntry->mFlags & kKEntryOwnsKey) {
    delete inEntry->mKeyObject;
  }
  void* value = ReleaseValue(inEntry);
  delete inEntry;
  return value;
}

void Hashtable::GrowFor(long inNumEntries) {
  long needed = inNumEntries * 100 / mLoadFactor;
  if (needed < mTableSize) {
    return;
  }
  // The table is rebuilt even when the size stays (the chains change order).
  for (int32 size : sTableSizes) {
    if (size >= needed) {
      Rehash(size);
      return;
    }
  }
  // Past the end of the size list the table stays at the largest size.
  int32 largest = sTableSizes[sizeof(sTableSizes) / sizeof(sTableSizes[0]) - 1];
  if (mTableSize < largest) {
    Rehash(largest);
  }
}

void Hashtable::Rehash(int32 inNewSize) {
  KEntry** table = static_cast<KEntry**>(calloc(inNewSize, sizeof(KEntry*)));
  for (int32 bucket = 0; bucket < mTableSize; bucket++) {
    KEntry* entry = mTable[bucket];
    while (entry) {
      KEntry* next = entry->mNext;
      KEntry** head = &table[entry->mKeyHash % uint32(inNewSize)];
      entry->mNext = *head;
      *head = entry;
      entry = next;
    }
  }
  free(mTable);
  mTable = table;
  mTableSize = inNewSize;
}

KEntry* Hashtable::fetchEntry(unsigned inHash, const KSObject* inKey, KEntry*** outLink) const {
  if (mTableSize == 0) {
    return nullptr;
  }
  KEntry** link = &mTable[inHash % uint32(mTableSize)];
  for (KEntry* entry = *link; entry; link = &entry->mNext, entry = *link) {
    if (entry->mKeyHash != inHash) {
      continue;
    }
    const KSObject* key = entry->mKeyObject;
    if (!inKey || !key || inKey == key || inKey->CompareTo(key, mKeyParam) == 0) {
      if (outLink) {
        *outLink = link;
      }
      return entry;
    }
  }
  return nullptr;
}

KEntry* Hashtable::fetchEntry(const char* inKey, int inKeyLen, KEntry*** outLink,
                              long* outBucket) const {
  if (inKeyLen < 0) {
    inKeyLen = inKey ? int(strlen(inKey)) : 0;
  }
  bool caseSensitive = mKeyParam == 0;
  uint32 hash = UtilStr::HashCode(inKey, inKeyLen, caseSensitive);
  if (mTableSize == 0) {
    return nullptr;
  }
  long bucket = long(hash % uint32(mTableSize));
  if (outBucket) {
    *outBucket = bucket;
  }
  KEntry** link = &mTable[bucket];
  for (KEntry* entry = *link; entry; link = &entry->mNext, entry = *link) {
    if (!entry->mKeyObject || entry->mKeyHash != hash) {
      continue;
    }
    const UtilStr* key = static_cast<const UtilStr*>(entry->mKeyObject);
    if (UtilStr::compare(inKey, inKeyLen, key->getCStr(), key->length(), caseSensitive) == 0) {
      if (outLink) {
        *outLink = link;
      }
      return entry;
    }
  }
  return nullptr;
}

void* Hashtable::put(unsigned inHash, const KSObject* inKey, void* inValue, long inFlags) {
  GrowFor(mNumEntries + 1);
  KSObject* key = const_cast<KSObject*>(inKey);
  KEntry* entry = fetchEntry(inHash, inKey, nullptr);
  if (entry) {
    void* oldValue = ReleaseReplacedValue(entry, inValue);
    if ((entry->mFlags & kKEntryOwnsKey) && entry->mKeyObject != key) {
      delete entry->mKeyObject;
    }
    entry->mKeyObject = key;
    entry->mFlags = int32(inFlags);
    entry->mValue = inValue;
    return oldValue;
  }
  KEntry** head = &mTable[inHash % uint32(mTableSize)];
  *head = new KEntry{inHash, key, inValue, *head, int32(inFlags)};
  mNumEntries++;
  return nullptr;
}

unsigned long Hashtable::get(unsigned inHash, const KSObject* inKey, void** outValue) const {
  KEntry* entry = fetchEntry(inHash, inKey, nullptr);
  if (outValue) {
    *outValue = entry ? entry->mValue : nullptr;
  }
  return entry ? (uint32(entry->mFlags) | kHashtableFound) : 0;
}

void* Hashtable::remove(unsigned inHash, const KSObject* inKey) {
  KEntry** link = nullptr;
  KEntry* entry = fetchEntry(inHash, inKey, &link);
  if (!entry) {
    return nullptr;
  }
  *link = entry->mNext;
  mNumEntries--;
  return DestroyEntry(entry);
}

bool Hashtable::setFlags(unsigned inHash, const KSObject* inKey, long inFlags) {
  KEntry* entry = fetchEntry(inHash, inKey, nullptr);
  if (!entry) {
    return false;
  }
  entry->mFlags = (entry->mFlags & ~kKEntryUserFlags) | (int32(inFlags) & kKEntryUserFlags);
  return true;
}

void* Hashtable::put_str(const char* inKey, int inKeyLen, const UtilStr** outKey, void* inValue,
                         bool inOwnValue) {
  int32 ownValue = inOwnValue ? kKEntryOwnsValue : 0;
  KEntry* entry = fetchEntry(inKey, inKeyLen, nullptr, nullptr);
  if (entry) {
    if (outKey) {
      *outKey = static_cast<const UtilStr*>(entry->mKeyObject);
    }
    void* oldValue = ReleaseReplacedValue(entry, inValue);
    entry->mFlags = (entry->mFlags & kKEntryOwnsKey) | ownValue;
    entry->mValue = inValue;
    return oldValue;
  }
  UtilStr* key = new UtilStr(inKey, inKeyLen);
  if (outKey) {
    *outKey = key;
  }
  return put(key->HashCode(mKeyParam), key, inValue, kKEntryOwnsKey | ownValue);
}

unsigned long Hashtable::Get(const char* inKey, int inKeyLen, const UtilStr** outKey,
                             void** outValue) const {
  KEntry* entry = fetchEntry(inKey, inKeyLen, nullptr, nullptr);
  if (outKey) {
    *outKey = entry ? static_cast<const UtilStr*>(entry->mKeyObject) : nullptr;
  }
  if (outValue) {
    *outValue = entry ? entry->mValue : nullptr;
  }
  return entry ? (uint32(entry->mFlags) | kHashtableFound) : 0;
}

void* Hashtable::Remove(const char* inKey, int inKeyLen) {
  KEntry** link = nullptr;
  KEntry* entry = fetchEntry(inKey, inKeyLen, &link, nullptr);
  if (!entry) {
    return nullptr;
  }
  *link = entry->mNext;
  mNumEntries--;
  return DestroyEntry(entry);
}

void Hashtable::RemoveAll() {
  for (int32 bucket = 0; bucket < mTableSize; bucket++) {
    KEntry* entry = mTable[bucket];
    mTable[bucket] = nullptr;
    while (entry) {
      KEntry* next = entry->mNext;
      DestroyEntry(entry);
      entry = next;
    }
  }
  mNumEntries = 0;
}

bool Hashtable::Iterate(KSHashIterateProc inProc, void* inParam1, void* inParam2) const {
  for (int32 bucket = 0; bucket < mTableSize; bucket++) {
    for (const KEntry* entry = mTable[bucket]; entry; entry = entry->mNext) {
      if (!inProc(entry, inParam1, inParam2)) {
        return false;
      }
    }
  }
  return true;
}

void* Hashtable::GetNthValue(long inN) const {
  if (inN < 0) {
    return nullptr;
  }
  for (int32 bucket = 0; bucket < mTableSize; bucket++) {
    for (const KEntry* entry = mTable[bucket]; entry; entry = entry->mNext) {
      if (inN-- == 0) {
        return entry->mValue;
      }
    }
  }
  return nullptr;
}
