// Splits a script text into tokens: names, numbers, quoted texts and the
// punctuation of the engine's C-like script language.
#pragma once

#include "foundation/UtilStr.h"

enum ScriptTokenKind : uint8 {
  kTokEnd = 0,   // end of the text
  kTokName,      // a name: letters, digits and '_', not starting with a digit
  kTokNumber,    // 12, 0.5, .8, 1e3
  kTokText,      // "..." with its escapes resolved (\0 becomes a NUL byte)
  kTokOperator,  // one of the operators below
  kTokBad,       // a character the language does not use, or an open quote
};

// Operators, named by what they look like.
enum ScriptOperator : uint8 {
  kOpNone = 0,
  kOpOpenParen,     // (
  kOpCloseParen,    // )
  kOpOpenBrace,     // {
  kOpCloseBrace,    // }
  kOpComma,         // ,
  kOpSemicolon,     // ;
  kOpNot,           // !
  kOpAnd,           // &&
  kOpOr,            // ||
  kOpBitAnd,        // &
  kOpBitOr,         // |
  kOpEqual,         // ==
  kOpNotEqual,      // !=
  kOpLess,          // <
  kOpLessEqual,     // <=
  kOpGreater,       // >
  kOpGreaterEqual,  // >=
  kOpPlus,          // +
  kOpMinus,         // -
  kOpTimes,         // *
  kOpDivide,        // /
  kOpModulo,        // %
};

struct ScriptToken {
  ScriptTokenKind mKind;
  ScriptOperator mOp;
  UtilStr mText;  // the name, or the resolved text
  double mNumber;
  long mOffset;  // where the token starts, 0-based
};

class ScriptLexer {
 public:
  ScriptLexer(const char* inText, long inLen);

  // The next token; kTokEnd for ever once the text is used up.
  void Next(ScriptToken* outToken);

 private:
  void SkipSpaceAndComments();
  void ReadName(ScriptToken* outToken);
  void ReadNumber(ScriptToken* outToken);
  void ReadText(ScriptToken* outToken);
  void ReadOperator(ScriptToken* outToken);

  bool AtEnd() const { return mPos >= mLen; }
  char Peek(long inAhead = 0) const { return mPos + inAhead < mLen ? mText[mPos + inAhead] : '\0'; }

  const char* mText;
  long mLen;
  long mPos;
};
