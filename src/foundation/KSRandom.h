// A small seeded pseudo-random generator, good enough for shuffling lists.
#pragma once

#include "foundation/KSTypes.h"

// Advances *ioSeed and returns a number in inMin..inMax inclusive. When inMax
// is not above inMin the result is inMin and the seed is left alone.
long KSRndInt(uint32* ioSeed, long inMin, long inMax);

class KSRandom {
 public:
  // Seeded from the clock.
  KSRandom();
  // Seeded with a fixed value, for repeatable sequences.
  explicit KSRandom(uint32 inSeed) : mSeed(inSeed) {}

  // Mixes the millisecond clock with a per-process seed and with the previous
  // generator's seed, so that two generators made in the same millisecond
  // still give different sequences.
  void SetSeedFromClock();

  long KSRndInt(long inMin, long inMax) { return ::KSRndInt(&mSeed, inMin, inMax); }

  uint32 mSeed;

 private:
  static uint32 sProcessSeed;
  static uint32 sSeedModifier;
};
