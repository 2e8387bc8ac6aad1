// The UI function dispatch table: for each UI function whose control's value
// the toolbar sends the engine or keeps, the kind of value the control
// reports, where the window reads it, the preference it is kept in and the
// script the toolbar sends for it.
//
// The window runs a row as it stands (cAppWin::OnUIFunction); the functions
// it carries out itself (other controls, list reloads, dialogs) are listed
// here too, and have a case in a short switch of its own. corvexa-ctl reads
// the value from its command line and takes the script from the same row, so
// both send the same text for the same value.
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

// Where the window reads a function's value.
enum eUIValueFrom {
  // The control that reported the function: a check box's state, a slider's
  // position; a button reports nothing.
  kUIFromSender,
  // The selected item of a combo box: its text or index. Without a
  // selection nothing is sent.
  kUIFromBox,
  // The same, but a combo box without a selection sends index -1.
  kUIFromBoxIndex,
  // Each selected item of a list view, one script per item, at most
  // kMaxSelectedItems of them.
  kUIFromSelectedItems,
  // The current item of a list view. Without one nothing is sent.
  kUIFromCurrentItem
};

// At most this many selected list items are started or stopped at once.
constexpr long kMaxSelectedItems = 20;

struct UIValueSource {
  eUIValueFrom mFrom;
  // The combo box or list view read: the control bound to this function.
  eUIFunction mControl;
};

struct UIScriptEntry {
  eUIFunction mFunction;
  eUIValueKind mValueKind;
  // kUIValueIndex: the number of choices (0: as many as the engine offers);
  // kUIValueItemText: the longest text the window reads from the control.
  long mLimit;
  UIValueSource mSource;
  // Writes the function's script for inValue into outCmd and returns outCmd;
  // null for a value the toolbar keeps without telling the engine.
  char* (*mBuild)(const UIValue& inValue, char* outCmd);
  // The preference the window keeps the value in (0: none): a slider's
  // position, or a check box's state as mStoredOn or 0.
  long mPrefKey = 0;
  long mStoredOn = 1;
};

// Whether the window carries inFunction out itself, before or instead of its
// row (cAppWin::DoWindowFunction, which has a case for each): its frame, web
// pages and the Deck, the update notice, what some rows are followed by, the
// image/video folder, the "Select all" boxes, skins, themes and engine
// instances.
bool IsWindowFunction(eUIFunction inFunction);

// The row of inFunction, or null when the toolbar neither sends nor keeps a
// value for it (the window acts alone, or nothing happens).
const UIScriptEntry* FindUIEntry(eUIFunction inFunction);
// The row of inFunction when it sends the engine a script of its own, else
// null.
const UIScriptEntry* FindUIScript(eUIFunction inFunction);
// Every row, for the window to show the kept values: inIndex from 0 until
// null.
const UIScriptEntry* UIEntryAt(long inIndex);

// The number a row keeps in its preference for inValue.
long StoredUIValue(const UIScriptEntry& inEntry, const UIValue& inValue);

// Writes into outCmd (kCommandBufferSize bytes) the script for inFunction and
// inValue and returns outCmd; null, leaving outCmd alone, when FindUIScript
// has no row for the function.
char* BuildUIScript(eUIFunction inFunction, const UIValue& inValue, char* outCmd);
