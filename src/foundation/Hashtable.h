// A chained hash table keyed by objects or by strings. Each entry says
// whether the table owns its key and its value.
#pragma once

#include "foundation/KSObject.h"
#include "foundation/KSTypes.h"

class UtilStr;

// Bits of KEntry::mFlags.
constexpr int32 kKEntryUserFlags = 0x00FFFFFF;  // free for the table's user
constexpr int32 kKEntryOwnsValue = 0x02000000;  // the value is a KSObject the table deletes
constexpr int32 kKEntryOwnsKey = 0x04000000;    // the key is a KSObject the table deletes
// Added to the flags that get() and Get() return, so that a found entry never gives 0.
constexpr unsigned long kHashtableFound = 0x10000000;

struct KEntry {
  uint32 mKeyHash;
  KSObject* mKeyObject;  // a UtilStr for string keys; may be null
  void* mValue;
  KEntry* mNext;  // next entry of the same bucket
  int32 mFlags;
};

// Called for each entry; returning false stops the walk. It must not remove
// entries.
typedef bool (*KSHashIterateProc)(const KEntry* inEntry, void* inParam1, void* inParam2);

class Hashtable : public KSObject {
 public:
  Hashtable();
  ~Hashtable() override;

  Hashtable(const Hashtable&) = delete;
  Hashtable& operator=(const Hashtable&) = delete;

  long NumEntries() const { return mNumEntries; }

  // String keys; inKeyLen < 0 means up to the NUL. Get gives 0 when the key is
  // absent, else the entry's flags plus kHashtableFound, and hands out the
  // stored key and the value (either out-parameter may be null).
  unsigned long Get(const char* inKey, int inKeyLen, const UtilStr** outKey, void** outValue) const;
  // Returns the value, or null when the key was absent or the value was owned
  // (and so deleted).
  void* Remove(const char* inKey, int inKeyLen);

  // Destroys every entry; the bucket count stays.
  void RemoveAll();

  // Walks buckets in index order, each chain front to back. False if inProc
  // returned false.
  bool Iterate(KSHashIterateProc inProc, void* inParam1, void* inParam2) const;

  // The value of the 0-based inN-th entry in Iterate's order, null past the end.
  void* GetNthValue(long inN) const;

 protected:
  // Object keys. put and remove return the old value, or null when there was
  // none or the table owned it (and deleted it).
  void* put(unsigned inHash, const KSObject* inKey, void* inValue, long inFlags);
  unsigned long get(unsigned inHash, const KSObject* inKey, void** outValue) const;
  void* remove(unsigned inHash, const KSObject* inKey);
  // Replaces the user bits of the entry's flags; false if it is absent.
  bool setFlags(unsigned inHash, const KSObject* inKey, long inFlags);

  // Stores inValue under a copy of the key text that the table owns, and
  // hands out that stored key. inOwnValue makes the table delete the value
  // (a KSObject) when it is replaced or removed.
  void* put_str(const char* inKey, int inKeyLen, const UtilStr** outKey, void* inValue,
                bool inOwnValue);

  // Look-ups that also give the link pointing at the entry, for unlinking
  // (outLink may be null), and for strings the bucket (set only when the
  // table has buckets).
  KEntry* fetchEntry(unsigned inHash, const KSObject* inKey, KEntry*** outLink) const;
  KEntry* fetchEntry(const char* inKey, int inKeyLen, KEntry*** outLink, long* outBucket) const;

  KEntry** mTable;
  int32 mTableSize;
  int32 mNumEntries;
  // Passed to the keys' HashCode and CompareTo; for string keys 0 means
  // case-sensitive, anything else case-insensitive.
  int32 mKeyParam;
  // Percent of the bucket count that entries may fill.
  int32 mLoadFactor;

  // Bucket counts, all primes.
  static constexpr int32 sTableSizes[] = {
      19, 97, 397, 797, 3203, 12853, 51437, 205759, 1646237, 3292489, 6584983, 13169977, 52679969};

 private:
  void GrowFor(long inNumEntries);
  void Rehash(int32 inNewSize);
  // Deletes what the entry owns and the entry; returns the value unless it
  // was owned.
  static void* DestroyEntry(KEntry* inEntry);
};
