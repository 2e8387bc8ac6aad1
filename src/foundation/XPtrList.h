// Growable arrays of pointers with 1-based indices (0 means "none"), and their
// variants for 32-bit numbers and for owned objects.
#pragma once

#include <cstdint>

#include "foundation/KSObject.h"
#include "foundation/KSTypes.h"

// Returns >= 0 when inA may stand before inB, < 0 when inA must stand after
// inB. Sorted lists are ascending under this rule.
typedef long (*KSCompareProc)(const void* inA, const void* inB, const void* inParam);

enum KSListOrdering : uint8 {
  ks_OrderImportant = 0,     // insertion order is kept
  ks_OrderNotImportant = 1,  // removal may move the last element into the hole
  ks_Sorted = 2,             // kept sorted by the compare procedure
};

class XPtrList : public KSObject {
 public:
  explicit XPtrList(KSListOrdering inOrdering = ks_OrderImportant);
  ~XPtrList() override;

  XPtrList(const XPtrList&) = delete;
  XPtrList& operator=(const XPtrList&) = delete;

  // Sorted lists insert before every element equal to inItem; others append.
  // Returns the new element's index.
  long Add(const void* inItem);
  // Inserts before the element at 0-based inIndex (clamped to 0..count).
  void Add(const void* inItem, long inIndex);

  void* Fetch(long inIndex) const;
  bool Fetch(long inIndex, void** outItem) const;
  long Count() const { return mNumElements; }

  // Index of this exact pointer, 0 if absent.
  long FindIndexOf(const void* inItem) const;

  // Returns the index the item had, 0 if it was absent.
  long Remove(const void* inItem);
  bool RemoveElement(long inIndex);
  bool RemoveLast();
  // Empties the list and keeps its capacity.
  void RemoveAll();

  // Makes room for inNumElements without further growth.
  void Dim(long inNumElements);

  virtual void SetListOrdering(KSListOrdering inOrdering);
  KSListOrdering GetListOrdering() const { return mOrdering; }

  // A sorted list re-sorts with the new procedure, or stops being sorted when
  // the procedure is null.
  void SetCompareProc(KSCompareProc inProc, void* inParam);

  // Puts the elements into a random order.
  void Shuffle();

  // Compares two pointer slots as signed 32-bit numbers.
  static long sLongComparitor(const void* inA, const void* inB, const void* inParam);

 protected:
  // Release element inIndex, or elements inFirst..inLast, before they leave
  // the list. This list does not own its elements, so they do nothing here.
  virtual void destroyElement(long inIndex);
  virtual void destroyRange(long inFirst, long inLast);

  // Heap sort of inItems[0..inNum-1], ascending under inProc.
  static void QuickSort(void** ioItems, long inNum, KSCompareProc inProc, const void* inParam);

  // 0-based position at which inItem goes into the sorted list: before all
  // elements equal to it.
  long FetchPredIndex(const void* inItem) const;

  void** mBuf;
  int32 mDimElements;
  int32 mNumElements;
  KSCompareProc mCompareProc;
  const void* mCompareProcParam;
  KSListOrdering mOrdering;

 private:
  void Reallocate(long inCapacity);
  void SortElements();
};

// 32-bit numbers kept in the pointer slots; sorted lists order them
// numerically.
class XLongList : public XPtrList {
 public:
  explicit XLongList(KSListOrdering inOrdering = ks_OrderImportant);

  long Add(int32 inNum) { return XPtrList::Add(ToSlot(inNum)); }
  void Add(int32 inNum, long inIndex) { XPtrList::Add(ToSlot(inNum), inIndex); }
  // 0 outside 1..count.
  int32 Fetch(long inIndex) const { return FromSlot(XPtrList::Fetch(inIndex)); }
  long FindIndexOf(int32 inNum) const { return XPtrList::FindIndexOf(ToSlot(inNum)); }
  long Remove(int32 inNum) { return XPtrList::Remove(ToSlot(inNum)); }

  // The element at 0-based inIndex. An index at or past the end grows the
  // list, the new elements being 0. A negative index gives a scratch number
  // whose writes are lost.
  int32& operator[](long inIndex);

  // A number's slot holds it zero-extended, so that operator[] can write the
  // low 32 bits alone and equal numbers always have equal slots.
  static const void* ToSlot(int32 inNum) {
    return reinterpret_cast<const void*>(uintptr_t(uint32(inNum)));
  }
  static int32 FromSlot(const void* inSlot) {
    return int32(uint32(reinterpret_cast<uintptr_t>(inSlot)));
  }

 private:
  static int32 sScratch;
};

// Owns its elements, which are KSObjects: removal and destruction delete them.
class XObjectList : public XPtrList {
 public:
  explicit XObjectList(KSListOrdering inOrdering = ks_OrderImportant);
  ~XObjectList() override;

  using XPtrList::Fetch;
  KSObject* Fetch(long inIndex) const { return static_cast<KSObject*>(XPtrList::Fetch(inIndex)); }

 protected:
  void destroyElement(long inIndex) override;
  void destroyRange(long inFirst, long inLast) override;
};
