// Keyword tables: a word of a text file mapped to a number.
#pragma once

#include "foundation/KSTypes.h"

// One keyword and its value. A table is an array of these ended by an entry
// whose Name is null.
struct TokenMap {
  const char* Name;
  uint32 Value;
};

// Walks inMap in order and stores the value of the first entry whose name
// equals inWord, ignoring ASCII letter case. Returns false, leaving *outValue
// untouched, when no entry matches.
bool LookupToken(const TokenMap* inMap, const char* inWord, uint32* outValue);
// The same for a word of inLen bytes that need not be NUL-terminated (a word
// read straight out of a file). A NUL inside the word matches nothing.
bool LookupToken(const TokenMap* inMap, const char* inWord, long inLen, uint32* outValue);
