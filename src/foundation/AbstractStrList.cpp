#include "foundation/AbstractStrList.h"

#include <cstring>

#include "foundation/UtilStr.h"

namespace {

bool SameText(const char* inStr, long inLen, const UtilStr* inItem, bool inCaseSensitive) {
  return UtilStr::compare(inStr, int(inLen), inItem->getCStr(), inItem->length(),
                          inCaseSensitive) == 0;
}

}  // namespace

AbstractStrAccess::~AbstractStrAccess() {}

bool AbstractStrAccess::Fetch(long inIndex, UtilStr* outStr) const {
  if (!outStr) {
    return false;
  }
  const UtilStr* item = Fetch(inIndex);
  if (!item) {
    outStr->Clear();
    return false;
  }
  outStr->Assign(*item);
  return true;
}

long AbstractStrAccess::BinarySearch(const char* inStr, long inLen, bool inCaseSensitive) const {
  long lo = 0;
  long hi = Count() - 1;
  while (lo <= hi) {
    long mid = (lo + hi) / 2;
    const UtilStr* item = Fetch(mid + 1);
    if (UtilStr::compare(inStr, int(inLen), item->getCStr(), item->length(), inCaseSensitive) < 1) {
      hi = mid - 1;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

long AbstractStrAccess::FindString(const char* inStr, long inLen, bool inCaseSensitive) const {
  if (!inStr || Count() == 0) {
    return 0;
  }
  if (inLen < 0) {
    inLen = long(strlen(inStr));
  }
  bool sortedAsSearched = inCaseSensitive ? mStrListOrder == kStrSorted_CaseSensitive
                                          : mStrListOrder == kStrSorted_CaseInsensitive;
  if (sortedAsSearched) {
    long index = BinarySearch(inStr, inLen, inCaseSensitive) + 1;
    const UtilStr* item = Fetch(index);
    return item && SameText(inStr, inLen, item, inCaseSensitive) ? index : 0;
  }
  if (mStrListOrder == kStrSorted_CaseInsensitive) {
    return FindInCaseInsensitiveRun(inStr, inLen);
  }
  return FindLinear(inStr, inLen, inCaseSensitive);
}

// A case-sensitive search in a list sorted without regard to case: the exact
// match, if any, lies in the run of strings that equal inStr ignoring case.
long AbstractStrAccess::FindInCaseInsensitiveRun(const char* inStr, long inLen) const {
  long count = Count();
  for (long i = BinarySearch(inStr, inLen, false) + 1; i <= count; i++) {
    const UtilStr* item = Fetch(i);
    if (!SameText(inStr, inLen, item, false)) {
      break;
    }
    if (SameText(inStr, inLen, item, true)) {
      return i;
    }
  }
  return 0;
}

long AbstractStrAccess::FindLinear(const char* inStr, long inLen, bool inCaseSensitive) const {
  long count = Count();
  for (long i = 1; i <= count; i++) {
    if (SameText(inStr, inLen, Fetch(i), inCaseSensitive)) {
      return i;
    }
  }
  return 0;
}

AbstractStrList::AbstractStrList(StrListOrdering inOrder, KSCompareProc inProc)
    : AbstractStrAccess(inOrder) {
  mItems.SetCompareProc(inProc, this);
  ApplyOrderingToItems();
}

const UtilStr* AbstractStrList::Fetch(long inIndex) const {
  return static_cast<const UtilStr*>(mItems.Fetch(inIndex));
}

void AbstractStrList::SetListOrdering(StrListOrdering inOrder) {
  AbstractStrAccess::SetListOrdering(inOrder);
  ApplyOrderingToItems();
}

void AbstractStrList::ApplyOrderingToItems() {
  switch (mStrListOrder) {
    case kStrOrderNotImportant:
      mItems.SetListOrdering(ks_OrderNotImportant);
      break;
    case kStrOrderImportant:
      mItems.SetListOrdering(ks_OrderImportant);
      break;
    case kStrSorted_CaseSensitive:
    case kStrSorted_CaseInsensitive:
      mItems.SetListOrdering(ks_Sorted);
      break;
  }
}

void AbstractStrList::Shuffle() {
  SetListOrdering(kStrOrderImportant);
  mItems.Shuffle();
}
