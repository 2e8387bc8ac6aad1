// The pointer, number, object and string lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/KSRandom.h"
#include "foundation/UtilStr.h"
#include "foundation/XPtrList.h"
#include "foundation/XStrList.h"

namespace {

// Counts its destructions, so that tests can see an owner delete exactly once.
class Counted : public KSObject {
 public:
  explicit Counted(int inId) : mId(inId) {}
  ~Counted() override { sDeleted.push_back(mId); }
  int mId;
  static std::vector<int> sDeleted;
};
std::vector<int> Counted::sDeleted;

// A record whose key alone decides the order, so that equal keys can be told
// apart by identity.
struct Keyed {
  int mKey;
};

long CompareKeys(const void* inA, const void* inB, const void*) {
  return static_cast<const Keyed*>(inB)->mKey - static_cast<const Keyed*>(inA)->mKey;
}

// The items in order, as the list's own Fetch gives them.
template <typename List>
auto Contents(const List& inList) {
  std::vector<decltype(inList.Fetch(1))> result;
  for (long i = 1; i <= inList.Count(); i++) {
    result.push_back(inList.Fetch(i));
  }
  return result;
}

std::vector<std::string> Contents(const XStrList& inList) {
  std::vector<std::string> result;
  for (long i = 1; i <= inList.Count(); i++) {
    result.emplace_back(inList.Fetch(i)->getCStr(), inList.Fetch(i)->length());
  }
  return result;
}

}  // namespace

TEST(XPtrList, SortedInsertGoesBeforeEquals) {
  XLongList numbers(ks_Sorted);
  EXPECT_EQ(1, numbers.Add(5));
  EXPECT_EQ(1, numbers.Add(1));
  EXPECT_EQ(2, numbers.Add(3));
  EXPECT_EQ(1, numbers.Add(-7));
  EXPECT_EQ((std::vector<int32>{-7, 1, 3, 5}), Contents(numbers));

  Keyed first{2}, second{2}, third{2}, low{1}, high{3};
  XPtrList list(ks_OrderImportant);
  list.SetCompareProc(CompareKeys, nullptr);
  list.SetListOrdering(ks_Sorted);
  list.Add(&high);
  list.Add(&first);
  list.Add(&low);
  EXPECT_EQ(2, list.Add(&second));
  EXPECT_EQ(2, list.Add(&third));
  EXPECT_EQ((std::vector<void*>{&low, &third, &second, &first, &high}), Contents(list));
  // The exact pointer is found within its run of equals, and only there.
  EXPECT_EQ(4, list.FindIndexOf(&first));
  EXPECT_EQ(1, list.FindIndexOf(&low));
  Keyed stranger{2};
  EXPECT_EQ(0, list.FindIndexOf(&stranger));

  // Setting a compare proc re-sorts a sorted list; clearing it unsorts it.
  XPtrList resorted(ks_Sorted);
  for (Keyed* item : {&high, &low, &first}) {
    resorted.Add(item);
  }
  resorted.SetCompareProc(CompareKeys, nullptr);
  EXPECT_EQ((std::vector<void*>{&low, &first, &high}), Contents(resorted));
  resorted.SetCompareProc(nullptr, nullptr);
  EXPECT_EQ(ks_OrderNotImportant, resorted.GetListOrdering());
  EXPECT_EQ(4, resorted.Add(&second));
}

TEST(XPtrList, RemovalClosesTheHoleByOrdering) {
  int a, b, c, d;
  XPtrList loose(ks_OrderNotImportant);
  XPtrList kept(ks_OrderImportant);
  for (int* item : {&a, &b, &c, &d}) {
    loose.Add(item);
    kept.Add(item);
  }
  EXPECT_TRUE(loose.RemoveElement(2));
  EXPECT_EQ((std::vector<void*>{&a, &d, &c}), Contents(loose));
  EXPECT_EQ(2, kept.Remove(&b));
  EXPECT_EQ((std::vector<void*>{&a, &c, &d}), Contents(kept));

  kept.Add(&b, 99);  // clamped to the end
  kept.Add(&b, -3);  // clamped to the front
  EXPECT_EQ((std::vector<void*>{&b, &a, &c, &d, &b}), Contents(kept));
  void* item = &a;
  EXPECT_FALSE(kept.Fetch(6, &item));
  EXPECT_EQ(nullptr, item);
  kept.RemoveElement(5);
  EXPECT_EQ(1, kept.Remove(&b));
  EXPECT_EQ(0, kept.Remove(&b));

  EXPECT_FALSE(kept.RemoveElement(0));
  EXPECT_FALSE(kept.RemoveElement(4));
}

