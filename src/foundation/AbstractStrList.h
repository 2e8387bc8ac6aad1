// Indexed lists of strings (1-based, 0 means "none"): read access with
// ordered search, and a list that owns its strings.
#pragma once

#include "foundation/KSTypes.h"
#include "foundation/XPtrList.h"

class UtilStr;

// Note that 0 and 1 mean the opposite of ks_OrderImportant/ks_OrderNotImportant.
enum StrListOrdering : uint8 {
  kStrOrderNotImportant = 0,
  kStrOrderImportant = 1,
  kStrSorted_CaseSensitive = 2,
  kStrSorted_CaseInsensitive = 3,
};

class AbstractStrAccess {
 public:
  explicit AbstractStrAccess(StrListOrdering inOrder) : mStrListOrder(inOrder) {}
  virtual ~AbstractStrAccess();

  // Index of the first string equal to inStr (inLen < 0: up to the NUL), 0 if
  // none. Uses a binary search when the list is sorted in a way that allows it.
  virtual long FindString(const char* inStr, long inLen, bool inCaseSensitive) const;
  // Null outside 1..count.
  virtual const UtilStr* Fetch(long inIndex) const = 0;
  virtual long Count() const = 0;
  virtual void SetListOrdering(StrListOrdering inOrder) { mStrListOrder = inOrder; }
  virtual void Shuffle() = 0;
  virtual void RemoveAll() = 0;
  virtual bool RemoveElement(long inIndex) = 0;

  // Copies string inIndex into outStr, or empties outStr when there is none.
  bool Fetch(long inIndex, UtilStr* outStr) const;

  StrListOrdering GetListOrdering() const { return mStrListOrder; }

 protected:
  // 0-based index of the first string not less than inStr.
  long BinarySearch(const char* inStr, long inLen, bool inCaseSensitive) const;

  StrListOrdering mStrListOrder;

 private:
  long FindInCaseInsensitiveRun(const char* inStr, long inLen) const;
  long FindLinear(const char* inStr, long inLen, bool inCaseSensitive) const;
};

class AbstractStrList : public AbstractStrAccess {
 public:
  // inProc orders the owned UtilStr items; it receives this list as its param.
  AbstractStrList(StrListOrdering inOrder, KSCompareProc inProc);

  using AbstractStrAccess::Fetch;
  const UtilStr* Fetch(long inIndex) const override;
  long Count() const override { return mItems.Count(); }
  void SetListOrdering(StrListOrdering inOrder) override;
  // The list keeps the new order: it becomes kStrOrderImportant.
  void Shuffle() override;
  void RemoveAll() override { mItems.RemoveAll(); }
  bool RemoveElement(long inIndex) override { return mItems.RemoveElement(inIndex); }

 protected:
  XObjectList mItems;  // of UtilStr, owned

 private:
  void ApplyOrderingToItems();
};
