#include <gtest/gtest.h>

#include <ctime>

#include "foundation/KSRandom.h"
#include "foundation/KSTime.h"

namespace {

KSTime At(int inYear, int inYearDay, int inHour, int inMinute, int inSecond) {
  struct tm broken = {};
  broken.tm_year = inYear - 1900;
  broken.tm_yday = inYearDay;
  broken.tm_hour = inHour;
  broken.tm_min = inMinute;
  broken.tm_sec = inSecond;
  return KSTime::FromBrokenDownTime(broken);
}

}  // namespace

TEST(KSTime, DaysFollowTheGregorianRuleAndDifferencesCrossYears) {
  EXPECT_EQ(0, At(1900, 0, 0, 0, 0).mDays);
  EXPECT_EQ(25567, At(1970, 0, 0, 0, 0).mDays);
  EXPECT_EQ(59 + 365, At(1901, 59, 0, 0, 0).mDays);
  EXPECT_EQ(86399, At(2024, 100, 23, 59, 59).mSecs);
  // Years before 1900 count as 1900.
  EXPECT_EQ(31, At(1850, 31, 0, 0, 0).mDays);
  // 1900 is no leap year, 2000 is one, and 2100 again is not.
  EXPECT_EQ(365, KSTime::DaysBeforeYear(1901));
  EXPECT_EQ(36524 + 366, KSTime::DaysBeforeYear(2001));
  EXPECT_EQ(73049 + 365 + 3 * 365 + 366, KSTime::DaysBeforeYear(2105));

  KSTime a = At(2023, 364, 23, 59, 30);
  KSTime b = At(2024, 0, 0, 0, 15);
  EXPECT_EQ(0, KSTime::Diff(a, a));
  EXPECT_EQ(45, KSTime::Diff(b, a));
  EXPECT_EQ(-45, KSTime::Diff(a, b));
  KSTime next = a;
  next.mDays++;
  EXPECT_EQ(86400, KSTime::Diff(next, a));

  EXPECT_EQ(0, KSTime::WindowsTo1970UTC(116444736000000000LL));
  EXPECT_EQ(86400, KSTime::WindowsTo1970UTC(116444736000000000LL + 864000000000LL));
  // Truncation toward zero on both sides of 1970.
  EXPECT_EQ(0, KSTime::WindowsTo1970UTC(116444736000000000LL - 9999999));
  EXPECT_EQ(-1, KSTime::WindowsTo1970UTC(116444736000000000LL - 10000000));
}

TEST(KSTime, ClockReadings) {
  time_t before = time(nullptr);
  KSTime now;
  KSTime::GetTime(&now, false);
  time_t after = time(nullptr);
  int64 stamp = int64(now.mDays - 25567) * 86400 + now.mSecs;
  EXPECT_GE(stamp, int64(before));
  EXPECT_LE(stamp, int64(after));

  // Local wall-clock time differs from UTC by at most a time zone.
  int64 local = KSTime::GetTimestamp();
  EXPECT_LE(local - int64(after), 15 * 3600);
  EXPECT_GE(local - int64(before), -15 * 3600);
}

TEST(KSRandom, ExactSequence) {
  uint32 seed = 1;
  const long expected[] = {11, 6, 13, 63, 70, 6};
  for (long value : expected) {
    EXPECT_EQ(value, KSRndInt(&seed, 0, 99));
  }
  EXPECT_EQ(0xA63EBB92u, seed);

  // The whole 32-bit range.
  seed = 0x12345678;
  EXPECT_EQ(1006383291, KSRndInt(&seed, INT32_MIN, INT32_MAX));
  EXPECT_EQ(1650709399, KSRndInt(&seed, INT32_MIN, INT32_MAX));
  EXPECT_EQ(-1566968263, KSRndInt(&seed, INT32_MIN, INT32_MAX));

  // Empty ranges leave the seed alone.
  seed = 99;
  EXPECT_EQ(5, KSRndInt(&seed, 5, 5));
  EXPECT_EQ(5, KSRndInt(&seed, 5, 2));
  EXPECT_EQ(0, KSRndInt(&seed, 0, -1));
  EXPECT_EQ(99u, seed);
}
