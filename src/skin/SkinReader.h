// The lexical side of "skin.txt": a cursor over the file's bytes that reads
// words and the value forms of properties. It never looks back.
//
// Every read that can fail returns 0 or kKSErr_FormatNotRecognized; the end
// of the text where something is expected is such a failure. Reads skip the
// white space (space, tab, carriage return, line feed) in front of them.
#pragma once

#include "foundation/KSTypes.h"

struct KSRGBA;

// Bytes of the text, not NUL-terminated.
struct SkinSpan {
  const char* mText;
  long mLen;
};

class SkinReader {
 public:
  SkinReader(const char* inText, long inLen);

  // Byte offset of the next byte to read.
  long Pos() const { return mPos; }
  // True when only white space is left.
  bool AtEnd();
  void SkipWhite();
  // Skips the rest of the line, its line feed included.
  void SkipLine();

  // Takes inWord when the text continues with exactly it (letter case counts).
  bool TakeWord(const char* inWord);
  // Takes inChar when it comes next. Its absence is no failure; the end of
  // the text is.
  long TakeOptional(char inChar);
  // Takes inChar when it comes next; the end of the text is fine too.
  void SkipOptional(char inChar);
  // inChar must come next.
  long Expect(char inChar);

  // A keyword: a non-empty run up to white space, and with inStopAtEquals
  // also up to '='. A keyword cut short by '=' may be empty.
  long ReadKeyword(bool inStopAtEquals, SkinSpan* outWord);

  // The value forms. Each but ParseQuotedString starts with '='.
  // "= word": a run up to white space (page names, modes, page visibility).
  long ReadPlainWord(SkinSpan* outWord);
  // "= word": a run up to ',', ')' or white space (booleans, functions, bit sets).
  long ReadWord(SkinSpan* outWord);
  // "= name": a run up to ',', ')', tab, carriage return or line feed; spaces
  // inside and at its end belong to it.
  long ReadName(SkinSpan* outName);
  // "= n": an optionally signed decimal number that fits 32 bits.
  long ReadInteger(int32* outValue);
  // An optionally signed decimal number without the '='.
  long ReadNumber(int32* outValue);
  // "= r, g, b": three decimal bytes into mR, mG, mB; mA is left alone.
  long ReadColor(KSRGBA* ioColor);
  // A column header: from the first non-white byte up to ',' or ')', which
  // is not taken. Trailing white space belongs to it.
  long ReadHeader(SkinSpan* outHeader);
  // Skips everything up to and including the first '"', then copies bytes up
  // to the next '"' that no backslash escapes (escapes are kept as written)
  // into outText, NUL-terminated. A text that needs all inMaxLen bytes (or
  // more) or does not close fails.
  long ParseQuotedString(char* outText, long inMaxLen);

 private:
  bool More() const { return mPos < mLen; }
  char Peek() const { return mText[mPos]; }
  // A run of at least one byte up to the first byte for which inStop is true.
  long ReadRun(bool (*inStop)(char), SkinSpan* outRun);
  long ReadByte(uint8* outValue);

  const char* mText;
  long mLen;
  long mPos;
};
