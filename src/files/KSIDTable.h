// KSIDTable: a Hashtable keyed by item ID. The ID itself is the hash and the
// entries carry no key object, so IDs are matched by number alone.
#pragma once

#include <cstdint>

#include "foundation/Hashtable.h"

class KSIDTable : public Hashtable {
 public:
  // Stores inValue under inID, replacing the value there (an owned one is
  // deleted). inOwnValue makes the table delete inValue, a KSObject, later.
  void Put(long inID, void* inValue, bool inOwnValue) {
    put(uint32(inID), nullptr, inValue, inOwnValue ? kKEntryOwnsValue : 0);
  }
  // The value stored under inID, or null.
  void* Lookup(long inID) const {
    void* value = nullptr;
    get(uint32(inID), nullptr, &value);
    return value;
  }
  bool Contains(long inID) const { return get(uint32(inID), nullptr, nullptr) != 0; }
  // Removes the entry; an owned value is deleted.
  void Erase(long inID) { remove(uint32(inID), nullptr); }

  // IDs stored as values.
  static void* IDToValue(long inID) { return reinterpret_cast<void*>(intptr_t(inID)); }
  static long ValueToID(const void* inValue) { return long(reinterpret_cast<intptr_t>(inValue)); }
};
