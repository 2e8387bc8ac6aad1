#include "foundation/KSRandom.h"

#include <cstdint>

#include "foundation/KSTime.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

uint32 KSRandom::sProcessSeed = 0;
uint32 KSRandom::sSeedModifier = 0x20ECF885;

static uint32 CurrentProcessId() {
#ifdef _WIN32
  return GetCurrentProcessId();
#else
  return uint32(getpid());
#endif
}

long KSRndInt(uint32* ioSeed, long inMin, long inMax) {
  if (inMax <= inMin) {
    return inMin;
  }
  uint32 s = *ioSeed * 1103515245u + 12345u;
  *ioSeed = (s >> 14) ^ (s * 663608941u);
  // A span of the whole 32-bit range wraps to 0: then every seed value fits.
  uint32 span = uint32(inMax) - uint32(inMin) + 1u;
  uint32 offset = span ? *ioSeed % span : *ioSeed;
  return long(int32(uint32(inMin) + offset));
}

KSRandom::KSRandom() {
  SetSeedFromClock();
}

void KSRandom::SetSeedFromClock() {
  uint32 t = uint32(KSTime::GetTimeMS());
  if (sProcessSeed == 0) {
    uint32 address = uint32(reinterpret_cast<uintptr_t>(this));
    sProcessSeed = CurrentProcessId() * 10613u + t * 50651u + address * 201107u + 925241u;
  }
  mSeed = t * 13u + sSeedModifier * 9040553u + sProcessSeed;
  sSeedModifier = mSeed;
}
