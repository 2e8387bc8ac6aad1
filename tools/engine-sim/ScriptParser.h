// Reads a script text into a ScriptNode tree.
//
// Statements: expressions ended by ';', blocks in braces and if/else. The
// ';' may be left out before a '}' and at the end of the text. Expressions
// follow C: || && | & == != < <= > >= + - * / % and the prefixes ! - +,
// calls, names, numbers and quoted texts. Inside a call's argument several
// names may stand side by side ("Execute( A B )"); they form a sequence.
#pragma once

#include "engine-sim/ScriptTree.h"

class ScriptParser {
 public:
  ScriptParser(const char* inText, long inLen);

  // The whole text as a block. Returns 0, or kKSErr_FormatNotRecognized with
  // a description of the first problem in outError.
  long ParseScript(std::unique_ptr<ScriptNode>* outScript, UtilStr* outError);

  // The whole text as one expression.
  long ParseExpression(std::unique_ptr<ScriptNode>* outExpr, UtilStr* outError);

 private:
  typedef std::unique_ptr<ScriptNode> NodePtr;

  NodePtr Statement();
  NodePtr Block();
  NodePtr IfStatement();
  NodePtr Expression();
  NodePtr BinaryLevel(int inLevel);
  NodePtr Unary();
  NodePtr Primary();
  NodePtr CallArguments(NodePtr ioCall);
  NodePtr Argument();

  void Advance() { mLexer.Next(&mToken); }
  bool IsOp(ScriptOperator inOp) const {
    return mToken.mKind == kTokOperator && mToken.mOp == inOp;
  }
  bool IsName(const char* inName) const {
    return mToken.mKind == kTokName && mToken.mText == inName;
  }
  bool Expect(ScriptOperator inOp, const char* inWhat);
  NodePtr Fail(const char* inProblem);
  long Finish(UtilStr* outError);

  ScriptLexer mLexer;
  ScriptToken mToken;
  bool mFailed;
  UtilStr mError;
  int mDepth;  // nesting, bounded so that a hostile text cannot exhaust the stack
};
