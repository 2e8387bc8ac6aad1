#include "skin/TokenMap.h"

namespace {

char FoldCase(char inChar) {
  return (inChar >= 'A' && inChar <= 'Z') ? char(inChar - 'A' + 'a') : inChar;
}

bool SameWordIgnoringCase(const char* inA, const char* inB) {
  while (*inA != 0 && FoldCase(*inA) == FoldCase(*inB)) {
    ++inA;
    ++inB;
  }
  return FoldCase(*inA) == FoldCase(*inB);
}

bool SameWordIgnoringCase(const char* inName, const char* inWord, long inLen) {
  for (long i = 0; i < inLen; ++i) {
    if (inName[i] == 0 || FoldCase(inName[i]) != FoldCase(inWord[i])) {
      return false;
    }
  }
  return inName[inLen] == 0;
}

}  // namespace

bool LookupToken(const TokenMap* inMap, const char* inWord, uint32* outValue) {
  for (const TokenMap* entry = inMap; entry->Name != nullptr; ++entry) {
    if (SameWordIgnoringCase(entry->Name, inWord)) {
      *outValue = entry->Value;
      return true;
    }
  }
  return false;
}

bool LookupToken(const TokenMap* inMap, const char* inWord, long inLen, uint32* outValue) {
  for (const TokenMap* entry = inMap; entry->Name != nullptr; ++entry) {
    if (SameWordIgnoringCase(entry->Name, inWord, inLen)) {
      *outValue = entry->Value;
      return true;
    }
  }
  return false;
}
