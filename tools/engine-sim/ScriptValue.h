// A value of the engine's script language: a number, a text or a list of
// names. Truth values are numbers (1 and 0), as in C.
#pragma once

#include "foundation/UtilStr.h"

enum ScriptValueKind : uint8 {
  kScriptNumber = 0,
  kScriptText = 1,
  kScriptList = 2,
};

class ScriptValue {
 public:
  ScriptValue() : mKind(kScriptNumber), mNumber(0) {}
  explicit ScriptValue(double inNumber) : mKind(kScriptNumber), mNumber(inNumber) {}
  explicit ScriptValue(const UtilStr& inText) : mKind(kScriptText), mNumber(0), mText(inText) {}
  explicit ScriptValue(const char* inText) : mKind(kScriptText), mNumber(0), mText(inText) {}

  // An empty list, to be filled with AddListItem.
  static ScriptValue EmptyList();

  ScriptValueKind Kind() const { return mKind; }
  bool IsNumber() const { return mKind == kScriptNumber; }
  bool IsText() const { return mKind == kScriptText; }
  bool IsList() const { return mKind == kScriptList; }

  // A number as it is, a text read as a decimal number (0 when it is not
  // one), a list as its item count.
  double AsNumber() const;
  // The number truncated towards zero and kept within 32 bits.
  int32 AsInt() const;
  // Numbers: not zero; texts and lists: not empty.
  bool IsTrue() const;

  // A text as it is; a whole number in decimal, any other number in
  // fixed-point with six decimals; a list as its names separated by NULs.
  UtilStr AsText() const;

  // Appends a name to a list value.
  void AddListItem(const char* inName, long inLen = -1);
  long CountListItems() const;

  // What print() writes: texts and numbers as AsText, a list as each name
  // followed by a NUL and an empty name at the end.
  void AppendPrinted(UtilStr* ioOutput) const;

 private:
  ScriptValueKind mKind;
  double mNumber;
  UtilStr mText;  // the text, or a list's names each followed by a NUL
};

// The fixed-point text of a number with six decimals ("%f").
void AppendFixedPoint(double inNumber, UtilStr* ioText);
