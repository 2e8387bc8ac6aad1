// A list of owned strings with optional sorting and duplicate rejection.
#pragma once

#include "foundation/AbstractStrList.h"

enum StrListDupePolicy : uint8 {
  kStrDupesAllowed = 0,
  kStrNoDupes_CaseInsensitive = 1,
  kStrNoDupes_CaseSensitive = 2,
};

class XStrList : public AbstractStrList {
 public:
  explicit XStrList(StrListOrdering inOrder = kStrOrderImportant,
                    StrListDupePolicy inDupes = kStrDupesAllowed);

  // Adds a copy of the string and returns its index; a sorted list inserts
  // it before its equals. Returns 0 and adds nothing when the duplicate
  // policy rejects it.
  long Add(const UtilStr& inStr);
  long Add(const char* inStr, long inLen = -1);

  // Orders two UtilStr items; case-sensitive only when the list (inList) is
  // sorted case-sensitively.
  static long sStrComparitor(const void* inA, const void* inB, const void* inList);

 protected:
  StrListDupePolicy mDupePolicy;

 private:
  bool IsRejectedDupe(const char* inStr, long inLen) const;
};
