#include "foundation/XPtrList.h"

#include <cstdlib>
#include <cstring>
#include <utility>

#include "foundation/KSRandom.h"

namespace {

// Sifts the item at 1-based position inPos down the heap ioItems[1..inLast].
void SiftDown(void** ioItems, long inPos, long inLast, KSCompareProc inProc, const void* inParam) {
  auto at = [ioItems](long inOneBased) -> void*& { return ioItems[inOneBased - 1]; };
  long i = inPos;
  long j = 2 * i;
  while (j <= inLast) {
    if (j < inLast && inProc(at(j), at(j + 1), inParam) >= 0) {
      j++;
    }
    if (inProc(at(i), at(j), inParam) < 0) {
      break;
    }
    std::swap(at(i), at(j));
    i = j;
    j = 2 * i;
  }
}

}  // namespace

XPtrList::XPtrList(KSListOrdering inOrdering)
    : mBuf(nullptr),
      mDimElements(0),
      mNumElements(0),
      mCompareProc(sLongComparitor),
      mCompareProcParam(nullptr),
      mOrdering(inOrdering) {}

XPtrList::~XPtrList() {
  free(mBuf);
}

long XPtrList::sLongComparitor(const void* inA, const void* inB, const void*) {
  int64 a = int32(reinterpret_cast<uintptr_t>(inA));
  int64 b = int32(reinterpret_cast<uintptr_t>(inB));
  // Saturate so that the sign stays right where the difference does not fit
  // in 32 bits.
  int64 diff = b - a;
  if (diff > INT32_MAX) {
    return INT32_MAX;
  }
  if (diff < INT32_MIN) {
    return INT32_MIN;
  }
  return long(diff);
}

void XPtrList::Reallocate(long inCapacity) {
  // One spare slot beyond the capacity, as room while shifting.
  void** buf = static_cast<void**>(malloc(sizeof(void*) * (inCapacity + 1)));
  if (mNumElements > 0) {
    memcpy(buf, mBuf, sizeof(void*) * mNumElements);
  }
  free(mBuf);
  mBuf = buf;
  mDimElements = int32(inCapacity);
}

void XPtrList::Dim(long inNumElements) {
  if (inNumElements > mDimElements) {
    Reallocate(inNumElements + 4);
  }
}

long XPtrList::Add(const void* inItem) {
  if (mOrdering == ks_Sorted && mCompareProc) {
    long index = FetchPredIndex(inItem);
    Add(inItem, index);
    return index + 1;
  }
  if (mNumElements >= mDimElements) {
    Reallocate(8L * mDimElements + 14);
  }
  mBuf[mNumElements++] = const_cast<void*>(inItem);
  return mNumElements;
}

void XPtrList::Add(const void* inItem, long inIndex) {
  if (inIndex < 0) {
    inIndex = 0;
  } else if (inIndex > mNumElements) {
    inIndex = mNumElements;
  }
  if (mNumElements >= mDimElements) {
    Reallocate(8L * mDimElements + 14);
  }
  memmove(&mBuf[inIndex + 1], &mBuf[inIndex], sizeof(void*) * (mNumElements - inIndex));
  mBuf[inIndex] = const_cast<void*>(inItem);
  mNumElements++;
}

void* XPtrList::Fetch(long inIndex) const {
  if (inIndex < 1 || inIndex > mNumElements) {
    return nullptr;
  }
  return mBuf[inIndex - 1];
}

bool XPtrList::Fetch(long inIndex, void** outItem) const {
  if (!outItem) {
    return false;
  }
  *outItem = Fetch(inIndex);
  return inIndex >= 1 && inIndex <= mNumElements;
}

long XPtrList::FindIndexOf(const void* inItem) const {
  if (mOrdering == ks_Sorted && mCompareProc) {
    // Equal elements stand together, starting at the insertion point.
    for (long i = FetchPredIndex(inItem); i < mNumElements; i++) {
      if (mBuf[i] == inItem) {
        return i + 1;
      }
      if (mCompareProc(inItem, mBuf[i], mCompareProcParam) != 0) {
        break;
      }
    }
    return 0;
  }
  for (long i = 0; i < mNumElements; i++) {
    if (mBuf[i] == inItem) {
      return i + 1;
    }
  }
  return 0;
}

