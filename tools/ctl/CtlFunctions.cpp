#include "ctl/CtlFunctions.h"

#include "foundation/KSError.h"

namespace {

// A run of 1 to 9 decimal digits, so that the number fits a long everywhere.
bool ReadWholeNumber(const char* inText, long* outNumber) {
  long number = 0;
  int digits = 0;
  for (; *inText >= '0' && *inText <= '9'; ++inText, ++digits) {
    number = number * 10 + (*inText - '0');
  }
  if (*inText != 0 || digits == 0 || digits > 9) {
    return false;
  }
  *outNumber = number;
  return true;
}

bool ReadOnOff(const char* inText, bool* outOn) {
  static const char* const kOn[] = {"on", "true", "yes", "1"};
  static const char* const kOff[] = {"off", "false", "no", "0"};
  for (int i = 0; i < 4; ++i) {
    if (UtilStr::compare(inText, kOn[i], false) == 0) {
      *outOn = true;
      return true;
    }
    if (UtilStr::compare(inText, kOff[i], false) == 0) {
      *outOn = false;
      return true;
    }
  }
  return false;
}

// A slider position; "50%" reads as 50.
bool ReadPercent(const char* inText, long* outPct) {
  UtilStr digits(inText);
  if (digits.length() > 1 && digits.getCStr()[digits.length() - 1] == '%') {
    digits.TruncR(1);
  }
  return ReadWholeNumber(digits.getCStr(), outPct) && *outPct <= 100;
}

bool ReadValue(const UIScriptEntry& inEntry, const char* inText, UIValue* outValue) {
  switch (inEntry.mValueKind) {
    case kUIValueNone:
      return true;
    case kUIValueOnOff:
      return ReadOnOff(inText, &outValue->mOn);
    case kUIValuePercent:
      return ReadPercent(inText, &outValue->mNumber);
    case kUIValueItemText: {
      long length = long(UtilStr(inText).length());
      outValue->mText = inText;
      return length > 0 && length <= inEntry.mLimit;
    }
    case kUIValueIndex:
      return ReadWholeNumber(inText, &outValue->mNumber) &&
             (inEntry.mLimit == 0 || outValue->mNumber < inEntry.mLimit);
  }
  return false;
}

// The skin name as the table spells it, for messages.
const char* SkinNameOf(eUIFunction inFunction) {
  for (const TokenMap* entry = sFunctionMap; entry->Name != nullptr; ++entry) {
    if (entry->Value == uint32(inFunction)) {
      return entry->Name;
    }
  }
  return "";
}

}  // namespace

void DescribeCtlValue(const UIScriptEntry& inEntry, UtilStr* outText) {
  switch (inEntry.mValueKind) {
    case kUIValueNone:
      outText->Append("no value");
      break;
    case kUIValueOnOff:
      outText->Append("on or off");
      break;
    case kUIValuePercent:
      outText->Append("a percentage from 0 to 100");
      break;
    case kUIValueItemText:
      outText->AppendVA("an item name of at most %ld characters", inEntry.mLimit);
      break;
    case kUIValueIndex:
      if (inEntry.mLimit > 0) {
        outText->AppendVA("an index from 0 to %ld", inEntry.mLimit - 1);
      } else {
        outText->Append("an index from 0");
      }
      break;
  }
}

long BuildFunctionScript(const char* inSkinName, const char* inValue, char* outCmd,
                         UtilStr* outError) {
  eUIFunction function;
  if (!LookupUIFunction(inSkinName, &function)) {
    outError->AppendVA("unknown function \"%s\"", inSkinName);
    return kKSErr_Param;
  }
  const char* name = SkinNameOf(function);
  const UIScriptEntry* entry = FindUIScript(function);
  if (entry == nullptr) {
    outError->AppendVA("\"%s\" acts on the toolbar alone and sends nothing to the engine", name);
    return kKSErr_Param;
  }
  if (entry->mValueKind == kUIValueNone && inValue != nullptr) {
    outError->AppendVA("\"%s\" takes no value", name);
    return kKSErr_Param;
  }
  // The value's defaults stand for what corvexa-ctl lacks: a theme, and the
  // frame-limit combo box of the other dimension.
  UIValue value;
  if (entry->mValueKind != kUIValueNone &&
      (inValue == nullptr || !ReadValue(*entry, inValue, &value))) {
    outError->AppendVA("\"%s\" needs ", name);
    DescribeCtlValue(*entry, outError);
    if (inValue != nullptr) {
      outError->AppendVA(", not \"%s\"", inValue);
    }
    return kKSErr_Param;
  }
  entry->mBuild(value, outCmd);
  return 0;
}
