// MemFileSysDir: the name table of one folder of a MemFileSys, mapping item
// names to item IDs. Where a file system lets several items share a name,
// that name's entry holds a MemFileSysDupes with all of their IDs.
#pragma once

#include "files/KSIDTable.h"
#include "foundation/Hashtable.h"
#include "foundation/KSObject.h"

class UtilStr;
class XLongList;

// The IDs of the items that share one name (each ID is its own key and value).
class MemFileSysDupes : public KSIDTable {
 public:
  void Add(long inID) { Put(inID, IDToValue(inID), false); }
  // All the IDs, ascending, appended to outIDs.
  void AppendIDs(XLongList* outIDs) const;
};

class MemFileSysDir : public KSObject {
 public:
  explicit MemFileSysDir(bool inCaseSensitive);

  // Files inID under inName (inLen < 0: up to the NUL) and returns the name
  // as the table keeps it; items sharing a name share that one string.
  const UtilStr* Add(const char* inName, long inLen, long inID);
  // Takes inID off the entry of inName.
  void Remove(const char* inName, long inLen, long inID);
  // How many items bear inName; *outFirstID receives the lowest of their IDs
  // (0 when there is none).
  long Lookup(const char* inName, long inLen, long* outFirstID) const;
  // Appends the IDs of the items called inName, ascending.
  void AppendIDs(const char* inName, long inLen, XLongList* outIDs) const;
  // Appends every item ID in table order (the IDs of a shared name ascending).
  void AppendAllIDs(XLongList* outIDs) const;
  bool IsEmpty() const { return mDir.NumEntries() == 0; }

 private:
  class NameTable : public Hashtable {
   public:
    explicit NameTable(bool inCaseSensitive) { mKeyParam = inCaseSensitive ? 0 : 1; }
    using Hashtable::fetchEntry;
    using Hashtable::put_str;
  };

  NameTable mDir;
};
