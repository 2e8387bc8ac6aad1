// The UI functions that act on the engine, as corvexa-ctl offers them: each is
// named by its skin name and takes the value that the toolbar's dispatch reads
// from the control carrying it. The script built for a function and value is
// the text the toolbar sends, made by the same Command… builders.
#pragma once

#include "foundation/UtilStr.h"
#include "toolbar/UIFunctions.h"

// What a function's control hands to the dispatch.
enum CtlValueKind {
  kCtlNoValue,   // a button
  kCtlOnOff,     // a check box: on/off, true/false, yes/no, 1/0
  kCtlPercent,   // a slider: a whole percentage from 0 to 100
  kCtlItemName,  // a list: the chosen item's name
  kCtlIndex      // a combo box of fixed or engine-given choices: a 0-based index
};

// A value read from the command line.
struct CtlValue {
  long mNumber;       // percentage or index
  bool mOn;           // on/off
  const char* mText;  // item name; never null
};

struct CtlFunction {
  eUIFunction mFunction;
  CtlValueKind mValueKind;
  // For kCtlIndex the number of choices (0: as many as the engine offers);
  // for kCtlItemName the longest name the toolbar would pass on.
  long mLimit;
  // Writes the function's script for the value into outCmd and returns it.
  char* (*mMakeScript)(const CtlValue& inValue, char* outCmd);
};

// The engine-facing function of that skin name, ignoring case. False when no
// function has the name or the function acts on the toolbar alone.
bool FindCtlFunction(const char* inSkinName, CtlFunction* outFunction);

// The engine-facing functions in value order, ended by one of kUINull.
const CtlFunction* CtlFunctionList();

// Appends what value a function takes, e.g. "a percentage from 0 to 100".
void DescribeCtlValue(const CtlFunction& inFunction, UtilStr* outText);

// The skin name of a UI function that has one, else null.
const char* SkinNameOf(eUIFunction inFunction);

// Builds into outCmd (kCommandBufferSize bytes) the script that the toolbar
// sends when the control of skin name inSkinName reports inValue (null when no
// value is given). On a wrong name or value returns kKSErr_Param with a
// sentence for the user in outError.
long BuildFunctionScript(const char* inSkinName, const char* inValue, char* outCmd,
                         UtilStr* outError);
