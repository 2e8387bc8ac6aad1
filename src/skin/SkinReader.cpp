#include "skin/SkinReader.h"

#include <cstring>

#include "foundation/KSError.h"
#include "platform/KSRGBA.h"

namespace {

bool IsWhite(char inChar) {
  return inChar == ' ' || inChar == '\t' || inChar == '\r' || inChar == '\n';
}

bool IsDigit(char inChar) {
  return inChar >= '0' && inChar <= '9';
}

bool EndsKeyword(char inChar) {
  return IsWhite(inChar);
}

bool EndsKeywordOrEquals(char inChar) {
  return IsWhite(inChar) || inChar == '=';
}

bool EndsWord(char inChar) {
  return IsWhite(inChar) || inChar == ',' || inChar == ')';
}

bool EndsName(char inChar) {
  return inChar == ',' || inChar == ')' || inChar == '\t' || inChar == '\r' || inChar == '\n';
}

bool EndsHeader(char inChar) {
  return inChar == ',' || inChar == ')';
}

}  // namespace

SkinReader::SkinReader(const char* inText, long inLen)
    : mText(inText), mLen(inLen > 0 ? inLen : 0), mPos(0) {}

bool SkinReader::AtEnd() {
  SkipWhite();
  return !More();
}

void SkinReader::SkipWhite() {
  while (More() && IsWhite(Peek())) {
    mPos++;
  }
}

void SkinReader::SkipLine() {
  while (More() && Peek() != '\n') {
    mPos++;
  }
  if (More()) {
    mPos++;
  }
}

bool SkinReader::TakeWord(const char* inWord) {
  long len = static_cast<long>(std::strlen(inWord));
  if (mLen - mPos < len || std::memcmp(mText + mPos, inWord, len) != 0) {
    return false;
  }
  mPos += len;
  return true;
}

long SkinReader::TakeOptional(char inChar) {
  if (AtEnd()) {
    return kKSErr_FormatNotRecognized;
  }
  if (Peek() == inChar) {
    mPos++;
  }
  return 0;
}

void SkinReader::SkipOptional(char inChar) {
  SkipWhite();
  if (More() && Peek() == inChar) {
    mPos++;
  }
}

long SkinReader::Expect(char inChar) {
  if (AtEnd() || Peek() != inChar) {
    return kKSErr_FormatNotRecognized;
  }
  mPos++;
  return 0;
}

long SkinReader::ReadRun(bool (*inStop)(char), SkinSpan* outRun) {
  SkipWhite();
  long start = mPos;
  while (More() && !inStop(Peek())) {
    mPos++;
  }
  outRun->mText = mText + start;
  outRun->mLen = mPos - start;
  return outRun->mLen > 0 ? 0 : kKSErr_FormatNotRecognized;
}

long SkinReader::ReadKeyword(bool inStopAtEquals, SkinSpan* outWord) {
  if (AtEnd()) {
    return kKSErr_FormatNotRecognized;
  }
  // An empty keyword (a '=' where the keyword belongs) is left to the lookup,
  // which matches nothing.
  ReadRun(inStopAtEquals ? EndsKeywordOrEquals : EndsKeyword, outWord);
  return 0;
}

long SkinReader::ReadPlainWord(SkinSpan* outWord) {
  long err = Expect('=');
  return err != 0 ? err : ReadRun(EndsKeyword, outWord);
}

long SkinReader::ReadWord(SkinSpan* outWord) {
  long err = Expect('=');
  return err != 0 ? err : ReadRun(EndsWord, outWord);
}

long SkinReader::ReadName(SkinSpan* outName) {
  long err = Expect('=');
  return err != 0 ? err : ReadRun(EndsName, outName);
}

long SkinReader::ReadInteger(int32* outValue) {
  long err = Expect('=');
  return err != 0 ? err : ReadNumber(outValue);
}

long SkinReader::ReadNumber(int32* outValue) {
  SkipWhite();
  bool negative = false;
  if (More() && (Peek() == '-' || Peek() == '+')) {
    negative = Peek() == '-';
    mPos++;
  }
  if (!More() || !IsDigit(Peek())) {
    return kKSErr_FormatNotRecognized;
  }
  int64 value = 0;
  for (; More() && IsDigit(Peek()); mPos++) {
    value = value * 10 + (Peek() - '0');
    if (value > int64(INT32_MAX) + 1) {
      return kKSErr_FormatNotRecognized;
    }
  }
  value = negative ? -value : value;
  if (value > INT32_MAX) {
    return kKSErr_FormatNotRecognized;
  }
  *outValue = static_cast<int32>(value);
  return 0;
}

long SkinReader::ReadByte(uint8* outValue) {
  SkipWhite();
  if (!More() || !IsDigit(Peek())) {
    return kKSErr_FormatNotRecognized;
  }
  long value = 0;
  for (; More() && IsDigit(Peek()); mPos++) {
    value = value * 10 + (Peek() - '0');
    if (value > 255) {
      return kKSErr_FormatNotRecognized;
    }
  }
  *outValue = static_cast<uint8>(value);
  return 0;
}

long SkinReader::ReadColor(KSRGBA* ioColor) {
  long err = Expect('=');
  if (err == 0) {
    err = ReadByte(&ioColor->mR);
  }
  if (err == 0) {
    err = Expect(',');
  }
  if (err == 0) {
    err = ReadByte(&ioColor->mG);
  }
  if (err == 0) {
    err = Expect(',');
  }
  if (err == 0) {
    err = ReadByte(&ioColor->mB);
  }
  return err;
}

long SkinReader::ReadHeader(SkinSpan* outHeader) {
  SkipWhite();
  long start = mPos;
  while (More() && !EndsHeader(Peek())) {
    mPos++;
  }
  outHeader->mText = mText + start;
  outHeader->mLen = mPos - start;
  return More() ? 0 : kKSErr_FormatNotRecognized;
}

long SkinReader::ParseQuotedString(char* outText, long inMaxLen) {
  while (More() && Peek() != '"') {
    mPos++;
  }
  if (!More()) {
    return kKSErr_FormatNotRecognized;
  }
  mPos++;
  long len = 0;
  long err = kKSErr_FormatNotRecognized;
  while (More()) {
    if (Peek() == '"') {
      mPos++;
      err = 0;
      break;
    }
    // An escaped byte is copied with its backslash, so it never ends the text.
    long take = (Peek() == '\\' && mPos + 1 < mLen) ? 2 : 1;
    if (len + take >= inMaxLen) {
      break;
    }
    std::memcpy(outText + len, mText + mPos, take);
    len += take;
    mPos += take;
  }
  outText[len] = 0;
  return err;
}
