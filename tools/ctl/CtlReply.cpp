#include "ctl/CtlReply.h"

#include <cstring>

#include "foundation/UtilStr.h"
#include "foundation/XStrList.h"

namespace {

// Length of the piece starting at inData, up to a NUL or inEnd.
long PieceLength(const char* inData, const char* inEnd) {
  const void* nul = std::memchr(inData, 0, size_t(inEnd - inData));
  return long((nul != nullptr ? static_cast<const char*>(nul) : inEnd) - inData);
}

bool IsDigit(char inChar) {
  return inChar >= '0' && inChar <= '9';
}

}  // namespace

void ReadValueReply(const char* inData, long inLen, UtilStr* outValue) {
  outValue->Assign(inData, inLen > 0 ? PieceLength(inData, inData + inLen) : 0);
}

void ReadListReply(const char* inData, long inLen, XStrList* outNames) {
  const char* end = inData + (inLen > 0 ? inLen : 0);
  for (const char* name = inData; name < end;) {
    long length = PieceLength(name, end);
    if (length == 0) {
      break;
    }
    outNames->Add(name, length);
    name += length + 1;
  }
}

void ReadReplyPieces(const char* inData, long inLen, XStrList* outPieces) {
  const char* end = inData + (inLen > 0 ? inLen : 0);
  // Trailing NULs end the last piece (or the list); they are not pieces.
  while (end > inData && end[-1] == 0) {
    --end;
  }
  for (const char* piece = inData; piece < end;) {
    long length = PieceLength(piece, end);
    outPieces->Add(piece, length);
    piece += length + 1;
  }
}

bool IsPlainNumber(const char* inText) {
  const char* c = inText;
  if (*c == '-') {
    ++c;
  }
  if (!IsDigit(*c)) {
    return false;
  }
  // JSON allows no leading zero before further digits.
  if (*c == '0' && IsDigit(c[1])) {
    return false;
  }
  while (IsDigit(*c)) {
    ++c;
  }
  if (*c == '.') {
    ++c;
    if (!IsDigit(*c)) {
      return false;
    }
    while (IsDigit(*c)) {
      ++c;
    }
  }
  return *c == 0;
}
