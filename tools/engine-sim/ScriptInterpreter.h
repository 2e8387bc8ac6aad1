// Runs script texts: parses them and evaluates the tree against a host.
//
// The language has three functions of its own: print(values...) writes each
// value (a list as NUL-terminated names and an empty name), printf(format,
// values...) formats like C's printf (%d %i %u %x %c %s %f %e %g and %%), and
// rnd(x) gives a random number from 0 up to x. Every other call goes to the
// host.
//
// A statement that fails (an unknown call or name, a call the host rejects)
// is abandoned and described in the notes; the statements after it still run.
// A text that does not parse runs not at all.
#pragma once

#include "engine-sim/ScriptHost.h"
#include "engine-sim/ScriptTree.h"
#include "foundation/KSRandom.h"
#include "foundation/XStrList.h"

class ScriptInterpreter {
 public:
  // inHost may be null: then only the language's own functions exist.
  explicit ScriptInterpreter(ScriptHost* inHost);

  ScriptInterpreter(const ScriptInterpreter&) = delete;
  ScriptInterpreter& operator=(const ScriptInterpreter&) = delete;

  // Runs a script. What it prints is appended to outOutput; one line per
  // problem is added to outNotes (which may be null). Returns 0, or
  // kKSErr_FormatNotRecognized when the text does not parse.
  long Run(const char* inScript, long inLen, UtilStr* outOutput, XStrList* outNotes);

  // Evaluates a text holding one expression, such as "1 + ( 20 + rnd( 10 ) ) * 1.05".
  long Evaluate(const char* inExpr, long inLen, ScriptValue* outValue, XStrList* outNotes);

  // Makes rnd() repeatable.
  void SetRandomSeed(uint32 inSeed) { mRandom.mSeed = inSeed; }

 private:
  void Execute(const ScriptNode& inStatement);
  bool Eval(const ScriptNode& inExpr, ScriptValue* outValue);
  bool EvalUnary(const ScriptNode& inExpr, ScriptValue* outValue);
  bool EvalBinary(const ScriptNode& inExpr, ScriptValue* outValue);
  bool EvalCall(const ScriptNode& inCall, ScriptValue* outValue);
  bool EvalSequence(const ScriptNode& inExpr, ScriptValue* outValue);
  bool EvalName(const ScriptNode& inExpr, ScriptValue* outValue);
  bool CallBuiltIn(const UtilStr& inName, const ScriptArgs& inArgs, ScriptValue* outValue);
  double RandomUpTo(double inLimit);
  void Note(const char* inFormat, ...) KS_PRINTF_FORMAT(2, 3);

  ScriptHost* mHost;
  KSRandom mRandom;
  UtilStr* mOutput;  // of the running script
  XStrList* mNotes;  // of the running script, may be null
};

// Formats inArgs from index inFirst on with inFormat, as C's printf does,
// and appends the result to ioOutput. NULs in the format are copied.
void ScriptPrintf(const UtilStr& inFormat, const ScriptArgs& inArgs, size_t inFirst,
                  UtilStr* ioOutput);
