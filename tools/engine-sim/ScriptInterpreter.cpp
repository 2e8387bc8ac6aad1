#include "engine-sim/ScriptInterpreter.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "engine-sim/ScriptParser.h"
#include "foundation/KSError.h"

namespace {

// Integer operands of | and &, kept in a range where the conversion is defined.
int64 AsInt64(const ScriptValue& inValue) {
  double number = inValue.AsNumber();
  if (std::isnan(number)) {
    return 0;
  }
  if (number >= 9.2e18) {
    return int64(9.2e18);
  }
  if (number <= -9.2e18) {
    return -int64(9.2e18);
  }
  return int64(number);
}

bool BothTexts(const ScriptValue& inA, const ScriptValue& inB) {
  return inA.IsText() && inB.IsText();
}

}  // namespace

ScriptInterpreter::ScriptInterpreter(ScriptHost* inHost)
    : mHost(inHost), mOutput(nullptr), mNotes(nullptr) {}

long ScriptInterpreter::Run(const char* inScript, long inLen, UtilStr* outOutput,
                            XStrList* outNotes) {
  std::unique_ptr<ScriptNode> script;
  UtilStr problem;
  mNotes = outNotes;
  long err = ScriptParser(inScript, inLen).ParseScript(&script, &problem);
  if (err) {
    Note("not run: %s", problem.getCStr());
  } else {
    mOutput = outOutput;
    Execute(*script);
  }
  mOutput = nullptr;
  mNotes = nullptr;
  return err;
}

long ScriptInterpreter::Evaluate(const char* inExpr, long inLen, ScriptValue* outValue,
                                 XStrList* outNotes) {
  std::unique_ptr<ScriptNode> expr;
  UtilStr problem;
  UtilStr ignoredOutput;
  mNotes = outNotes;
  long err = ScriptParser(inExpr, inLen).ParseExpression(&expr, &problem);
  if (err) {
    Note("not evaluated: %s", problem.getCStr());
  } else {
    mOutput = &ignoredOutput;
    if (!Eval(*expr, outValue)) {
      err = kKSErr_FailedCheck;
    }
  }
  mOutput = nullptr;
  mNotes = nullptr;
  return err;
}

void ScriptInterpreter::Execute(const ScriptNode& inStatement) {
  ScriptValue value;
  switch (inStatement.mKind) {
    case kNodeBlock:
      for (const auto& statement : inStatement.mChildren) {
        Execute(*statement);
      }
      break;
    case kNodeIf:
      if (Eval(*inStatement.mChildren[0], &value)) {
        if (value.IsTrue()) {
          Execute(*inStatement.mChildren[1]);
        } else if (inStatement.mChildren.size() > 2) {
          Execute(*inStatement.mChildren[2]);
        }
      }
      break;
    case kNodeExpression:
      Eval(*inStatement.mChildren[0], &value);
      break;
    default:
      break;
  }
}

bool ScriptInterpreter::Eval(const ScriptNode& inExpr, ScriptValue* outValue) {
  switch (inExpr.mKind) {
    case kNodeNumber:
      *outValue = ScriptValue(inExpr.mNumber);
      return true;
    case kNodeText:
      *outValue = ScriptValue(inExpr.mText);
      return true;
    case kNodeName:
      return EvalName(inExpr, outValue);
    case kNodeCall:
      return EvalCall(inExpr, outValue);
    case kNodeUnary:
      return EvalUnary(inExpr, outValue);
    case kNodeBinary:
      return EvalBinary(inExpr, outValue);
    case kNodeSequence:
      return EvalSequence(inExpr, outValue);
    default:
      return false;
  }
}

bool ScriptInterpreter::EvalName(const ScriptNode& inExpr, ScriptValue* outValue) {
  if (inExpr.mText == "true" || inExpr.mText == "false") {
    *outValue = ScriptValue(inExpr.mText == "true" ? 1.0 : 0.0);
    return true;
  }
  if (mHost && mHost->GetConstant(inExpr.mText, outValue)) {
    return true;
  }
  Note("unknown name %s at offset %ld", inExpr.mText.getCStr(), inExpr.mOffset);
  return false;
}

bool ScriptInterpreter::EvalUnary(const ScriptNode& inExpr, ScriptValue* outValue) {
  ScriptValue operand;
  if (!Eval(*inExpr.mChildren[0], &operand)) {
    return false;
  }
  switch (inExpr.mOp) {
    case kOpNot:
      *outValue = ScriptValue(operand.IsTrue() ? 0.0 : 1.0);
      break;
    case kOpMinus:
      *outValue = ScriptValue(-operand.AsNumber());
      break;
    default:
      *outValue = ScriptValue(operand.AsNumber());
      break;
  }
  return true;
}

