// What store_loop.exe and the test that kills it share: the content of each
// storing round, which a reader can check for being whole, and the shared
// record through which the writer tells which round it is storing.
//
// Every round rewrites the preferences with values that all depend on the
// round number, so that a file cut short or mixed from two rounds is told
// apart from a whole one. (The themes are stored by the same whole-file
// replacement.)
#pragma once

#include <windows.h>

#include <cstdio>

#include "files/Prefs.h"

// Enough entries that storing takes a while (a file of about 16 KB).
constexpr int kRoundPrefCount = 1000;

// The key that holds the round number. The other values' widths change from
// round to round, so that a new round shorter than the old one cannot hide a
// stale tail.
constexpr long kRoundKey = KSFourCC("Rnd#");

// The writer's phase, written before and after each store.
enum : LONG { kRoundStoring = 1, kRoundStored = 2 };

// The shared record: while mPhase is kRoundStoring the file holds round
// mRound - 1 or mRound, once it is kRoundStored it holds mRound.
struct StoreProgress {
  volatile LONG mPhase;
  volatile LONG mRound;
  volatile LONG mFailedStores;  // stores that returned an error
};

inline long RoundValue(long inRound, int inIndex) {
  return long((unsigned long)(inRound)*2654435761UL + unsigned(inIndex) * 40503UL) & 0x7FFFFFFF;
}

inline long RoundPrefKey(int inIndex) {
  char key[8];
  std::snprintf(key, sizeof(key), "r%03d", inIndex);
  return ArgList::KeyCode(key);
}

inline void FillPrefsRound(Prefs* ioPrefs, long inRound) {
  ioPrefs->SetInt(kRoundKey, inRound);
  for (int i = 0; i < kRoundPrefCount; i++) {
    ioPrefs->SetInt(RoundPrefKey(i), RoundValue(inRound, i));
  }
}

// The round the preferences hold, or -1 when they are not one round whole.
inline long PrefsRound(const Prefs& inPrefs) {
  long round = inPrefs.GetInt(kRoundKey);
  for (int i = 0; i < kRoundPrefCount; i++) {
    long value;
    if (!inPrefs.GetInt(RoundPrefKey(i), &value) || value != RoundValue(round, i)) {
      return -1;
    }
  }
  return round;
}
