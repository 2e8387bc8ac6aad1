#include "engine-sim/ScriptParser.h"

#include "foundation/KSError.h"

namespace {

const int kMaxDepth = 200;

// Binary operators from the loosest binding to the tightest.
const ScriptOperator kLevels[][4] = {
    {kOpOr, kOpNone},
    {kOpAnd, kOpNone},
    {kOpBitOr, kOpNone},
    {kOpBitAnd, kOpNone},
    {kOpEqual, kOpNotEqual, kOpNone},
    {kOpLess, kOpLessEqual, kOpGreater, kOpGreaterEqual},
    {kOpPlus, kOpMinus, kOpNone},
    {kOpTimes, kOpDivide, kOpModulo, kOpNone},
};
const int kNumLevels = int(sizeof(kLevels) / sizeof(kLevels[0]));

bool OperatorOfLevel(const ScriptToken& inToken, int inLevel) {
  if (inToken.mKind != kTokOperator) {
    return false;
  }
  for (ScriptOperator op : kLevels[inLevel]) {
    if (op != kOpNone && op == inToken.mOp) {
      return true;
    }
  }
  return false;
}

}  // namespace

ScriptParser::ScriptParser(const char* inText, long inLen)
    : mLexer(inText, inLen), mFailed(false), mDepth(0) {
  Advance();
}

long ScriptParser::ParseScript(NodePtr* outScript, UtilStr* outError) {
  NodePtr script(new ScriptNode(kNodeBlock, 0));
  while (!mFailed && mToken.mKind != kTokEnd) {
    NodePtr statement = Statement();
    if (statement) {
      script->mChildren.push_back(std::move(statement));
    }
  }
  *outScript = mFailed ? nullptr : std::move(script);
  return Finish(outError);
}

long ScriptParser::ParseExpression(NodePtr* outExpr, UtilStr* outError) {
  NodePtr expr = Expression();
  if (!mFailed && mToken.mKind != kTokEnd) {
    Fail("unexpected text after the expression");
  }
  *outExpr = mFailed ? nullptr : std::move(expr);
  return Finish(outError);
}

long ScriptParser::Finish(UtilStr* outError) {
  if (outError) {
    *outError = mError;
  }
  return mFailed ? kKSErr_FormatNotRecognized : 0;
}

ScriptParser::NodePtr ScriptParser::Fail(const char* inProblem) {
  if (!mFailed) {
    mFailed = true;
    mError.Clear();
    mError.AppendVA("%s at offset %ld", inProblem, mToken.mOffset);
  }
  return nullptr;
}

bool ScriptParser::Expect(ScriptOperator inOp, const char* inWhat) {
  if (!IsOp(inOp)) {
    Fail(inWhat);
    return false;
  }
  Advance();
  return true;
}

// Returns null for an empty statement (a lone ';') as well as on failure.
ScriptParser::NodePtr ScriptParser::Statement() {
  if (++mDepth > kMaxDepth) {
    return Fail("statements nested too deeply");
  }
  NodePtr statement;
  if (IsOp(kOpSemicolon)) {
    Advance();
  } else if (IsOp(kOpOpenBrace)) {
    statement = Block();
  } else if (IsName("if")) {
    statement = IfStatement();
  } else if (IsName("else")) {
    Fail("'else' without 'if'");
  } else {
    long offset = mToken.mOffset;
    NodePtr expr = Expression();
    if (expr) {
      // The ';' may be left out at the end of the text or of a block.
      if (IsOp(kOpSemicolon)) {
        Advance();
      } else if (mToken.mKind != kTokEnd && !IsOp(kOpCloseBrace)) {
        Fail("';' expected");
      }
      if (!mFailed) {
        statement.reset(new ScriptNode(kNodeExpression, offset));
        statement->mChildren.push_back(std::move(expr));
      }
    }
  }
  mDepth--;
  return mFailed ? nullptr : std::move(statement);
}

ScriptParser::NodePtr ScriptParser::Block() {
  NodePtr block(new ScriptNode(kNodeBlock, mToken.mOffset));
  Advance();  // '{'
  while (!mFailed && !IsOp(kOpCloseBrace)) {
    if (mToken.mKind == kTokEnd) {
      return Fail("'}' expected");
    }
    NodePtr statement = Statement();
    if (statement) {
      block->mChildren.push_back(std::move(statement));
    }
  }
  if (mFailed) {
    return nullptr;
  }
  Advance();  // '}'
  return block;
}

