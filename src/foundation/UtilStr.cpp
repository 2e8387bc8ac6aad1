#include "foundation/UtilStr.h"

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static_assert(offsetof(UtilStr_Data, mData) == 8, "the block header is two 32-bit words");

namespace {

// Shared by every string in the empty state. Nothing ever writes to it: a write
// always gives the string a block first.
char sEmptyText[1] = {0};

const int32 kBlockHeaderSize = 8;

// The C99 formatter on Windows too, so that AppendVA behaves the same everywhere.
#if defined(__MINGW32__)
#define KS_VSNPRINTF __mingw_vsnprintf
#else
#define KS_VSNPRINTF std::vsnprintf
#endif
const int32 kMaxGrowthExtra = 20000;

long MeasureText(const char* inStr, long inLen) {
  if (inLen >= 0) {
    return inLen;
  }
  return inStr ? long(std::strlen(inStr)) : 0;
}

void ReleaseBlock(UtilStr_Data* inBlock) {
  if (inBlock && --inBlock->mNumRefs <= 0) {
    std::free(inBlock);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Construction, assignment, storage

UtilStr::UtilStr() : mBuf(nullptr), mPtr(sEmptyText), mLen(0) {}

UtilStr::UtilStr(const UtilStr& inStr) : mBuf(nullptr), mPtr(sEmptyText), mLen(0) {
  Assign(inStr);
}

UtilStr::UtilStr(const char* inStr) : mBuf(nullptr), mPtr(sEmptyText), mLen(0) {
  Append_Private(inStr, -1, false);
}

UtilStr::UtilStr(const char* inStr, long inLen) : mBuf(nullptr), mPtr(sEmptyText), mLen(0) {
  Append_Private(inStr, inLen, false);
}

UtilStr::~UtilStr() {
  ReleaseBlock(mBuf);
}

UtilStr& UtilStr::operator=(const UtilStr& inStr) {
  Assign(inStr);
  return *this;
}

UtilStr& UtilStr::operator=(const char* inStr) {
  Assign(inStr, -1);
  return *this;
}

UtilStr& UtilStr::operator+=(const UtilStr& inStr) {
  Append(inStr);
  return *this;
}

UtilStr& UtilStr::operator+=(const char* inStr) {
  Append(inStr);
  return *this;
}

UtilStr& UtilStr::operator+=(char inChar) {
  AppendChar(inChar);
  return *this;
}

bool UtilStr::operator==(const UtilStr& inStr) const {
  return Equals(inStr, true);
}

bool UtilStr::operator==(const char* inStr) const {
  return Equals(inStr, true);
}

void UtilStr::Assign(const UtilStr& inStr) {
  if (&inStr == this) {
    return;
  }
  // Take the new reference before dropping ours: both may be the same block.
  if (inStr.mBuf) {
    inStr.mBuf->mNumRefs++;
  }
  ReleaseBlock(mBuf);
  mBuf = inStr.mBuf;
  mPtr = inStr.mPtr;
  mLen = inStr.mLen;
}

void UtilStr::Assign(const unsigned char* inPStr) {
  if (!inPStr) {
    Append_Private(nullptr, 0, true);
    return;
  }
  Append_Private(reinterpret_cast<const char*>(inPStr) + 1, inPStr[0], true);
}

void UtilStr::Assign(const char* inStr, long inLen) {
  Append_Private(inStr, inLen, true);
}

void UtilStr::Borrow(const char* inText, long inLen) {
  inLen = MeasureText(inText, inLen);
  ReleaseBuf();
  if (inLen > 0) {
    mPtr = const_cast<char*>(inText);
    mLen = int32(inLen);
  }
}

void UtilStr::Clear(long inDimSize) {
  if (inDimSize > 0 && mBuf && mBuf->mNumRefs == 1 && inDimSize + 1 < mBuf->mDimSize &&
      mBuf->mDimSize - inDimSize < 100000) {
    mLen = 0;
    mPtr[0] = 0;
    return;
  }
  ReleaseBuf();
  if (inDimSize > 0) {
    Append_Private(nullptr, inDimSize, false);
    mLen = 0;
    mPtr[0] = 0;
  }
}

char* UtilStr::WritablePtr() {
  MakeOwning();
  return mPtr;
}

void UtilStr::CopyTo(char* outDest, long inMaxBytes) const {
  if (!outDest || inMaxBytes < 1) {
    return;
  }
  long n = inMaxBytes < mLen ? inMaxBytes : mLen;
  std::memcpy(outDest, mPtr, size_t(n));
  // Written separately so that borrowed text need not be terminated.
  if (n < inMaxBytes) {
    outDest[n] = 0;
  }
}

bool UtilStr::MustCopyBeforeWrite() const {
  return mBuf ? mBuf->mNumRefs > 1 : mLen > 0;
}

void UtilStr::ReleaseBuf() {
  ReleaseBlock(mBuf);
  mBuf = nullptr;
  mPtr = sEmptyText;
  mLen = 0;
}

void UtilStr::MakeOwning() {
  if (mBuf && mBuf->mNumRefs == 1) {
    return;
  }
  UtilStr_Data* old = mBuf;
  UtilStr_Data* block = NewBlock(mLen, 0);
  std::memcpy(block->mData, mPtr, size_t(mLen));
  block->mData[mLen] = 0;
  mBuf = block;
  mPtr = block->mData;
  ReleaseBlock(old);
}

// A block with room for inNewLen characters and a NUL, of which the first
// inBase are about to be kept: appending to existing text reserves about a
// quarter extra, at most kMaxGrowthExtra bytes.
UtilStr_Data* UtilStr::NewBlock(long inNewLen, long inBase) {
  long extra = inBase == 0 ? 40 : (inNewLen + 12) / 4 + 40;
  if (extra > kMaxGrowthExtra) {
    extra = kMaxGrowthExtra;
  }
  long size = (inNewLen + 12 + extra) & ~15L;
  UtilStr_Data* block = static_cast<UtilStr_Data*>(std::malloc(size_t(size)));
  block->mNumRefs = 1;
  block->mDimSize = int32(size - kBlockHeaderSize);
  return block;
}

// ---------------------------------------------------------------------------
// Appending and editing

void UtilStr::Append_Private(const char* inSrc, long inLen, bool inReplace) {
  inLen = MeasureText(inSrc, inLen);
  if (inLen < 1) {
    if (inReplace) {
      ReleaseBuf();
    }
    return;
  }
  long base = inReplace ? 0 : mLen;
  long newLen = base + inLen;
  if (mBuf && mBuf->mNumRefs == 1 && newLen + 1 < mBuf->mDimSize) {
    if (inSrc) {
      std::memmove(mPtr + base, inSrc, size_t(inLen));
    }
  } else {
    UtilStr_Data* old = mBuf;
    UtilStr_Data* block = NewBlock(newLen, base);
    std::memcpy(block->mData, mPtr, size_t(base));
    // inSrc may lie in the old text, so the old block lives until after this copy.
    if (inSrc) {
      std::memmove(block->mData + base, inSrc, size_t(inLen));
    }
    mBuf = block;
    mPtr = block->mData;
    ReleaseBlock(old);
  }
  mLen = int32(newLen);
  mPtr[newLen] = 0;
}

void UtilStr::AppendChar(char inChar) {
  if (mBuf && mBuf->mNumRefs == 1 && mLen + 2 < mBuf->mDimSize) {
    mPtr[mLen++] = inChar;
    mPtr[mLen] = 0;
  } else {
    Append_Private(&inChar, 1, false);
  }
}

void UtilStr::AppendVA(const char* inFormat, ...) {
  int32 start = mLen;
  if (!mBuf) {
    Append_Private(nullptr, 150, false);
  }
  for (;;) {
    MakeOwning();
    long room = mBuf->mDimSize - start - 1;
    if (room > 10) {
      va_list args;
      va_start(args, inFormat);
      int count = KS_VSNPRINTF(mPtr + start, size_t(room), inFormat, args);
      va_end(args);
      if (count < room) {
        // A negative count is a conversion error: nothing is appended then.
        mLen = start + (count > 0 ? count : 0);
        mPtr[mLen] = 0;
        return;
      }
    }
    Append_Private(nullptr, 1000, false);
  }
}

void UtilStr::AppendInt_Private(int64 inNum, bool inReplace) {
  char text[24];
  int len = IntToStr(inNum, text);
  Append_Private(text, len, inReplace);
}

void UtilStr::AppendFloat(double inNum, int inDecimals) {
  char text[40];
  long len = FloatToStr(inNum, inDecimals, text);
  if (len > 0) {
    Append_Private(text, len, false);
  }
}

void UtilStr::Insert(int inIndex, char inChar, int inCount) {
  if (inCount < 1) {
    return;
  }
  if (inIndex < 0) {
    inIndex = 0;
  } else if (inIndex > mLen) {
    inIndex = mLen;
  }
  Replace(inIndex, 0, nullptr, inCount);
  std::memset(mPtr + inIndex, inChar, size_t(inCount));
}

void UtilStr::Replace(int inIndex, int inNumToReplace, const char* inSrc, int inSrcLen) {
  inSrcLen = int(MeasureText(inSrc, inSrcLen));
  if (inIndex < 0) {
    inIndex = 0;
  } else if (inIndex > mLen) {
    inIndex = mLen;
  }
  if (inNumToReplace < 0) {
    inNumToReplace = 0;
  } else if (inNumToReplace > mLen - inIndex) {
    inNumToReplace = mLen - inIndex;
  }
  int32 end = inIndex + inNumToReplace;

  if (inSrcLen == 0) {
    if (inNumToReplace == 0) {
      return;
    }
    if (inIndex == 0 && !mBuf) {
      // Deleting the head of borrowed text needs no copy.
      mPtr += inNumToReplace;
      mLen -= inNumToReplace;
      if (mLen == 0) {
        ReleaseBuf();
      }
      return;
    }
    if (end == mLen) {
      TruncR(inNumToReplace);
      return;
    }
  }

  int32 delta = inSrcLen - inNumToReplace;
  int32 newLen = mLen + delta;
  bool srcInOwnBlock =
      mBuf && inSrc && inSrc >= mBuf->mData && inSrc < mBuf->mData + mBuf->mDimSize;
  if (MustCopyBeforeWrite() || !mBuf || mBuf->mDimSize <= newLen + 1 || srcInOwnBlock) {
    // Build into a fresh block; the old one stays alive until the copies are done
    // because inSrc may point into it.
    UtilStr_Data* old = mBuf;
    const char* oldText = mPtr;
    UtilStr_Data* block = NewBlock(newLen, mLen);
    std::memcpy(block->mData, oldText, size_t(inIndex));
    std::memcpy(block->mData + end + delta, oldText + end, size_t(mLen - end));
    if (inSrc) {
      std::memcpy(block->mData + inIndex, inSrc, size_t(inSrcLen));
    }
    mBuf = block;
    mPtr = block->mData;
    ReleaseBlock(old);
  } else {
    std::memmove(mPtr + end + delta, mPtr + end, size_t(mLen - end));
    if (inSrc) {
      std::memcpy(mPtr + inIndex, inSrc, size_t(inSrcLen));
    }
  }
  mLen = newLen;
  mPtr[mLen] = 0;
}

void UtilStr::RemoveChars(int inLow, int inHigh) {
  auto inRange = [=](char inChar) {
    int value = int8(inChar);
    return value >= inLow && value <= inHigh;
  };
  int32 first = 0;
  while (first < mLen && !inRange(mPtr[first])) {
    first++;
  }
  if (first == mLen) {
    return;
  }
  MakeOwning();
  int32 kept = first;
  for (int32 i = first + 1; i < mLen; i++) {
    if (!inRange(mPtr[i])) {
      mPtr[kept++] = mPtr[i];
    }
  }
  mLen = kept;
  mPtr[mLen] = 0;
}

void UtilStr::TruncR(int inNumChars) {
  if (inNumChars < 1) {
    return;
  }
  if (inNumChars >= mLen) {
    ReleaseBuf();
    return;
  }
  int32 newLen = mLen - inNumChars;
  if (MustCopyBeforeWrite()) {
    Append_Private(mPtr, newLen, true);
  } else {
    mLen = newLen;
    mPtr[mLen] = 0;
  }
}

int UtilStr::FindAndReplace(char inFrom, char inTo) {
  int count = 0;
  for (int32 i = 0; i < mLen; i++) {
    if (mPtr[i] == inFrom) {
      if (count == 0) {
        MakeOwning();
      }
      mPtr[i] = inTo;
      count++;
    }
  }
  return count;
}

int UtilStr::FindAndReplace(const char* inTarget, const char* inReplacement, bool inCaseSensitive,
                            bool inWholeWords) {
  int targetLen = int(MeasureText(inTarget, -1));
  if (targetLen < 1) {
    return 0;
  }
  int pos = contains(inTarget, targetLen, 0, inCaseSensitive, mPtr, mLen, inWholeWords);
  if (pos == 0) {
    return 0;
  }
  UtilStr old(*this);  // keeps the text alive while the result is built
  UtilStr result;
  int count = 0;
  int32 start = 0;
  while (pos != 0) {
    result.Append(old.mPtr + start, pos - 1 - start);
    result.Append(inReplacement, -1);
    start = pos - 1 + targetLen;
    count++;
    pos = contains(inTarget, targetLen, start, inCaseSensitive, old.mPtr, old.mLen, inWholeWords);
  }
  result.Append(old.mPtr + start, old.mLen - start);
  Assign(result);
  return count;
}

// ---------------------------------------------------------------------------
// Comparison and search

namespace {

inline int FoldCase(int inChar, bool inCaseSensitive) {
  if (!inCaseSensitive && inChar >= 'a' && inChar <= 'z') {
    return inChar - 'a' + 'A';
  }
  return inChar;
}

// Bytes compare as signed 8-bit values, so 0x80-0xFF sort before ASCII.
inline int CharValue(char inChar, bool inCaseSensitive) {
  return FoldCase(int8(inChar), inCaseSensitive);
}

inline bool IsWordChar(char inChar) {
  return (inChar >= 'A' && inChar <= 'Z') || (inChar >= 'a' && inChar <= 'z') ||
         (inChar >= '0' && inChar <= '9') || inChar == '_';
}

}  // namespace

int UtilStr::compare(const char* inStr1, const char* inStr2, bool inCaseSensitive) {
  if (!inStr1) {
    inStr1 = "";
  }
  if (!inStr2) {
    inStr2 = "";
  }
  for (;; inStr1++, inStr2++) {
    int c1 = CharValue(*inStr1, inCaseSensitive);
    int c2 = CharValue(*inStr2, inCaseSensitive);
    if (c1 != c2) {
      return c1 - c2;
    }
    if (c1 == 0) {
      return 0;
    }
  }
}

int UtilStr::compare(const char* inStr1, int inLen1, const char* inStr2, int inLen2,
                     bool inCaseSensitive) {
  inLen1 = int(MeasureText(inStr1, inLen1));
  inLen2 = int(MeasureText(inStr2, inLen2));
  int n = inLen1 < inLen2 ? inLen1 : inLen2;
  for (int i = 0; i < n; i++) {
    int c1 = CharValue(inStr1[i], inCaseSensitive);
    int c2 = CharValue(inStr2[i], inCaseSensitive);
    if (c1 != c2) {
      return c1 - c2;
    }
  }
  return inLen1 - inLen2;
}

int32 UtilStr::CompareTo(const KSObject* inStr, long inParam) const {
  const UtilStr* other = static_cast<const UtilStr*>(inStr);
  if (!other) {
    return compare("", 0, mPtr, mLen, inParam == 0);
  }
  return compare(other->mPtr, other->mLen, mPtr, mLen, inParam == 0);
}

bool UtilStr::Equals(const UtilStr& inStr, bool inCaseSensitive) const {
  return compare(mPtr, mLen, inStr.mPtr, inStr.mLen, inCaseSensitive) == 0;
}

bool UtilStr::Equals(const char* inStr, bool inCaseSensitive) const {
  return compare(mPtr, mLen, inStr ? inStr : "", -1, inCaseSensitive) == 0;
}

bool UtilStr::StartsWith(const char* inPrefix, bool inCaseSensitive, const char* inStr,
                         int inStrLen) {
  if (!inPrefix) {
    return true;
  }
  if (!inStr) {
    return false;
  }
  inStrLen = int(MeasureText(inStr, inStrLen));
  for (int i = 0;; i++) {
    if (inPrefix[i] == 0) {
      return true;
    }
    if (i >= inStrLen) {
      return false;
    }
    if (CharValue(inPrefix[i], inCaseSensitive) != CharValue(inStr[i], inCaseSensitive)) {
      return false;
    }
  }
}

int UtilStr::contains(const char* inPattern, int inPatLen, int inStartIndex, bool inCaseSensitive,
                      const char* inText, int inTextLen, bool inWholeWords) {
  if (!inPattern || !inText) {
    return 0;
  }
  inPatLen = int(MeasureText(inPattern, inPatLen));
  inTextLen = int(MeasureText(inText, inTextLen));
  if (inPatLen < 1) {
    return 0;
  }
  if (inStartIndex < 0) {
    inStartIndex = 0;
  }
  int last = inTextLen - inPatLen;
  if (inStartIndex > last) {
    return 0;
  }
  char first = inPattern[0];
  char alt = first;
  if (!inCaseSensitive) {
    if (first >= 'a' && first <= 'z') {
      alt = char(first - 'a' + 'A');
    } else if (first >= 'A' && first <= 'Z') {
      alt = char(first - 'A' + 'a');
    }
  }
  // The character before the first examined index counts as a word break.
  bool prevIsWord = false;
  for (int i = inStartIndex; i <= last; i++) {
    char c = inText[i];
    if ((c == first || c == alt) &&
        compare(inText + i, inPatLen, inPattern, inPatLen, inCaseSensitive) == 0) {
      if (!inWholeWords) {
        return i + 1;
      }
      if (!prevIsWord && (i == last || !IsWordChar(inText[i + inPatLen]))) {
        return i + 1;
      }
    }
    prevIsWord = IsWordChar(c);
  }
  return 0;
}

int UtilStr::FindPrevInstanceOf(int inPos, char inChar) const {
  int pos = inPos < mLen ? inPos : mLen;
  for (; pos >= 1; pos--) {
    if (mPtr[pos - 1] == inChar) {
      return pos;
    }
  }
  return 0;
}

uint32 UtilStr::HashCode(const char* inStr, int inLen, int inCaseSensitive) {
  uint32 h = 311;
  if (!inStr || inLen < 1) {
    return h;
  }
  const uint8* p = reinterpret_cast<const uint8*>(inStr);
  auto byteAt = [&](int i) -> uint32 {
    uint32 b = p[i];
    if (!inCaseSensitive && b >= 'a' && b <= 'z') {
      b -= 'a' - 'A';
    }
    return b;
  };
  int i = 0;
  for (; i + 4 <= inLen; i += 4) {
    h = (((h * 37 + byteAt(i + 3)) * 29 + byteAt(i + 2)) * 41 + byteAt(i + 1)) * 23 + byteAt(i);
  }
  switch (inLen - i) {
    case 1:
      h = h * 23 + byteAt(i);
      break;
    case 2:
      h = (h * 31 + byteAt(i + 1)) * 23 + byteAt(i);
      break;
    case 3:
      h = ((h * 39 + byteAt(i + 2)) * 31 + byteAt(i + 1)) * 23 + byteAt(i);
      break;
    default:
      break;
  }
  return h;
}

uint32 UtilStr::HashCode(long inParam) const {
  return HashCode(mPtr, mLen, inParam == 0);
}
