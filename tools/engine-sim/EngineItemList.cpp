#include "engine-sim/EngineItemList.h"

#include <algorithm>

void EngineItemList::SetNames(const EngineNames& inNames) {
  std::vector<Item> items;
  long current = 0;
  for (const UtilStr& name : inNames) {
    long old = Find(name);
    Item item = {name, old ? IsEnabled(old) : true};
    items.push_back(item);
    if (old && old == mCurrent && current == 0) {
      current = long(items.size());
    }
  }
  mItems.swap(items);
  mCurrent = current;
  mShowOrder.clear();
  for (long i = 1; i <= Count(); i++) {
    mShowOrder.push_back(i);
  }
  mShowPos = 0;
}

long EngineItemList::Find(const UtilStr& inName) const {
  for (size_t i = 0; i < mItems.size(); i++) {
    if (mItems[i].mName.Equals(inName, true)) {
      return long(i) + 1;
    }
  }
  for (size_t i = 0; i < mItems.size(); i++) {
    if (mItems[i].mName.Equals(inName, false)) {
      return long(i) + 1;
    }
  }
  return 0;
}

void EngineItemList::SetAllEnabled(bool inOn) {
  for (Item& item : mItems) {
    item.mEnabled = inOn;
  }
}

long EngineItemList::CountEnabled() const {
  return long(std::count_if(mItems.begin(), mItems.end(),
                            [](const Item& inItem) { return inItem.mEnabled; }));
}

long EngineItemList::Step(int inDirection) const {
  long count = Count();
  if (count == 0) {
    return 0;
  }
  // From no current item, "next" starts at the first item and "previous" at
  // the last one.
  long index = mCurrent ? mCurrent : (inDirection > 0 ? count : 1);
  for (long tries = 0; tries < count; tries++) {
    index = (index - 1 + (inDirection > 0 ? 1 : count - 1)) % count + 1;
    if (IsEnabled(index)) {
      return index;
    }
  }
  return 0;
}

void EngineItemList::Shuffle(KSRandom* ioRandom) {
  // Fisher-Yates.
  for (size_t i = mShowOrder.size(); i > 1; i--) {
    size_t j = size_t(ioRandom->KSRndInt(0, long(i) - 1));
    std::swap(mShowOrder[i - 1], mShowOrder[j]);
  }
  mShowPos = mShowOrder.empty() ? 0 : mShowOrder.size() - 1;
}

long EngineItemList::NextInShow() {
  size_t count = mShowOrder.size();
  long fallback = 0;
  for (size_t tries = 0; tries < count; tries++) {
    mShowPos = (mShowPos + 1) % count;
    long index = mShowOrder[mShowPos];
    if (!IsEnabled(index)) {
      continue;
    }
    if (index != mCurrent) {
      return index;
    }
    fallback = index;
  }
  return fallback;
}

long EngineItemList::RandomEnabled(KSRandom* ioRandom) const {
  long enabled = CountEnabled();
  if (enabled == 0) {
    return 0;
  }
  long pick = ioRandom->KSRndInt(1, enabled);
  for (long i = 1; i <= Count(); i++) {
    if (IsEnabled(i) && --pick == 0) {
      return i;
    }
  }
  return 0;
}

void EngineItemList::AppendNames(ScriptValue* ioList, bool inEnabledOnly) const {
  for (const Item& item : mItems) {
    if (item.mEnabled || !inEnabledOnly) {
      ioList->AddListItem(item.mName.getCStr(), item.mName.length());
    }
  }
}
