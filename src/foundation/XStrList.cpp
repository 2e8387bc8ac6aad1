#include "foundation/XStrList.h"

#include "foundation/UtilStr.h"

XStrList::XStrList(StrListOrdering inOrder, StrListDupePolicy inDupes)
    : AbstractStrList(inOrder, sStrComparitor), mDupePolicy(inDupes) {}

long XStrList::sStrComparitor(const void* inA, const void* inB, const void* inList) {
  const UtilStr* a = static_cast<const UtilStr*>(inA);
  const UtilStr* b = static_cast<const UtilStr*>(inB);
  const AbstractStrList* list = static_cast<const AbstractStrList*>(inList);
  bool caseSensitive = list->GetListOrdering() == kStrSorted_CaseSensitive;
  return UtilStr::compare(b->getCStr(), b->length(), a->getCStr(), a->length(), caseSensitive);
}

bool XStrList::IsRejectedDupe(const char* inStr, long inLen) const {
  if (mDupePolicy == kStrDupesAllowed) {
    return false;
  }
  return FindString(inStr, inLen, mDupePolicy == kStrNoDupes_CaseSensitive) != 0;
}

long XStrList::Add(const UtilStr& inStr) {
  if (IsRejectedDupe(inStr.getCStr(), inStr.length())) {
    return 0;
  }
  return mItems.Add(new UtilStr(inStr));
}

long XStrList::Add(const char* inStr, long inLen) {
  if (IsRejectedDupe(inStr, inLen)) {
    return 0;
  }
  return mItems.Add(new UtilStr(inStr, inLen));
}
