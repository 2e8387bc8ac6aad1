// UtilStr: the string type of the whole system. An 8-bit byte string with an
// explicit length, always followed by a NUL, whose storage block is shared by
// copies and copied only before a write.
//
// Positions are 1-based where an operation speaks of a position
// (FindPrevInstanceOf, contains) and 0-based where it speaks of an index
// (Replace, Insert). Lengths below 0 mean "up to the NUL".
#pragma once

#include "foundation/KSObject.h"
#include "foundation/KSTypes.h"

// AppendVA formats with C99 conventions on every platform (%zu, %lld).
#if defined(__MINGW32__)
#define KS_PRINTF_FORMAT(fmt, args) __attribute__((format(gnu_printf, fmt, args)))
#elif defined(__GNUC__)
#define KS_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define KS_PRINTF_FORMAT(fmt, args)
#endif

// The storage block, allocated with malloc as one piece: two header words and
// then mDimSize bytes of characters (capacity including the terminating NUL).
struct UtilStr_Data {
  int32 mNumRefs;
  int32 mDimSize;
  char mData[1];  // really mDimSize bytes
};

// Flag bits of AppendCStrEncoding.
enum {
  kCStrEscapeQuotes = 4,        // '"' and '\'
  kCStrEscapeWhitespace = 8,    // tab, line feed, form feed, carriage return
  kCStrEscapeNonPrinting = 16,  // the whitespace escapes, and \xHH for bytes outside 0x20-0x7F
  kCStrEscapeAll = 28           // the form used between quotes in text files
};

class UtilStr : public KSObject {
 public:
  UtilStr();
  UtilStr(const UtilStr& inStr);           // shares the block
  UtilStr(const char* inStr);              // copies up to the NUL (null gives "")
  UtilStr(const char* inStr, long inLen);  // copies inLen bytes (< 0: up to the NUL)
  ~UtilStr() override;

  UtilStr& operator=(const UtilStr& inStr);  // shares the block
  UtilStr& operator=(const char* inStr);
  UtilStr& operator+=(const UtilStr& inStr);
  UtilStr& operator+=(const char* inStr);
  UtilStr& operator+=(char inChar);

  // Case-sensitive equality of the bytes.
  bool operator==(const UtilStr& inStr) const;
  bool operator==(const char* inStr) const;
  bool operator!=(const UtilStr& inStr) const { return !(*this == inStr); }
  bool operator!=(const char* inStr) const { return !(*this == inStr); }

  // --- Access ---
  // The text. It is NUL-terminated unless the string holds borrowed text that
  // was not terminated at its length.
  const char* getCStr() const { return mPtr; }
  int32 length() const { return mLen; }
  bool IsEmpty() const { return mLen == 0; }

  // --- Construction, assignment, storage ---
  void Assign(const UtilStr& inStr);         // shares; no-op on self-assignment
  void Assign(const unsigned char* inPStr);  // length-prefixed text (null gives "")
  void Assign(const char* inStr, long inLen = -1);
  void AssignInt(int64 inNum) { AppendInt_Private(inNum, true); }

  // Makes this string refer to inLen bytes (< 0: up to the NUL) of text owned
  // elsewhere, without copying. The text must outlive this string and every
  // copy of it; the first write makes a private copy.
  void Borrow(const char* inText, long inLen = -1);

  // Sets the length to 0, keeping or making room for inDimSize characters.
  void Clear(long inDimSize = 0);

  // Makes the string owning and returns its characters; the caller may change
  // characters but not the length.
  char* WritablePtr();

  // Copies min(inMaxBytes, length + 1) bytes (the NUL only when it fits).
  void CopyTo(char* outDest, long inMaxBytes) const;

  // --- Appending and editing ---
  void Append(const char* inSrc, long inLen = -1) { Append_Private(inSrc, inLen, false); }
  void Append(const UtilStr& inStr) { Append_Private(inStr.mPtr, inStr.mLen, false); }
  void AppendChar(char inChar);
  // printf-style append. The arguments must not point into this string's own
  // text: it is formatted in place.
  void AppendVA(const char* inFormat, ...) KS_PRINTF_FORMAT(2, 3);
  void AppendInt(int64 inNum) { AppendInt_Private(inNum, false); }
  void AppendFloat(double inNum, int inDecimals);

  void Insert(int inIndex, char inChar, int inCount);
  void Replace(int inIndex, int inNumToReplace, const char* inSrc, int inSrcLen);
  void RemoveChars(int inLow, int inHigh);
  void TruncR(int inNumChars);
  int FindAndReplace(char inFrom, char inTo);
  int FindAndReplace(const char* inTarget, const char* inReplacement, bool inCaseSensitive,
                     bool inWholeWords);

  // --- Comparison and search ---
  static int compare(const char* inStr1, const char* inStr2, bool inCaseSensitive);
  static int compare(const char* inStr1, int inLen1, const char* inStr2, int inLen2,
                     bool inCaseSensitive);
  // compare(other, this, inParam == 0): inParam 0 is case-sensitive.
  int32 CompareTo(const KSObject* inStr, long inParam) const override;
  bool Equals(const UtilStr& inStr, bool inCaseSensitive = true) const;
  bool Equals(const char* inStr, bool inCaseSensitive = true) const;

  static bool StartsWith(const char* inPrefix, bool inCaseSensitive, const char* inStr,
                         int inStrLen);
  bool StartsWith(const char* inPrefix, bool inCaseSensitive = true) const {
    return StartsWith(inPrefix, inCaseSensitive, mPtr, mLen);
  }

  // 1-based position of the first match at or after 0-based inStartIndex, 0 if none.
  static int contains(const char* inPattern, int inPatLen, int inStartIndex, bool inCaseSensitive,
                      const char* inText, int inTextLen, bool inWholeWords);
  int contains(const char* inPattern, int inStartIndex = 0, bool inCaseSensitive = true,
               bool inWholeWords = false) const {
    return contains(inPattern, -1, inStartIndex, inCaseSensitive, mPtr, mLen, inWholeWords);
  }

  // 1-based position of inChar searching back from min(inPos, length), 0 if none.
  int FindPrevInstanceOf(int inPos, char inChar) const;

  static uint32 HashCode(const char* inStr, int inLen, int inCaseSensitive);
  // HashCode(text, length, inParam == 0).
  uint32 HashCode(long inParam) const override;

  // --- Numbers ---
  static int IntToStr(int64 inNum, char* outStr);
  static long StrToInt(const char* inStr, int inLen);
  static long OctalStrToInt(const char* inStr, int inLen);
  static long FloatToStr(double inNum, int inDecimals, char* outStr);
  static double StrToFloat(const char* inStr, int inLen);

  // --- Escaping ---
  // Appends inSrc with backslash escapes chosen by the kCStrEscape... bits.
  void AppendCStrEncoding(const char* inSrc, int inLen, int inFlags);
  // Appends the decoded form of quoted, backslash-escaped text.
  void AppendCStrDecoding(const char* inSrc, int inLen, bool inSkipToQuote);

 protected:
  void Append_Private(const char* inSrc, long inLen, bool inReplace);
  void AppendInt_Private(int64 inNum, bool inReplace);

  UtilStr_Data* mBuf;  // the block this string holds a reference on, or null
  char* mPtr;          // first character; never null
  int32 mLen;          // number of characters

 private:
  bool MustCopyBeforeWrite() const;
  void ReleaseBuf();
  void MakeOwning();
  static UtilStr_Data* NewBlock(long inNewLen, long inBase);
};
