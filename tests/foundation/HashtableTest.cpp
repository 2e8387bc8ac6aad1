#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "foundation/Hashtable.h"
#include "foundation/UtilStr.h"

namespace {

class TestTable : public Hashtable {
 public:
  using Hashtable::get;
  using Hashtable::put;
  using Hashtable::put_str;
  using Hashtable::remove;
  long Buckets() const { return mTableSize; }
  void SetKeyParam(int32 inParam) { mKeyParam = inParam; }
};

// A key or value that counts its destructions; keys with equal ids are equal.
class Counted : public KSObject {
 public:
  explicit Counted(int inId) : mId(inId) {}
  ~Counted() override { sDeleted.push_back(mId); }
  uint32 HashCode(long) const override { return uint32(mId); }
  int32 CompareTo(const KSObject* inObj, long) const override {
    return static_cast<const Counted*>(inObj)->mId - mId;
  }
  int mId;
  static std::vector<int> sDeleted;
};
std::vector<int> Counted::sDeleted;

constexpr long kOwnBoth = kKEntryOwnsKey | kKEntryOwnsValue;

bool Collect(const KEntry* inEntry, void* ioValues, void*) {
  static_cast<std::vector<void*>*>(ioValues)->push_back(inEntry->mValue);
  return true;
}

}  // namespace

TEST(Hashtable, OwnedKeysAndValuesAreDeletedOnce) {
  // Objects the table never owns outlive it.
  Counted loose(200), key2(2), probe(1), key4(4);
  Counted::sDeleted.clear();
  {
    TestTable table;
    Counted* key1 = new Counted(1);
    EXPECT_EQ(nullptr, table.put(1, key1, new Counted(101), kOwnBoth));

    // Replacing an owned value deletes it and gives back null; the owned key
    // is replaced by the new one.
    Counted* key1b = new Counted(1);
    EXPECT_EQ(nullptr, table.put(1, key1b, new Counted(102), kOwnBoth));
    std::vector<int> expected{101, 1};
    EXPECT_EQ(expected, Counted::sDeleted);

    // Storing the same owned key and value again keeps them alive.
    void* value = nullptr;
    table.get(1, key1b, &value);
    EXPECT_EQ(nullptr, table.put(1, key1b, value, kOwnBoth));
    EXPECT_EQ(expected, Counted::sDeleted);

    // A value the table does not own comes back to the caller.
    table.put(2, &key2, &loose, 0);
    EXPECT_EQ(&loose, table.put(2, &key2, &loose, 0));
    EXPECT_EQ(&loose, table.remove(2, &key2));
    EXPECT_EQ(expected, Counted::sDeleted);

    // Removing an owning entry deletes key and value.
    EXPECT_EQ(nullptr, table.remove(1, &probe));
    std::sort(Counted::sDeleted.begin(), Counted::sDeleted.end());
    EXPECT_EQ((std::vector<int>{1, 1, 101, 102}), Counted::sDeleted);
    EXPECT_EQ(0, table.NumEntries());

    table.put(3, new Counted(3), new Counted(103), kOwnBoth);
    table.put(4, &key4, new Counted(104), kKEntryOwnsValue);
    Counted::sDeleted.clear();
    table.RemoveAll();
    std::sort(Counted::sDeleted.begin(), Counted::sDeleted.end());
    EXPECT_EQ((std::vector<int>{3, 103, 104}), Counted::sDeleted);
    EXPECT_EQ(19, table.Buckets());

    Counted::sDeleted.clear();
    table.put(5, new Counted(5), new Counted(105), kOwnBoth);
  }
  std::sort(Counted::sDeleted.begin(), Counted::sDeleted.end());
  EXPECT_EQ((std::vector<int>{5, 105}), Counted::sDeleted);
}

TEST(Hashtable, ObjectLookup) {
  TestTable table;
  Counted key(7), same(7), other(8);
  int value = 0;
  EXPECT_EQ(0u, table.get(7, &key, nullptr));
  table.put(7, &key, &value, 0);
  void* found = nullptr;
  EXPECT_EQ(0x10000000u, table.get(7, &same, &found));
  EXPECT_EQ(&value, found);
  // A different key with the same hash is a different entry; so is an equal
  // key under another hash.
  EXPECT_EQ(0u, table.get(7, &other, nullptr));
  EXPECT_EQ(0u, table.get(8, &key, nullptr));
  // A null key matches on the hash alone; an entry's flags come back with it.
  EXPECT_NE(0u, table.get(7, nullptr, nullptr));
  table.put(9, nullptr, &value, kKEntryOwnsKey | 0x12);
  EXPECT_EQ(0x14000012u, table.get(9, nullptr, nullptr));
}

