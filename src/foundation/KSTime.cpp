#include "foundation/KSTime.h"

#ifdef _WIN32
#include <windows.h>
// mmsystem.h needs the types of windows.h.
#include <mmsystem.h>
#endif

namespace {

constexpr int32 kSecsPerDay = 86400;
// Day number of 1 January 1970.
constexpr int32 kDay1970 = 25567;
// File time of 1 January 1970 00:00 UTC.
constexpr int64 kFileTime1970 = 116444736000000000LL;
constexpr int64 kFileTimeUnitsPerSec = 10000000;

// Leap years from year 1 up to but not including inYear.
int32 LeapYearsBefore(int32 inYear) {
  int32 y = inYear - 1;
  return y / 4 - y / 100 + y / 400;
}

struct tm BrokenDownNow(bool inLocal) {
  time_t now = time(nullptr);
  struct tm result = {};
#ifdef _WIN32
  if (inLocal) {
    localtime_s(&result, &now);
  } else {
    gmtime_s(&result, &now);
  }
#else
  if (inLocal) {
    localtime_r(&now, &result);
  } else {
    gmtime_r(&now, &result);
  }
#endif
  return result;
}

}  // namespace

int32 KSTime::DaysBeforeYear(int32 inYear) {
  if (inYear < 1900) {
    inYear = 1900;
  }
  return (inYear - 1900) * 365 + LeapYearsBefore(inYear) - LeapYearsBefore(1900);
}

KSTime KSTime::FromBrokenDownTime(const struct tm& inTime) {
  KSTime result;
  result.mDays = DaysBeforeYear(inTime.tm_year + 1900) + inTime.tm_yday;
  result.mSecs = (inTime.tm_hour * 60 + inTime.tm_min) * 60 + inTime.tm_sec;
  return result;
}

void KSTime::GetTime(KSTime* outTime, bool inLocal) {
  if (outTime) {
    *outTime = FromBrokenDownTime(BrokenDownNow(inLocal));
  }
}

long KSTime::Diff(const KSTime& inA, const KSTime& inB) {
  // Worked out in 64 bits: a stamp left at day 0 is more than a 32-bit long
  // of seconds away from today, and the result then wraps instead of
  // overflowing.
  int64 secs = (int64(inA.mDays) - inB.mDays) * kSecsPerDay + (int64(inA.mSecs) - inB.mSecs);
  return long(secs);
}

long KSTime::GetTimeMS() {
#ifdef _WIN32
  return long(timeGetTime());
#else
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return long(int64(now.tv_sec) * 1000 + now.tv_nsec / 1000000);
#endif
}

int64 KSTime::GetTimestamp() {
  KSTime local = FromBrokenDownTime(BrokenDownNow(true));
  return int64(local.mDays - kDay1970) * kSecsPerDay + local.mSecs;
}

int64 KSTime::WindowsTo1970UTC(int64 inFileTime) {
  return (inFileTime - kFileTime1970) / kFileTimeUnitsPerSec;
}
