#include "toolbar/TokenMap.h"

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
