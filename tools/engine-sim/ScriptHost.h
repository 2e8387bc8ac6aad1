// What a script can reach beyond the language itself: the named constants and
// the functions of the program that runs it.
#pragma once

#include <vector>

#include "engine-sim/ScriptValue.h"

typedef std::vector<ScriptValue> ScriptArgs;

class ScriptHost {
 public:
  virtual ~ScriptHost() {}

  // The value of a named constant; false when the name means nothing here.
  virtual bool GetConstant(const UtilStr& inName, ScriptValue* outValue) = 0;

  // Runs one call. Returns 0, kKSErr_SymbolNotFound for a function this host
  // does not have, or another error with a description in outProblem. A
  // failing call changes nothing.
  virtual long CallFunction(const UtilStr& inName, const ScriptArgs& inArgs, ScriptValue* outResult,
                            UtilStr* outProblem) = 0;
};
