#include "engine-sim/ScriptValue.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

ScriptValue ScriptValue::EmptyList() {
  ScriptValue list;
  list.mKind = kScriptList;
  return list;
}

double ScriptValue::AsNumber() const {
  switch (mKind) {
    case kScriptNumber:
      return mNumber;
    case kScriptText:
      return std::strtod(mText.getCStr(), nullptr);
    case kScriptList:
      return double(CountListItems());
  }
  return 0;
}

int32 ScriptValue::AsInt() const {
  double number = AsNumber();
  if (std::isnan(number)) {
    return 0;
  }
  if (number >= 2147483647.0) {
    return 2147483647;
  }
  if (number <= -2147483648.0) {
    return -2147483647 - 1;
  }
  return int32(number);
}

bool ScriptValue::IsTrue() const {
  if (mKind == kScriptNumber) {
    return mNumber != 0;
  }
  return !mText.IsEmpty();
}

UtilStr ScriptValue::AsText() const {
  if (mKind != kScriptNumber) {
    return mText;
  }
  UtilStr text;
  if (std::floor(mNumber) == mNumber && std::fabs(mNumber) < 1e15) {
    text.AppendInt(int64(mNumber));
  } else {
    AppendFixedPoint(mNumber, &text);
  }
  return text;
}

void ScriptValue::AddListItem(const char* inName, long inLen) {
  if (inLen < 0) {
    inLen = long(std::strlen(inName));
  }
  mText.Append(inName, inLen);
  mText.AppendChar('\0');
}

long ScriptValue::CountListItems() const {
  if (mKind != kScriptList) {
    return 0;
  }
  long count = 0;
  const char* text = mText.getCStr();
  for (int32 i = 0; i < mText.length(); i++) {
    if (text[i] == '\0') {
      count++;
    }
  }
  return count;
}

void ScriptValue::AppendPrinted(UtilStr* ioOutput) const {
  if (mKind == kScriptList) {
    ioOutput->Append(mText);
    ioOutput->AppendChar('\0');
    return;
  }
  ioOutput->Append(AsText());
}

void AppendFixedPoint(double inNumber, UtilStr* ioText) {
  ioText->AppendVA("%f", inNumber);
}