long XPtrList::Remove(const void* inItem) {
  long index = FindIndexOf(inItem);
  RemoveElement(index);
  return index;
}

bool XPtrList::RemoveElement(long inIndex) {
  if (inIndex < 1 || inIndex > mNumElements) {
    return false;
  }
  destroyElement(inIndex);
  long hole = inIndex - 1;
  mNumElements--;
  if (mOrdering == ks_OrderNotImportant) {
    mBuf[hole] = mBuf[mNumElements];
  } else {
    memmove(&mBuf[hole], &mBuf[hole + 1], sizeof(void*) * (mNumElements - hole));
  }
  return true;
}

bool XPtrList::RemoveLast() {
  if (mNumElements < 1) {
    return false;
  }
  destroyElement(mNumElements);
  mNumElements--;
  return true;
}

void XPtrList::RemoveAll() {
  if (mNumElements > 0) {
    destroyRange(1, mNumElements);
  }
  mNumElements = 0;
}

void XPtrList::SetListOrdering(KSListOrdering inOrdering) {
  mOrdering = inOrdering;
  if (mOrdering == ks_Sorted) {
    SortElements();
  }
}

void XPtrList::SetCompareProc(KSCompareProc inProc, void* inParam) {
  mCompareProc = inProc;
  mCompareProcParam = inParam;
  if (mOrdering == ks_Sorted) {
    if (mCompareProc) {
      SortElements();
    } else {
      mOrdering = ks_OrderNotImportant;
    }
  }
}

void XPtrList::SortElements() {
  QuickSort(mBuf, mNumElements, mCompareProc, mCompareProcParam);
}

void XPtrList::Shuffle() {
  // A shuffled list is no longer sorted.
  if (mOrdering == ks_Sorted) {
    mOrdering = ks_OrderImportant;
  }
  KSRandom random;
  for (long i = 0; i < mNumElements; i++) {
    long j = random.KSRndInt(0, mNumElements - 1);
    std::swap(mBuf[i], mBuf[j]);
  }
}

void XPtrList::destroyElement(long) {}

void XPtrList::destroyRange(long, long) {}

void XPtrList::QuickSort(void** ioItems, long inNum, KSCompareProc inProc, const void* inParam) {
  if (inNum < 2 || !inProc) {
    return;
  }
  // Heap sort over 1-based positions: first build the heap from the middle
  // down, then move the top to the end one element at a time.
  long left = inNum / 2 + 1;
  long right = inNum;
  for (;;) {
    if (left > 1) {
      left--;
    } else {
      std::swap(ioItems[0], ioItems[right - 1]);
      right--;
      if (right == 1) {
        break;
      }
    }
    SiftDown(ioItems, left, right, inProc, inParam);
  }
}

long XPtrList::FetchPredIndex(const void* inItem) const {
  long lo = 0;
  long hi = mNumElements - 1;
  while (lo <= hi) {
    long mid = (lo + hi) / 2;
    if (mCompareProc(inItem, mBuf[mid], mCompareProcParam) >= 0) {
      hi = mid - 1;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

// XLongList

int32 XLongList::sScratch = 0;

XLongList::XLongList(KSListOrdering inOrdering) : XPtrList(inOrdering) {}

int32& XLongList::operator[](long inIndex) {
  if (inIndex < 0) {
    sScratch = 0;
    return sScratch;
  }
  if (inIndex >= mNumElements) {
    Dim(inIndex + 2);
    for (long i = mNumElements; i <= inIndex; i++) {
      mBuf[i] = nullptr;
    }
    mNumElements = int32(inIndex + 1);
  }
  // The number lives in the low 32 bits of its slot (little-endian).
  return *reinterpret_cast<int32*>(&mBuf[inIndex]);
}

// XObjectList

XObjectList::XObjectList(KSListOrdering inOrdering) : XPtrList(inOrdering) {}

XObjectList::~XObjectList() {
  RemoveAll();
}

void XObjectList::destroyElement(long inIndex) {
  delete Fetch(inIndex);
}

void XObjectList::destroyRange(long inFirst, long inLast) {
  for (long i = inFirst; i <= inLast; i++) {
    destroyElement(i);
  }
}
