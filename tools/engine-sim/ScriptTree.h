// The parsed form of a script: a tree of statements and expressions.
#pragma once

#include <memory>
#include <vector>

#include "engine-sim/ScriptLexer.h"

enum ScriptNodeKind : uint8 {
  // Expressions
  kNodeNumber,    // mNumber
  kNodeText,      // mText
  kNodeName,      // a named constant, mText
  kNodeCall,      // mText(children...)
  kNodeUnary,     // mOp child
  kNodeBinary,    // child mOp child
  kNodeSequence,  // names written side by side in one argument: A B C
  // Statements
  kNodeExpression,  // child;
  kNodeIf,          // if (child 0) child 1 [else child 2]
  kNodeBlock,       // { children }
};

struct ScriptNode {
  explicit ScriptNode(ScriptNodeKind inKind, long inOffset)
      : mKind(inKind), mOp(kOpNone), mNumber(0), mOffset(inOffset) {}

  ScriptNodeKind mKind;
  ScriptOperator mOp;
  double mNumber;
  UtilStr mText;
  long mOffset;  // where it starts in the script, for messages
  std::vector<std::unique_ptr<ScriptNode>> mChildren;
};
