#include <gtest/gtest.h>

#include <ctime>

#include "platform/win32.h"

namespace {

ULONGLONG Q(const FILETIME& t) { return (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime; }
FILETIME F(ULONGLONG q) { return {static_cast<DWORD>(q), static_cast<DWORD>(q >> 32)}; }

TEST(FileTime, SystemTimeConversionsAndTheirLimits) {
  SYSTEMTIME s;
  FILETIME zero = F(0);
  ASSERT_TRUE(FileTimeToSystemTime(&zero, &s));
  EXPECT_EQ(s, (SYSTEMTIME{1601, 1, 1, 1, 0, 0, 0, 0}));  // a Monday
  FILETIME epoch = F(116444736000000000ull);
  ASSERT_TRUE(FileTimeToSystemTime(&epoch, &s));
  EXPECT_EQ(s, (SYSTEMTIME{1970, 1, 4, 1, 0, 0, 0, 0}));  // a Thursday
  FILETIME leap = F(116444736000000000ull + 951782400ull * 10'000'000 + 12'345'678);
  ASSERT_TRUE(FileTimeToSystemTime(&leap, &s));
  EXPECT_EQ(s, (SYSTEMTIME{2000, 2, 2, 29, 0, 0, 1, 234}));  // 2000-02-29, a Tuesday
  FILETIME back;
  ASSERT_TRUE(SystemTimeToFileTime(&s, &back));
  EXPECT_EQ(Q(back), Q(leap) - 5'678);  // milliseconds only

  FILETIME huge = F(0x8000000000000000ull);
  EXPECT_FALSE(FileTimeToSystemTime(&huge, &s));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  for (SYSTEMTIME bad : {SYSTEMTIME{1600, 12, 0, 31, 0, 0, 0, 0}, SYSTEMTIME{2001, 2, 0, 29, 0, 0, 0, 0},
                         SYSTEMTIME{2000, 13, 0, 1, 0, 0, 0, 0}, SYSTEMTIME{2000, 1, 0, 1, 24, 0, 0, 0},
                         SYSTEMTIME{2000, 1, 0, 0, 0, 0, 0, 0}, SYSTEMTIME{2000, 1, 0, 1, 0, 0, 0, 1000}}) {
    EXPECT_FALSE(SystemTimeToFileTime(&bad, &back)) << bad.wYear << "-" << bad.wMonth;
  }
}

TEST(FileTime, DosDateTimeTable) {
  struct Row {
    SYSTEMTIME time;
    WORD date, dos_time;
  } rows[] = {
      {{1980, 1, 0, 1, 0, 0, 0, 0}, 0x0021, 0x0000},
      {{1980, 1, 0, 1, 0, 0, 1, 0}, 0x0021, 0x0000},  // odd seconds round down
      {{1995, 8, 0, 24, 12, 30, 58, 999}, (15 << 9) | (8 << 5) | 24, (12 << 11) | (30 << 5) | 29},
      {{2107, 12, 0, 31, 23, 59, 59, 0}, (127 << 9) | (12 << 5) | 31, (23 << 11) | (59 << 5) | 29},
  };
  for (const Row& r : rows) {
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&r.time, &ft));
    WORD d = 0, t = 0;
    ASSERT_TRUE(FileTimeToDosDateTime(&ft, &d, &t)) << r.time.wYear;
    EXPECT_EQ(d, r.date) << r.time.wYear;
    EXPECT_EQ(t, r.dos_time) << r.time.wYear;
    FILETIME back;
    ASSERT_TRUE(DosDateTimeToFileTime(d, t, &back));
    SYSTEMTIME s;
    FileTimeToSystemTime(&back, &s);
    EXPECT_EQ(s.wSecond, r.time.wSecond & ~1);
    EXPECT_EQ(s.wMilliseconds, 0);
    EXPECT_EQ(s.wDay, r.time.wDay);
  }
  // Outside 1980..2107 there is no DOS date.
  for (SYSTEMTIME out : {SYSTEMTIME{1979, 12, 0, 31, 23, 59, 59, 0}, SYSTEMTIME{2108, 1, 0, 1, 0, 0, 0, 0}}) {
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&out, &ft));
    WORD d, t;
    EXPECT_FALSE(FileTimeToDosDateTime(&ft, &d, &t)) << out.wYear;
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  }
  FILETIME ft;
  EXPECT_FALSE(DosDateTimeToFileTime((1 << 5) | 0, 0, &ft));        // day 0
  EXPECT_FALSE(DosDateTimeToFileTime((13 << 5) | 1, 0, &ft));       // month 13
  EXPECT_FALSE(DosDateTimeToFileTime((1 << 9) | (2 << 5) | 29, 0, &ft));  // 1981-02-29
  EXPECT_FALSE(DosDateTimeToFileTime(0x0021, 30, &ft));             // 60 seconds
  EXPECT_FALSE(DosDateTimeToFileTime(0x0021, 24 << 11, &ft));       // hour 24
  EXPECT_TRUE(DosDateTimeToFileTime((20 << 9) | (2 << 5) | 29, 0, &ft));  // 2000-02-29
}

TEST(FileTime, LocalTimeUsesTheCurrentBias) {
  time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  FILETIME utc = F(130000000000000000ull), there, back;
  ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &there));
  EXPECT_EQ(static_cast<int64_t>(Q(there) - Q(utc)), int64_t{local.tm_gmtoff} * 10'000'000);
  ASSERT_TRUE(LocalFileTimeToFileTime(&there, &back));
  EXPECT_EQ(back, utc);
  EXPECT_FALSE(FileTimeToLocalFileTime(nullptr, &there));
}

}  // namespace