TEST(XPtrList, HeapSortOrdersEveryArrangement) {
  uint32 seed = 12345;
  for (int n = 0; n <= 40; n++) {
    for (int round = 0; round < 5; round++) {
      XLongList list(ks_OrderImportant);
      std::vector<int32> expected;
      for (int i = 0; i < n; i++) {
        // Few distinct values, so that runs of equals are common.
        int32 value = int32(KSRndInt(&seed, -6, 6)) * 1000003;
        list.Add(value);
        expected.push_back(value);
      }
      list.SetListOrdering(ks_Sorted);
      std::sort(expected.begin(), expected.end());
      ASSERT_EQ(expected, Contents(list)) << "n=" << n;
    }
  }

  // Numbers far apart still order correctly.
  XLongList extremes(ks_OrderImportant);
  for (int32 value : {INT32_MAX, -1, INT32_MIN, 0, 1}) {
    extremes.Add(value);
  }
  extremes.SetListOrdering(ks_Sorted);
  EXPECT_EQ((std::vector<int32>{INT32_MIN, -1, 0, 1, INT32_MAX}), Contents(extremes));
}

TEST(XPtrList, ObjectListDeletesEachElementOnce) {
  Counted::sDeleted.clear();
  Counted* kept = new Counted(5);
  {
    XObjectList list(ks_OrderNotImportant);
    for (int id = 1; id <= 4; id++) {
      list.Add(new Counted(id));
    }
    list.Add(nullptr);  // empty slots are allowed and skipped
    list.Add(kept);

    EXPECT_TRUE(list.RemoveElement(2));  // the last element moves into the hole
    EXPECT_EQ(std::vector<int>{2}, Counted::sDeleted);
    EXPECT_EQ(kept, list.Fetch(2));
    EXPECT_TRUE(list.RemoveElement(list.Count()));  // the null slot
    EXPECT_EQ(std::vector<int>{2}, Counted::sDeleted);
    EXPECT_EQ(1, list.Remove(list.Fetch(1)));
    EXPECT_EQ((std::vector<int>{2, 1}), Counted::sDeleted);

    list.RemoveAll();
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ(5u, Counted::sDeleted.size());

    list.Add(new Counted(6));
    list.Add(new Counted(7));
  }
  EXPECT_EQ(7u, Counted::sDeleted.size());
  std::vector<int> all = Counted::sDeleted;
  std::sort(all.begin(), all.end());
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6, 7}), all);
}

TEST(XPtrList, LongListIndexingGrowsWithZeros) {
  XLongList list;
  list.Add(9);
  list[4] = -17;
  EXPECT_EQ((std::vector<int32>{9, 0, 0, 0, -17}), Contents(list));
  list[1] += 3;
  EXPECT_EQ(3, list.Fetch(2));
  // A number written through [] is found like one that was added.
  EXPECT_EQ(5, list.FindIndexOf(-17));
  EXPECT_EQ(5, list.Remove(-17));

  list[-1] = 42;
  EXPECT_EQ(0, list[-2]);
  EXPECT_EQ(4, list.Count());
}

// The string lists as the toolbar keeps names: sorted and unique without
// regard to case, found by a binary search; and in the order added.
TEST(XStrList, SortedWithoutCaseOrInTheOrderAdded) {
  XStrList names(kStrSorted_CaseInsensitive, kStrNoDupes_CaseInsensitive);
  for (const char* name : {"pear", "Apple", "fig", "apple", "kiwi", "Fig", "banana", "date"}) {
    names.Add(name);
  }
  EXPECT_EQ((std::vector<std::string>{"Apple", "banana", "date", "fig", "kiwi", "pear"}),
            Contents(names));
  for (long i = 1; i <= names.Count(); i++) {
    EXPECT_EQ(i, names.FindString(names.Fetch(i)->getCStr(), -1, false));
  }
  EXPECT_EQ(4, names.FindString("FIG", -1, false));
  EXPECT_EQ(4, names.FindString("figure", 3, false));
  EXPECT_EQ(0, names.FindString("zzz", -1, false));
  EXPECT_EQ(0, names.Add(UtilStr("KIWI")));

  XStrList added;
  for (const char* word : {"c", "B", "a", "B"}) {
    added.Add(word);
  }
  EXPECT_EQ((std::vector<std::string>{"c", "B", "a", "B"}), Contents(added));
  UtilStr copy("stale");
  EXPECT_TRUE(added.Fetch(2, &copy));
  EXPECT_TRUE(copy == "B");
  EXPECT_FALSE(added.Fetch(9, &copy));
  EXPECT_EQ(0, copy.length());
  added.RemoveAll();
  EXPECT_EQ(0, added.FindString("a", -1, false));
}
