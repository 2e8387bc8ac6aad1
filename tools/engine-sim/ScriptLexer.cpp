#include "engine-sim/ScriptLexer.h"

#include <cstdlib>

namespace {

bool IsNameStart(char inChar) {
  return (inChar >= 'a' && inChar <= 'z') || (inChar >= 'A' && inChar <= 'Z') || inChar == '_';
}

bool IsDigit(char inChar) {
  return inChar >= '0' && inChar <= '9';
}

bool IsSpace(char inChar) {
  return inChar == ' ' || inChar == '\t' || inChar == '\r' || inChar == '\n' || inChar == '\f' ||
         inChar == '\v';
}

struct OperatorSpelling {
  const char* mText;
  ScriptOperator mOp;
};

// Two-character operators come first so that "<=" is not read as "<".
const OperatorSpelling kOperators[] = {
    {"&&", kOpAnd},       {"||", kOpOr},           {"==", kOpEqual},    {"!=", kOpNotEqual},
    {"<=", kOpLessEqual}, {">=", kOpGreaterEqual}, {"(", kOpOpenParen}, {")", kOpCloseParen},
    {"{", kOpOpenBrace},  {"}", kOpCloseBrace},    {",", kOpComma},     {";", kOpSemicolon},
    {"!", kOpNot},        {"&", kOpBitAnd},        {"|", kOpBitOr},     {"<", kOpLess},
    {">", kOpGreater},    {"+", kOpPlus},          {"-", kOpMinus},     {"*", kOpTimes},
    {"/", kOpDivide},     {"%", kOpModulo},
};

}  // namespace

ScriptLexer::ScriptLexer(const char* inText, long inLen) : mText(inText), mLen(inLen), mPos(0) {}

void ScriptLexer::Next(ScriptToken* outToken) {
  SkipSpaceAndComments();
  outToken->mOp = kOpNone;
  outToken->mNumber = 0;
  outToken->mText.Clear();
  outToken->mOffset = mPos;
  if (AtEnd()) {
    outToken->mKind = kTokEnd;
  } else if (IsNameStart(Peek())) {
    ReadName(outToken);
  } else if (IsDigit(Peek()) || (Peek() == '.' && IsDigit(Peek(1)))) {
    ReadNumber(outToken);
  } else if (Peek() == '"') {
    ReadText(outToken);
  } else {
    ReadOperator(outToken);
  }
}

void ScriptLexer::SkipSpaceAndComments() {
  while (!AtEnd()) {
    if (IsSpace(Peek())) {
      mPos++;
    } else if (Peek() == '/' && Peek(1) == '/') {
      while (!AtEnd() && Peek() != '\n') {
        mPos++;
      }
    } else if (Peek() == '/' && Peek(1) == '*') {
      mPos += 2;
      while (!AtEnd() && !(Peek() == '*' && Peek(1) == '/')) {
        mPos++;
      }
      mPos = mPos + 2 > mLen ? mLen : mPos + 2;
    } else {
      return;
    }
  }
}

void ScriptLexer::ReadName(ScriptToken* outToken) {
  long start = mPos;
  while (!AtEnd() && (IsNameStart(Peek()) || IsDigit(Peek()))) {
    mPos++;
  }
  outToken->mKind = kTokName;
  outToken->mText.Assign(mText + start, mPos - start);
}

void ScriptLexer::ReadNumber(ScriptToken* outToken) {
  long start = mPos;
  while (IsDigit(Peek())) {
    mPos++;
  }
  if (Peek() == '.') {
    mPos++;
    while (IsDigit(Peek())) {
      mPos++;
    }
  }
  if ((Peek() == 'e' || Peek() == 'E') &&
      (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
    mPos += 2;
    while (IsDigit(Peek())) {
      mPos++;
    }
  }
  // strtod needs a terminated copy: the script text need not end in a NUL.
  UtilStr digits(mText + start, mPos - start);
  outToken->mKind = kTokNumber;
  outToken->mNumber = std::strtod(digits.getCStr(), nullptr);
}

void ScriptLexer::ReadText(ScriptToken* outToken) {
  mPos++;  // the opening quote
  while (!AtEnd() && Peek() != '"') {
    char c = Peek();
    mPos++;
    if (c != '\\' || AtEnd()) {
      outToken->mText.AppendChar(c);
      continue;
    }
    char escaped = Peek();
    mPos++;
    switch (escaped) {
      case '0':
        outToken->mText.AppendChar('\0');
        break;
      case 'n':
        outToken->mText.AppendChar('\n');
        break;
      case 'r':
        outToken->mText.AppendChar('\r');
        break;
      case 't':
        outToken->mText.AppendChar('\t');
        break;
      case '\\':
      case '"':
      case '\'':
        outToken->mText.AppendChar(escaped);
        break;
      default:
        // Not an escape: keep the backslash, so that an unescaped Windows
        // path survives as it was written.
        outToken->mText.AppendChar('\\');
        outToken->mText.AppendChar(escaped);
        break;
    }
  }
  if (AtEnd()) {
    outToken->mKind = kTokBad;  // the closing quote is missing
    outToken->mText.Clear();
    return;
  }
  mPos++;  // the closing quote
  outToken->mKind = kTokText;
}

void ScriptLexer::ReadOperator(ScriptToken* outToken) {
  for (const OperatorSpelling& spelling : kOperators) {
    long len = spelling.mText[1] ? 2 : 1;
    if (Peek() == spelling.mText[0] && (len == 1 || Peek(1) == spelling.mText[1])) {
      mPos += len;
      outToken->mKind = kTokOperator;
      outToken->mOp = spelling.mOp;
      return;
    }
  }
  outToken->mKind = kTokBad;
  outToken->mText.Assign(mText + mPos, 1);
  mPos++;
}
