// The engine-facing half of the UI function dispatch: for each UI function
// whose control acts on the engine, the kind of value the control reports and
// the script the toolbar sends for that value.
//
// The window reads the value from the control that reported the function and
// keeps the rest of the action to itself (preferences, other controls, list
// reloads, the loop over a list's selected items); corvexa-ctl reads the value
// from its command line. Both get the same script for the same value.
#pragma once

#include "skin/UIFunctions.h"
#include "toolbar/ScriptText.h"

// What the control carrying a function reports.
enum eUIValueKind {
  kUIValueNone,      // a button: nothing
  kUIValueOnOff,     // a check box: its state
  kUIValuePercent,   // a slider: a whole percentage, 0 to 100
  kUIValueItemText,  // a list or combo box of names: the chosen item's text
  kUIValueIndex      // a combo box of fixed or engine-given choices: the 0-based index
};

// The longest item texts the window reads: the selection of a basic combo box,
// and an item of a list view or of a preference combo box.
constexpr long kComboItemTextMax = 256;
constexpr long kListItemTextMax = 300;

// The flags a sprite starts with when the current theme says nothing about it
// (0x80000000 as a signed 32-bit number).
constexpr long kSpriteFlagsWithoutTheme = -2147483647L - 1;

// Days between the engine's update checks while the check box is on; off is 0.
constexpr int kUpdateCheckDays = 7;

// Stands for the selected index of a frame-limit combo box that the skin does
// not have (-1 is a combo box without a selection).
constexpr long kNoFrameLimitBox = -2;

// A value as a control reports it. Only the field of the function's value kind
// is read, and the two extras where they apply.
struct UIValue {
  bool mOn = false;        // kUIValueOnOff
  long mNumber = 0;        // kUIValuePercent, kUIValueIndex
  const char* mText = "";  // kUIValueItemText; never null
  // Starting a sprite: the flags the current theme gives it.
  long mSpriteFlags = kSpriteFlagsWithoutTheme;
  // A frame-size limit: the selected index of the other dimension's combo box.
  long mOtherFrameLimit = kNoFrameLimitBox;
};

struct UIScriptEntry {
  eUIFunction mFunction;
  eUIValueKind mValueKind;
  // kUIValueIndex: the number of choices (0: as many as the engine offers);
  // kUIValueItemText: the longest text the window reads from the control.
  long mLimit;
  // Writes the function's script for inValue into outCmd and returns outCmd.
  char* (*mBuild)(const UIValue& inValue, char* outCmd);
};

// The entry of inFunction, or null when the function sends the engine no
// script of its own (it acts on the toolbar alone, or does nothing).
const UIScriptEntry* FindUIScript(eUIFunction inFunction);

// Writes into outCmd (kCommandBufferSize bytes) the script for inFunction and
// inValue and returns outCmd; null, leaving outCmd alone, when FindUIScript
// has no entry for the function.
char* BuildUIScript(eUIFunction inFunction, const UIValue& inValue, char* outCmd);