bool ScriptInterpreter::EvalBinary(const ScriptNode& inExpr, ScriptValue* outValue) {
  ScriptValue left, right;
  if (!Eval(*inExpr.mChildren[0], &left)) {
    return false;
  }
  // && and || look at their right side only when they must.
  if (inExpr.mOp == kOpAnd || inExpr.mOp == kOpOr) {
    bool decided = inExpr.mOp == kOpAnd ? !left.IsTrue() : left.IsTrue();
    if (decided) {
      *outValue = ScriptValue(inExpr.mOp == kOpOr ? 1.0 : 0.0);
      return true;
    }
    if (!Eval(*inExpr.mChildren[1], &right)) {
      return false;
    }
    *outValue = ScriptValue(right.IsTrue() ? 1.0 : 0.0);
    return true;
  }
  if (!Eval(*inExpr.mChildren[1], &right)) {
    return false;
  }
  double a = left.AsNumber();
  double b = right.AsNumber();
  double result = 0;
  switch (inExpr.mOp) {
    case kOpEqual:
    case kOpNotEqual: {
      bool equal = BothTexts(left, right) ? left.AsText().Equals(right.AsText()) : a == b;
      result = (inExpr.mOp == kOpEqual) == equal ? 1 : 0;
      break;
    }
    case kOpLess:
      result = a < b;
      break;
    case kOpLessEqual:
      result = a <= b;
      break;
    case kOpGreater:
      result = a > b;
      break;
    case kOpGreaterEqual:
      result = a >= b;
      break;
    case kOpPlus:
      if (BothTexts(left, right)) {
        UtilStr joined = left.AsText();
        joined.Append(right.AsText());
        *outValue = ScriptValue(joined);
        return true;
      }
      result = a + b;
      break;
    case kOpMinus:
      result = a - b;
      break;
    case kOpTimes:
      result = a * b;
      break;
    case kOpDivide:
      result = b != 0 ? a / b : 0;
      break;
    case kOpModulo:
      result = b != 0 ? std::fmod(a, b) : 0;
      break;
    case kOpBitOr:
      result = double(AsInt64(left) | AsInt64(right));
      break;
    case kOpBitAnd:
      result = double(AsInt64(left) & AsInt64(right));
      break;
    default:
      return false;
  }
  *outValue = ScriptValue(result);
  return true;
}

// Names side by side ("Execute( A B )") make a list of their values.
bool ScriptInterpreter::EvalSequence(const ScriptNode& inExpr, ScriptValue* outValue) {
  ScriptValue list = ScriptValue::EmptyList();
  for (const auto& part : inExpr.mChildren) {
    ScriptValue value;
    if (!Eval(*part, &value)) {
      return false;
    }
    UtilStr text = value.AsText();
    list.AddListItem(text.getCStr(), text.length());
  }
  *outValue = list;
  return true;
}

bool ScriptInterpreter::EvalCall(const ScriptNode& inCall, ScriptValue* outValue) {
  ScriptArgs args(inCall.mChildren.size());
  for (size_t i = 0; i < args.size(); i++) {
    if (!Eval(*inCall.mChildren[i], &args[i])) {
      return false;
    }
  }
  *outValue = ScriptValue();
  if (CallBuiltIn(inCall.mText, args, outValue)) {
    return true;
  }
  UtilStr problem;
  long err =
      mHost ? mHost->CallFunction(inCall.mText, args, outValue, &problem) : kKSErr_SymbolNotFound;
  if (err == kKSErr_SymbolNotFound) {
    Note("unknown call %s() at offset %ld", inCall.mText.getCStr(), inCall.mOffset);
    return false;
  }
  if (err) {
    Note("%s(): %s", inCall.mText.getCStr(), problem.getCStr());
    return false;
  }
  return true;
}

// Returns false when inName is not one of the language's own functions.
bool ScriptInterpreter::CallBuiltIn(const UtilStr& inName, const ScriptArgs& inArgs,
                                    ScriptValue* outValue) {
  if (inName == "print") {
    for (const ScriptValue& arg : inArgs) {
      arg.AppendPrinted(mOutput);
    }
  } else if (inName == "printf") {
    if (!inArgs.empty()) {
      ScriptPrintf(inArgs[0].AsText(), inArgs, 1, mOutput);
    }
  } else if (inName == "rnd") {
    *outValue = ScriptValue(RandomUpTo(inArgs.empty() ? 1.0 : inArgs[0].AsNumber()));
  } else {
    return false;
  }
  return true;
}

double ScriptInterpreter::RandomUpTo(double inLimit) {
  const long kSteps = 1000000;
  return inLimit * double(mRandom.KSRndInt(0, kSteps - 1)) / double(kSteps);
}

void ScriptInterpreter::Note(const char* inFormat, ...) {
  if (!mNotes) {
    return;
  }
  char line[512];
  va_list args;
  va_start(args, inFormat);
  vsnprintf(line, sizeof(line), inFormat, args);
  va_end(args);
  mNotes->Add(line);
}
