// FILETIME arithmetic: calendar conversions, DOS dates and the local-time bias.
#include <ctime>

#include "platform/kernel/filetime.h"
#include "platform/win32/file.h"

namespace kernel {
namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kTicksPerDay = kTicksPerSecond * 86400;
// Days from 1601-01-01 to 1970-01-01.
constexpr int64_t kDays1601To1970 = 134774;

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's method).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t* y, unsigned* m, unsigned* d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = static_cast<int64_t>(yoe) + era * 400 + (*m <= 2);
}

unsigned DaysInMonth(unsigned y, unsigned m) {
  static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}

bool ValidDate(unsigned y, unsigned m, unsigned d) {
  return m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

int64_t LocalBiasTicks() {
  time_t now = time(nullptr);
  struct tm local;
  if (!localtime_r(&now, &local)) return 0;
  return static_cast<int64_t>(local.tm_gmtoff) * kTicksPerSecond;
}

bool Fail() {
  SetLastError(ERROR_INVALID_PARAMETER);
  return false;
}

}  // namespace

uint64_t Ticks(const FILETIME& t) {
  return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

FILETIME FromTicks(uint64_t ticks) {
  return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

FILETIME FromUnix(int64_t seconds, int64_t nanoseconds) {
  int64_t ticks = (seconds + kDays1601To1970 * 86400) * kTicksPerSecond + nanoseconds / 100;
  return FromTicks(ticks < 0 ? 0 : static_cast<uint64_t>(ticks));
}

void ToUnix(const FILETIME& t, int64_t* seconds, int64_t* nanoseconds) {
  int64_t ticks = static_cast<int64_t>(Ticks(t) & 0x7FFFFFFFFFFFFFFFull);
  *seconds = ticks / kTicksPerSecond - kDays1601To1970 * 86400;
  *nanoseconds = (ticks % kTicksPerSecond) * 100;
}

}  // namespace kernel

using kernel::FromTicks;
using kernel::Ticks;

BOOL FileTimeToSystemTime(const FILETIME* time, LPSYSTEMTIME system) {
  if (!time || !system || Ticks(*time) >= 0x8000000000000000ull) return kernel::Fail();
  uint64_t ticks = Ticks(*time);
  int64_t days = static_cast<int64_t>(ticks / kernel::kTicksPerDay);
  uint64_t in_day = ticks % kernel::kTicksPerDay;
  int64_t y;
  unsigned m, d;
  kernel::CivilFromDays(days - kernel::kDays1601To1970, &y, &m, &d);
  system->wYear = static_cast<WORD>(y);
  system->wMonth = static_cast<WORD>(m);
  system->wDay = static_cast<WORD>(d);
  system->wDayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1601-01-01 was a Monday
  uint64_t ms = in_day / 10'000;
  system->wHour = static_cast<WORD>(ms / 3'600'000);
  system->wMinute = static_cast<WORD>(ms / 60'000 % 60);
  system->wSecond = static_cast<WORD>(ms / 1000 % 60);
  system->wMilliseconds = static_cast<WORD>(ms % 1000);
  return TRUE;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* s, LPFILETIME time) {
  if (!s || !time || s->wYear < 1601 || s->wYear > 30827 ||
      !kernel::ValidDate(s->wYear, s->wMonth, s->wDay) || s->wHour > 23 || s->wMinute > 59 ||
      s->wSecond > 59 || s->wMilliseconds > 999)
    return kernel::Fail();
  int64_t days = kernel::DaysFromCivil(s->wYear, s->wMonth, s->wDay) + kernel::kDays1601To1970;
  int64_t ms = ((s->wHour * 60 + s->wMinute) * 60 + s->wSecond) * 1000 + s->wMilliseconds;
  *time = FromTicks(static_cast<uint64_t>(days * kernel::kTicksPerDay + ms * 10'000));
  return TRUE;
}

BOOL FileTimeToDosDateTime(const FILETIME* time, WORD* dos_date, WORD* dos_time) {
  SYSTEMTIME s;
  if (!time || !dos_date || !dos_time || !FileTimeToSystemTime(time, &s)) return kernel::Fail();
  if (s.wYear < 1980 || s.wYear > 2107) return kernel::Fail();
  *dos_date = static_cast<WORD>(((s.wYear - 1980) << 9) | (s.wMonth << 5) | s.wDay);
  *dos_time = static_cast<WORD>((s.wHour << 11) | (s.wMinute << 5) | (s.wSecond / 2));
  return TRUE;
}

BOOL DosDateTimeToFileTime(WORD dos_date, WORD dos_time, LPFILETIME time) {
  SYSTEMTIME s{};
  s.wYear = static_cast<WORD>(1980 + (dos_date >> 9));
  s.wMonth = (dos_date >> 5) & 0xF;
  s.wDay = dos_date & 0x1F;
  s.wHour = dos_time >> 11;
  s.wMinute = (dos_time >> 5) & 0x3F;
  s.wSecond = static_cast<WORD>((dos_time & 0x1F) * 2);
  return SystemTimeToFileTime(&s, time);
}

BOOL FileTimeToLocalFileTime(const FILETIME* time, LPFILETIME local) {
  if (!time || !local) return kernel::Fail();
  int64_t t = static_cast<int64_t>(Ticks(*time)) + kernel::LocalBiasTicks();
  if (t < 0) return kernel::Fail();
  *local = FromTicks(static_cast<uint64_t>(t));
  return TRUE;
}

BOOL LocalFileTimeToFileTime(const FILETIME* local, LPFILETIME time) {
  if (!time || !local) return kernel::Fail();
  int64_t t = static_cast<int64_t>(Ticks(*local)) - kernel::LocalBiasTicks();
  if (t < 0) return kernel::Fail();
  *time = FromTicks(static_cast<uint64_t>(t));
  return TRUE;
}
