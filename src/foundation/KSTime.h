// Calendar time with one-second resolution, and a few clock conversions.
#pragma once

#include <ctime>

#include "foundation/KSTypes.h"

class KSTime {
 public:
  // Whole days since 1 January 1900 (that day is 0).
  int32 mDays;
  // Seconds since midnight of that day, 0 to 86399.
  int32 mSecs;

  // The current time, local or UTC. A null outTime receives nothing.
  static void GetTime(KSTime* outTime, bool inLocal);

  // The same conversion for a broken-down time of the standard library.
  // Years before 1900 count as 1900.
  static KSTime FromBrokenDownTime(const struct tm& inTime);

  // Days from 1 January 1900 to 1 January of inYear (Gregorian leap years).
  static int32 DaysBeforeYear(int32 inYear);

  // Signed seconds from inB to inA.
  static long Diff(const KSTime& inA, const KSTime& inB);

  // Milliseconds of a free-running clock; only differences mean anything.
  static long GetTimeMS();

  // Seconds since 1 January 1970, counting the local wall-clock time as if
  // it were UTC.
  static int64 GetTimestamp();

  // An operating-system file time (100 ns units since 1601, UTC) as seconds
  // since 1970, UTC.
  static int64 WindowsTo1970UTC(int64 inFileTime);
};