ScriptParser::NodePtr ScriptParser::IfStatement() {
  NodePtr node(new ScriptNode(kNodeIf, mToken.mOffset));
  Advance();  // "if"
  if (!Expect(kOpOpenParen, "'(' expected after 'if'")) {
    return nullptr;
  }
  NodePtr condition = Expression();
  if (!condition || !Expect(kOpCloseParen, "')' expected after the condition")) {
    return Fail("bad condition");
  }
  node->mChildren.push_back(std::move(condition));
  NodePtr then = Statement();
  if (mFailed) {
    return nullptr;
  }
  node->mChildren.push_back(then ? std::move(then) : NodePtr(new ScriptNode(kNodeBlock, 0)));
  if (IsName("else")) {
    Advance();
    NodePtr otherwise = Statement();
    if (mFailed) {
      return nullptr;
    }
    if (otherwise) {
      node->mChildren.push_back(std::move(otherwise));
    }
  }
  return node;
}

ScriptParser::NodePtr ScriptParser::Expression() {
  if (++mDepth > kMaxDepth) {
    return Fail("expression nested too deeply");
  }
  NodePtr expr = BinaryLevel(0);
  mDepth--;
  return expr;
}

ScriptParser::NodePtr ScriptParser::BinaryLevel(int inLevel) {
  if (inLevel == kNumLevels) {
    return Unary();
  }
  NodePtr left = BinaryLevel(inLevel + 1);
  while (left && OperatorOfLevel(mToken, inLevel)) {
    NodePtr node(new ScriptNode(kNodeBinary, mToken.mOffset));
    node->mOp = mToken.mOp;
    Advance();
    NodePtr right = BinaryLevel(inLevel + 1);
    if (!right) {
      return nullptr;
    }
    node->mChildren.push_back(std::move(left));
    node->mChildren.push_back(std::move(right));
    left = std::move(node);
  }
  return left;
}

ScriptParser::NodePtr ScriptParser::Unary() {
  if (IsOp(kOpNot) || IsOp(kOpMinus) || IsOp(kOpPlus)) {
    if (++mDepth > kMaxDepth) {
      return Fail("expression nested too deeply");
    }
    NodePtr node(new ScriptNode(kNodeUnary, mToken.mOffset));
    node->mOp = mToken.mOp;
    Advance();
    NodePtr operand = Unary();
    mDepth--;
    if (!operand) {
      return nullptr;
    }
    node->mChildren.push_back(std::move(operand));
    return node;
  }
  return Primary();
}

ScriptParser::NodePtr ScriptParser::Primary() {
  NodePtr node;
  switch (mToken.mKind) {
    case kTokNumber:
      node.reset(new ScriptNode(kNodeNumber, mToken.mOffset));
      node->mNumber = mToken.mNumber;
      Advance();
      return node;
    case kTokText:
      node.reset(new ScriptNode(kNodeText, mToken.mOffset));
      node->mText = mToken.mText;
      Advance();
      return node;
    case kTokName:
      node.reset(new ScriptNode(kNodeName, mToken.mOffset));
      node->mText = mToken.mText;
      Advance();
      if (IsOp(kOpOpenParen)) {
        node->mKind = kNodeCall;
        return CallArguments(std::move(node));
      }
      return node;
    case kTokOperator:
      if (IsOp(kOpOpenParen)) {
        Advance();
        node = Expression();
        if (node && !Expect(kOpCloseParen, "')' expected")) {
          return nullptr;
        }
        return node;
      }
      return Fail("value expected");
    case kTokBad:
      return Fail(mToken.mText.IsEmpty() ? "unterminated text" : "unexpected character");
    case kTokEnd:
      return Fail("unexpected end of the script");
  }
  return Fail("value expected");
}

ScriptParser::NodePtr ScriptParser::CallArguments(NodePtr ioCall) {
  Advance();  // '('
  if (IsOp(kOpCloseParen)) {
    Advance();
    return ioCall;
  }
  for (;;) {
    NodePtr argument = Argument();
    if (!argument) {
      return nullptr;
    }
    ioCall->mChildren.push_back(std::move(argument));
    if (IsOp(kOpComma)) {
      Advance();
    } else if (IsOp(kOpCloseParen)) {
      Advance();
      return ioCall;
    } else {
      return Fail("',' or ')' expected in the argument list");
    }
  }
}

// An expression, or several written side by side ("A B"): a sequence.
ScriptParser::NodePtr ScriptParser::Argument() {
  NodePtr first = Expression();
  if (!first || mToken.mKind != kTokName) {
    return first;
  }
  NodePtr sequence(new ScriptNode(kNodeSequence, first->mOffset));
  sequence->mChildren.push_back(std::move(first));
  while (mToken.mKind == kTokName) {
    NodePtr next = Expression();
    if (!next) {
      return nullptr;
    }
    sequence->mChildren.push_back(std::move(next));
  }
  return sequence;
}
