#include "foundation/KSUnicode.h"

#include <climits>

#include "foundation/KSUnicodeTables.h"

namespace {

// Collects output units: counts every unit and writes those that fit.
template <typename Unit>
class UnitSink {
 public:
  // inLimit: how many units may be written (0 when only counting).
  UnitSink(Unit* outDest, int inLimit) : mDest(outDest), mLimit(inLimit), mCount(0), mLast(0) {}

  void Put(uint32 inUnit) {
    if (mCount < mLimit) {
      mDest[mCount] = Unit(inUnit);
    }
    mCount++;
    mLast = inUnit;
  }
  void ReplaceLast(uint32 inUnit) {
    if (mCount - 1 < mLimit) {
      mDest[mCount - 1] = Unit(inUnit);
    }
    mLast = inUnit;
  }
  int Count() const { return mCount; }
  uint32 Last() const { return mLast; }

 private:
  Unit* mDest;
  int mLimit;
  int mCount;
  uint32 mLast;
};

// The full count in measuring mode (inDestSize 0), else what was written.
int Result(int inCount, int inDestSize) {
  if (inDestSize < 1) {
    return inCount;
  }
  return inCount < inDestSize ? inCount : inDestSize;
}

void PutUTF8(UnitSink<uint8>& ioOut, uint32 inCodePoint) {
  if (inCodePoint < 0x80) {
    ioOut.Put(inCodePoint);
  } else if (inCodePoint < 0x800) {
    ioOut.Put(0xC0 | (inCodePoint >> 6));
    ioOut.Put(0x80 | (inCodePoint & 0x3F));
  } else if (inCodePoint < 0x10000) {
    ioOut.Put(0xE0 | (inCodePoint >> 12));
    ioOut.Put(0x80 | ((inCodePoint >> 6) & 0x3F));
    ioOut.Put(0x80 | (inCodePoint & 0x3F));
  } else {
    ioOut.Put(0xF0 | (inCodePoint >> 18));
    ioOut.Put(0x80 | ((inCodePoint >> 12) & 0x3F));
    ioOut.Put(0x80 | ((inCodePoint >> 6) & 0x3F));
    ioOut.Put(0x80 | (inCodePoint & 0x3F));
  }
}

// Adds one decoded character, composing a combining mark with the character
// before it when asked to.
void PutUTF16(UnitSink<uint16>& ioOut, uint32 inCodePoint, bool inCombineDiacriticals) {
  if (inCombineDiacriticals && inCodePoint >= 0x300 && inCodePoint <= 0x36F && ioOut.Count() > 0) {
    unsigned long composed = KSCombineDiacritical(ioOut.Last(), inCodePoint);
    if (composed != 0) {
      ioOut.ReplaceLast(uint32(composed));
      return;
    }
  }
  if (inCodePoint >= 0x10000) {
    inCodePoint -= 0x10000;
    ioOut.Put(0xD800 + (inCodePoint >> 10));
    ioOut.Put(0xDC00 + (inCodePoint & 0x3FF));
  } else {
    ioOut.Put(inCodePoint);
  }
}

// Length of the sequence a UTF-8 lead byte starts, 0 for a byte that cannot
// start one (a continuation byte, or F8-FF).
int SequenceLength(uint8 inLead) {
  if (inLead < 0x80) {
    return 1;
  }
  if ((inLead & 0xE0) == 0xC0) {
    return 2;
  }
  if ((inLead & 0xF0) == 0xE0) {
    return 3;
  }
  if ((inLead & 0xF8) == 0xF0) {
    return 4;
  }
  return 0;
}

// False for what only a malformed sequence of inLength bytes carries: a
// longer form of a character than it needs (C0 AF for '/'), a surrogate,
// whose place is in UTF-16 alone, or a code point past the last one. Names
// are cleaned of path characters and control bytes before they are decoded,
// so a decoder that took these would let such characters in after the
// cleaning.
bool IsWellFormed(uint32 inCodePoint, int inLength) {
  static const uint32 kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
  return inCodePoint >= kSmallest[inLength] && (inCodePoint < 0xD800 || inCodePoint > 0xDFFF) &&
         inCodePoint <= 0x10FFFF;
}

int DecodeUTF8(const uint8* inSrc, int inSrcLen, UnitSink<uint16>& ioOut,
               bool inCombineDiacriticals) {
  // With inSrcLen < 0 the text ends at a NUL, which is never a continuation
  // byte, so the checks below never read past it.
  auto present = [&](int inIndex) { return inSrcLen < 0 || inIndex < inSrcLen; };
  int i = 0;
  while (present(i) && (inSrcLen >= 0 || inSrc[i] != 0)) {
    uint8 lead = inSrc[i];
    int length = SequenceLength(lead);
    bool complete = length > 0;
    for (int k = 1; complete && k < length; k++) {
      complete = present(i + k) && (inSrc[i + k] & 0xC0) == 0x80;
    }
    if (!complete) {
      i++;  // drop one byte and try again at the next
      continue;
    }
    static const uint8 kLeadMask[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    uint32 codePoint = lead & kLeadMask[length];
    for (int k = 1; k < length; k++) {
      codePoint = (codePoint << 6) | (inSrc[i + k] & 0x3F);
    }
    if (!IsWellFormed(codePoint, length)) {
      i++;  // as for any malformed sequence; its other bytes are stray continuations
      continue;
    }
    i += length;
    if (codePoint == 0xFEFF) {
      continue;
    }
    PutUTF16(ioOut, codePoint, inCombineDiacriticals);
  }
  return ioOut.Count();
}

int DecodeSingleByte(const uint8* inSrc, int inSrcLen, const uint16* inHighHalf, int inDestSize,
                     UnitSink<uint16>& ioOut, bool inCombineDiacriticals) {
  for (int i = 0; inSrcLen < 0 ? inSrc[i] != 0 : i < inSrcLen; i++) {
    if (inDestSize > 0 && ioOut.Count() >= inDestSize) {
      break;
    }
    uint8 byte = inSrc[i];
    PutUTF16(ioOut, byte < 0x80 ? byte : inHighHalf[byte - 0x80], inCombineDiacriticals);
  }
  return ioOut.Count();
}

}  // namespace

int KSEncodeAsUTF8(const uint16* inSrc, int inSrcLen, uint8* outDest, int inDestSize,
                   bool inAddBOM) {
  if (inDestSize < 0 || (!outDest && inDestSize > 0)) {
    return 0;
  }
  UnitSink<uint8> out(outDest, inDestSize);
  if (inAddBOM) {
    out.Put(0xEF);
    out.Put(0xBB);
    out.Put(0xBF);
  }
  auto present = [&](int inIndex) {
    return inSrcLen < 0 ? inSrc[inIndex] != 0 : inIndex < inSrcLen;
  };
  int i = 0;
  while (inSrc && present(i)) {
    uint32 codePoint = inSrc[i++];
    if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
      if (!present(i)) {
        break;  // a high surrogate as the last unit ends the text
      }
      uint32 low = inSrc[i];
      if (low < 0xDC00 || low > 0xDFFF) {
        continue;  // drop the lone high surrogate; read the next unit normally
      }
      i++;
      codePoint = (codePoint - 0xD800) * 1024 + 0x10000 + (low - 0xDC00);
    }
    PutUTF8(out, codePoint);
  }
  return Result(out.Count(), inDestSize);
}

int KSEncodeAsUTF16(const uint8* inSrc, int inSrcLen, KSTextEncoding inEncoding, uint16* outDest,
                    int inDestSize, bool inCombineDiacriticals) {
  if (inDestSize < 0 || (!outDest && inDestSize > 0) || !inSrc) {
    return 0;
  }
  int count;
  switch (inEncoding) {
    case kKSEncodingUTF8: {
      UnitSink<uint16> out(outDest, inDestSize);
      count = DecodeUTF8(inSrc, inSrcLen, out, inCombineDiacriticals);
      break;
    }
    case kKSEncodingMacRoman:
    case kKSEncodingANSI_1252: {
      // These write into a given destination even when no size is given.
      int limit = inDestSize > 0 ? inDestSize : (outDest ? INT_MAX : 0);
      UnitSink<uint16> out(outDest, limit);
      const uint16* highHalf =
          inEncoding == kKSEncodingMacRoman ? kMacRomanHighHalf : kWindows1252HighHalf;
      count = DecodeSingleByte(inSrc, inSrcLen, highHalf, inDestSize, out, inCombineDiacriticals);
      break;
    }
    default:
      return 0;
  }
  return Result(count, inDestSize);
}