TEST(Hashtable, GrowingKeepsEveryEntry) {
  TestTable table;
  std::vector<Counted*> keys;
  long buckets = 0;
  for (int n = 1; n <= 1300; n++) {
    keys.push_back(new Counted(n * 7919));
    table.put(uint32(n * 7919), keys.back(), keys.back(), kKEntryOwnsValue);
    if (n == 1) {
      buckets = table.Buckets();
    }
  }
  EXPECT_GT(table.Buckets(), buckets * 10) << "the table grew with its entries";
  for (Counted* key : keys) {
    void* value = nullptr;
    ASSERT_NE(0u, table.get(uint32(key->mId), key, &value));
    ASSERT_EQ(key, value);
  }
}

TEST(Hashtable, StringKeys) {
  TestTable table;
  const UtilStr* stored = nullptr;
  int one = 1, two = 2;
  EXPECT_EQ(nullptr, table.put_str("Key", -1, &stored, &one, false));
  ASSERT_NE(nullptr, stored);
  EXPECT_TRUE(*stored == "Key");

  void* value = nullptr;
  const UtilStr* key = nullptr;
  EXPECT_EQ(0u, table.Get("key", -1, &key, &value));
  EXPECT_EQ(nullptr, value);
  EXPECT_EQ(kHashtableFound | kKEntryOwnsKey, table.Get("Keyboard", 3, &key, &value));
  EXPECT_EQ(stored, key);
  EXPECT_EQ(&one, value);

  // Replacing hands out the stored key and returns the old value.
  const UtilStr* again = nullptr;
  EXPECT_EQ(&one, table.put_str("Key", 3, &again, &two, false));
  EXPECT_EQ(stored, again);
  EXPECT_EQ(kHashtableFound | kKEntryOwnsKey, table.Get("Key", -1, nullptr, &value));
  EXPECT_EQ(&two, value);
  EXPECT_EQ(1, table.NumEntries());

  EXPECT_EQ(nullptr, table.Remove("KEY", -1));
  EXPECT_EQ(&two, table.Remove("Key", -1));
  EXPECT_EQ(0, table.NumEntries());

  // Owned values of string entries are deleted on replacement and removal.
  Counted::sDeleted.clear();
  table.put_str("v", 1, nullptr, new Counted(1), true);
  EXPECT_EQ(nullptr, table.put_str("v", 1, nullptr, new Counted(2), true));
  EXPECT_EQ(std::vector<int>{1}, Counted::sDeleted);
  EXPECT_EQ(nullptr, table.Remove("v", -1));
  EXPECT_EQ((std::vector<int>{1, 2}), Counted::sDeleted);

  TestTable noCase;
  noCase.SetKeyParam(1);
  noCase.put_str("KEY", -1, nullptr, &one, false);
  EXPECT_NE(0u, noCase.Get("key", -1, &key, &value));
  EXPECT_TRUE(*key == "KEY");
  EXPECT_EQ(&one, noCase.Remove("kEy", -1));
}

// The n-th value is the n-th the iteration visits, whatever the buckets.
TEST(Hashtable, IterationAndNthValueAgree) {
  TestTable table;
  int a, b, c;
  table.put(3, nullptr, &c, 0);
  table.put(1, nullptr, &a, 0);
  table.put(20, nullptr, &b, 0);  // shares a bucket with 1
  std::vector<void*> values;
  EXPECT_TRUE(table.Iterate(Collect, &values, nullptr));
  EXPECT_TRUE(
      std::is_permutation(values.begin(), values.end(), std::vector<void*>{&a, &b, &c}.begin()));
  for (long n = 0; n < 3; n++) {
    EXPECT_EQ(values[n], table.GetNthValue(n));
  }
  EXPECT_EQ(nullptr, table.GetNthValue(3));
  EXPECT_EQ(nullptr, table.GetNthValue(-1));
}
