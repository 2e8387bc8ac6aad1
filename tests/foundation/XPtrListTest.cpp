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

std::vector<void*> Items(const XPtrList& inList) {
  std::vector<void*> result;
  for (long i = 1; i <= inList.Count(); i++) {
    result.push_back(inList.Fetch(i));
  }
  return result;
}

std::vector<int32> Contents(const XLongList& inList) {
  std::vector<int32> result;
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
  EXPECT_EQ((std::vector<void*>{&low, &third, &second, &first, &high}), Items(list));
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
  EXPECT_EQ((std::vector<void*>{&low, &first, &high}), Items(resorted));
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
  EXPECT_EQ((std::vector<void*>{&a, &d, &c}), Items(loose));
  EXPECT_EQ(2, kept.Remove(&b));
  EXPECT_EQ((std::vector<void*>{&a, &c, &d}), Items(kept));

  kept.Add(&b, 99);  // clamped to the end
  kept.Add(&b, -3);  // clamped to the front
  EXPECT_EQ((std::vector<void*>{&b, &a, &c, &d, &b}), Items(kept));
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

TEST(XPtrList, ShuffleKeepsTheElements) {
  XLongList list(ks_Sorted);
  for (int32 i = 0; i < 200; i++) {
    list.Add(i);
  }
  std::vector<int32> sorted = Contents(list);
  list.Shuffle();
  EXPECT_NE(ks_Sorted, list.GetListOrdering());
  std::vector<int32> contents = Contents(list);
  EXPECT_TRUE(std::is_permutation(contents.begin(), contents.end(), sorted.begin(), sorted.end()));
  EXPECT_NE(sorted, contents);
}

TEST(XStrList, DuplicatePolicies) {
  XStrList noCase(kStrSorted_CaseInsensitive, kStrNoDupes_CaseInsensitive);
  EXPECT_EQ(1, noCase.Add("Alpha"));
  EXPECT_EQ(0, noCase.Add("alpha"));
  EXPECT_EQ(1, noCase.Count());

  // Case-sensitive rejection in a list sorted without case: the exact match
  // must be found anywhere in the run of case-insensitive equals.
  XStrList exact(kStrSorted_CaseInsensitive, kStrNoDupes_CaseSensitive);
  EXPECT_EQ(1, exact.Add("abc"));
  EXPECT_EQ(1, exact.Add("ABC"));
  EXPECT_EQ(1, exact.Add("Abc"));
  EXPECT_EQ(0, exact.Add("abc"));
  EXPECT_EQ(0, exact.Add(UtilStr("ABC")));
  EXPECT_EQ(3, exact.Count());

  XStrList unsorted(kStrOrderImportant, kStrNoDupes_CaseSensitive);
  EXPECT_EQ(1, unsorted.Add("x"));
  EXPECT_EQ(2, unsorted.Add("X"));
  EXPECT_EQ(0, unsorted.Add("xyz", 1));
  EXPECT_EQ(3, unsorted.Add("xyz", 2));
  EXPECT_EQ((std::vector<std::string>{"x", "X", "xy"}), Contents(unsorted));
}

TEST(XStrList, SortedInsertAndTheThreeSearchPaths) {
  XStrList list(kStrSorted_CaseInsensitive, kStrDupesAllowed);
  list.Add("abc");
  EXPECT_EQ(1, list.Add("ABC"));
  EXPECT_EQ((std::vector<std::string>{"ABC", "abc"}), Contents(list));
  // Case-insensitive search in a case-insensitive list: binary search.
  EXPECT_EQ(1, list.FindString("aBc", -1, false));
  // Case-sensitive search: walk the run of case-insensitive equals.
  EXPECT_EQ(2, list.FindString("abc", -1, true));
  EXPECT_EQ(1, list.FindString("ABC", -1, true));
  EXPECT_EQ(0, list.FindString("aBc", -1, true));
  EXPECT_EQ(0, list.FindString(nullptr, 0, true));
  // The walk starts where a case-insensitive search puts it.
  XStrList mixed(kStrSorted_CaseInsensitive, kStrDupesAllowed);
  for (const char* word : {"c", "B", "a"}) {
    mixed.Add(word);
  }
  EXPECT_EQ(2, mixed.FindString("B", -1, true));

  XStrList words(kStrSorted_CaseSensitive, kStrDupesAllowed);
  const char* input[] = {"pear", "Apple", "fig", "apple", "kiwi", "Fig", "banana", "date"};
  for (const char* word : input) {
    words.Add(word);
  }
  EXPECT_EQ(
      (std::vector<std::string>{"Apple", "Fig", "apple", "banana", "date", "fig", "kiwi", "pear"}),
      Contents(words));
  for (long i = 1; i <= words.Count(); i++) {
    EXPECT_EQ(i, words.FindString(words.Fetch(i)->getCStr(), -1, true));
  }
  EXPECT_EQ(0, words.FindString("zzz", -1, true));
  EXPECT_EQ(6, words.FindString("figure", 3, true));
  // A case-insensitive search cannot use a case-sensitive order: linear scan.
  EXPECT_EQ(2, words.FindString("FIG", -1, false));
  EXPECT_EQ(8, words.FindString("PEAR", -1, false));
  words.RemoveAll();
  EXPECT_EQ(0, words.FindString("a", -1, true));
}

TEST(XStrList, OrderingChangesAndFetchCopies) {
  XStrList list(kStrOrderImportant, kStrDupesAllowed);
  for (const char* word : {"c", "B", "a", "b"}) {
    list.Add(word);
  }
  list.SetListOrdering(kStrSorted_CaseSensitive);
  EXPECT_EQ((std::vector<std::string>{"B", "a", "b", "c"}), Contents(list));
  list.SetListOrdering(kStrSorted_CaseInsensitive);
  EXPECT_EQ("a", Contents(list)[0]);
  EXPECT_EQ("c", Contents(list)[3]);

  // Removal in kStrOrderNotImportant moves the last string into the hole.
  list.SetListOrdering(kStrOrderNotImportant);
  EXPECT_TRUE(list.RemoveElement(1));
  EXPECT_EQ("c", Contents(list)[0]);
  EXPECT_FALSE(list.RemoveElement(4));

  UtilStr copy("stale");
  EXPECT_TRUE(list.Fetch(1, &copy));
  EXPECT_TRUE(copy == "c");
  EXPECT_FALSE(list.Fetch(9, &copy));
  EXPECT_EQ(0, copy.length());

  list.Shuffle();
  EXPECT_EQ(kStrOrderImportant, list.GetListOrdering());
}
