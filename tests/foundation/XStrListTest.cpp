#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/UtilStr.h"
#include "foundation/XStrList.h"

namespace {

std::vector<std::string> Contents(const XStrList& inList) {
  std::vector<std::string> result;
  for (long i = 1; i <= inList.Count(); i++) {
    result.emplace_back(inList.Fetch(i)->getCStr(), inList.Fetch(i)->length());
  }
  return result;
}

}  // namespace

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
  EXPECT_EQ(0, words.FindString("cherry", -1, true));
  EXPECT_EQ(0, words.FindString("zzz", -1, true));
  EXPECT_EQ(6, words.FindString("figure", 3, true));
  // A case-insensitive search cannot use a case-sensitive order: linear scan.
  EXPECT_EQ(2, words.FindString("FIG", -1, false));
  EXPECT_EQ(8, words.FindString("PEAR", -1, false));

  XStrList empty(kStrSorted_CaseSensitive, kStrDupesAllowed);
  EXPECT_EQ(0, empty.FindString("a", -1, true));
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
  EXPECT_EQ(3, list.Count());
  list.RemoveAll();
  EXPECT_EQ(0, list.Count());
  EXPECT_EQ(nullptr, list.Fetch(1));
}
