// The items of one configuration kind: their names, which of them are
// enabled, the current one and the order of the kind's slide show.
// Indices are 1-based; 0 means none.
#pragma once

#include <cstddef>
#include <vector>

#include "engine-sim/EngineContent.h"
#include "engine-sim/ScriptValue.h"
#include "foundation/KSRandom.h"

class EngineItemList {
 public:
  EngineItemList() : mCurrent(0), mShowPos(0) {}

  // Replaces the names. Items that keep their name keep their enabled flag
  // and stay current; new items start enabled. The slide-show order becomes
  // the list order.
  void SetNames(const EngineNames& inNames);

  long Count() const { return long(mItems.size()); }
  const UtilStr& Name(long inIndex) const { return mItems[inIndex - 1].mName; }
  // The item of that name: an exact match first, else one that differs only
  // in letter case; 0 when there is none.
  long Find(const UtilStr& inName) const;

  bool IsEnabled(long inIndex) const { return mItems[inIndex - 1].mEnabled; }
  void SetEnabled(long inIndex, bool inOn) { mItems[inIndex - 1].mEnabled = inOn; }
  void SetAllEnabled(bool inOn);
  long CountEnabled() const;

  long Current() const { return mCurrent; }
  void SetCurrent(long inIndex) { mCurrent = inIndex; }

  // The enabled item inDirection (1 or -1) steps from the current one,
  // wrapping round; the current item itself when it is the only one enabled;
  // 0 when none is enabled.
  long Step(int inDirection) const;

  // Puts the slide-show order in a random sequence.
  void Shuffle(KSRandom* ioRandom);
  // The next enabled item of the slide-show order after the last one shown
  // (and not the current one when another is enabled); 0 when none is.
  long NextInShow();
  // A random enabled item; 0 when none is enabled.
  long RandomEnabled(KSRandom* ioRandom) const;

  // Appends every name to a list value; with inEnabledOnly, only the names
  // of the enabled items.
  void AppendNames(ScriptValue* ioList, bool inEnabledOnly = false) const;

 private:
  struct Item {
    UtilStr mName;
    bool mEnabled;
  };

  std::vector<Item> mItems;
  long mCurrent;
  std::vector<long> mShowOrder;  // item indices in slide-show order
  size_t mShowPos;               // position in mShowOrder of the last item shown
};
