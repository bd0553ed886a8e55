#include "host/classes/datetime.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "host/classes/format.h"
#include "host/classes/sysutils.h"

namespace host {

namespace {

constexpr int64_t kMSecsPerDay = 86400000;
constexpr int64_t kMinDay = -693593;  // 0001-01-01
constexpr int64_t kMaxDay = 2958465;  // 9999-12-31

const char* const kShortDay[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kLongDay[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                "Thursday", "Friday", "Saturday"};
const char* const kShortMonth[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonth[] = {"January", "February", "March",     "April",
                                  "May",     "June",     "July",      "August",
                                  "September", "October", "November", "December"};

// Days from 1899-12-30 of a proleptic Gregorian date, counted in 400-year eras.
int64_t DayNumber(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + 25569;
}

void CivilDate(int64_t day, int& year, int& month, int& mday) {
  const int64_t z = day - 25569 + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  mday = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

struct Fields {
  int64_t day;   // calendar day number
  int64_t msec;  // milliseconds into the day
};

// The whole part names the day, the fraction is the time forward from its midnight.
Fields Split(TDateTime value) {
  if (!std::isfinite(value) || value < kMinDay - 1 || value > kMaxDay + 1)
    throw EConvertError(Format("Invalid date/time value %g", {value}));
  const double whole = std::trunc(value);
  int64_t day = static_cast<int64_t>(whole);
  int64_t msec = Round(std::fabs(value - whole) * kMSecsPerDay);
  if (msec >= kMSecsPerDay) {
    ++day;
    msec -= kMSecsPerDay;
  }
  if (day < kMinDay || day > kMaxDay)
    throw EConvertError(Format("Invalid date/time value %g", {value}));
  return {day, msec};
}

struct Parts {
  int year, month, day, hour, min, sec, msec, weekday;  // weekday 0 = Sunday
  bool midnight;
};

Parts Decode(TDateTime value) {
  const Fields f = Split(value);
  Parts p{};
  CivilDate(f.day, p.year, p.month, p.day);
  p.hour = static_cast<int>(f.msec / 3600000);
  p.min = static_cast<int>(f.msec / 60000 % 60);
  p.sec = static_cast<int>(f.msec / 1000 % 60);
  p.msec = static_cast<int>(f.msec % 1000);
  p.weekday = static_cast<int>(((f.day % 7) + 7 + 6) % 7);
  p.midnight = f.msec == 0;
  return p;
}

bool StartsWithText(std::string_view s, size_t i, std::string_view what) {
  return s.size() - i >= what.size() && SameText(s.substr(i, what.size()), what);
}

// Uses the 12-hour clock when an AM/PM marker appears outside quotes.
bool HasAmPm(std::string_view f) {
  for (size_t i = 0; i < f.size(); ++i) {
    if (f[i] == '"' || f[i] == '\'') {
      const size_t close = f.find(f[i], i + 1);
      if (close == std::string_view::npos) return false;
      i = close;
    } else if (StartsWithText(f, i, "am/pm") || StartsWithText(f, i, "a/p") ||
               StartsWithText(f, i, "ampm")) {
      return true;
    }
  }
  return false;
}

std::string Two(int v) { return Format("%.2d", {v}); }

void Render(std::string& out, std::string_view f, const Parts& p, int depth) {
  if (depth > 2) return;  // the locale formats nest only once
  const bool twelve = HasAmPm(f);
  char last = 0;
  size_t i = 0;
  while (i < f.size()) {
    const char c = f[i];
    const char u = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    if (c == '"' || c == '\'') {
      size_t close = f.find(c, i + 1);
      if (close == std::string_view::npos) close = f.size();
      out.append(f.substr(i + 1, close - i - 1));
      i = close + 1;
      continue;
    }
    size_t run = 1;
    while (i + run < f.size() && (f[i + run] | 0x20) == (c | 0x20)) ++run;
    switch (u) {
      case 'D': {
        run = std::min<size_t>(run, 6);
        if (run == 1) out += std::to_string(p.day);
        else if (run == 2) out += Two(p.day);
        else if (run == 3) out += kShortDay[p.weekday];
        else if (run == 4) out += kLongDay[p.weekday];
        else Render(out, run == 5 ? kShortDateFormat : kLongDateFormat, p, depth + 1);
        break;
      }
      case 'M':
        if (last == 'H') {
          run = std::min<size_t>(run, 2);
          out += run == 1 ? std::to_string(p.min) : Two(p.min);
        } else {
          run = std::min<size_t>(run, 4);
          if (run == 1) out += std::to_string(p.month);
          else if (run == 2) out += Two(p.month);
          else out += (run == 3 ? kShortMonth : kLongMonth)[p.month - 1];
        }
        break;
      case 'Y':
        run = std::min<size_t>(run, 4);
        out += run <= 2 ? Two(p.year % 100) : Format("%.4d", {p.year});
        break;
      case 'H': {
        run = std::min<size_t>(run, 2);
        const int h = twelve ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;
        out += run == 1 ? std::to_string(h) : Two(h);
        break;
      }
      case 'N':
        run = std::min<size_t>(run, 2);
        out += run == 1 ? std::to_string(p.min) : Two(p.min);
        break;
      case 'S':
        run = std::min<size_t>(run, 2);
        out += run == 1 ? std::to_string(p.sec) : Two(p.sec);
        break;
      case 'Z':
        run = std::min<size_t>(run, 3);
        out += run < 3 ? std::to_string(p.msec) : Format("%.3d", {p.msec});
        break;
      case 'T':
        run = std::min<size_t>(run, 2);
        Render(out, run == 1 ? kShortTimeFormat : kLongTimeFormat, p, depth + 1);
        break;
      case 'C':
        run = 1;
        Render(out, kShortDateFormat, p, depth + 1);
        if (!p.midnight) {
          out += ' ';
          Render(out, kLongTimeFormat, p, depth + 1);
        }
        break;
      case 'A': {
        const bool pm = p.hour >= 12;
        if (StartsWithText(f, i, "am/pm")) {
          // The marker keeps the case it was written in.
          out += std::string(f.substr(pm ? i + 3 : i, 2));
          run = 5;
        } else if (StartsWithText(f, i, "a/p")) {
          out += f[pm ? i + 2 : i];
          run = 3;
        } else if (StartsWithText(f, i, "ampm")) {
          out += pm ? "PM" : "AM";
          run = 4;
        } else {
          out += c;
          run = 1;
        }
        break;
      }
      case '/':
        out += '/';
        run = 1;
        break;
      case ':':
        out += ':';
        run = 1;
        break;
      default:
        out += c;
        run = 1;
        break;
    }
    if (u >= 'A' && u <= 'Z') last = u;
    i += run;
  }
}

// Reads digits at i; false when there are none.
bool Number(std::string_view s, size_t& i, int& value, size_t& digits) {
  const size_t start = i;
  int64_t v = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    v = std::min<int64_t>(v * 10 + (s[i] - '0'), 1000000);
    ++i;
  }
  digits = i - start;
  value = static_cast<int>(v);
  return digits > 0;
}

int CurrentYear() {
  int y, m, d;
  DecodeDate(Date(), y, m, d);
  return y;
}

bool ParseDate(std::string_view s, TDateTime& result) {
  size_t i = 0, digits = 0;
  int part[3] = {0, 0, 0};
  int count = 0;
  size_t year_digits = 0;
  while (count < 3) {
    if (!Number(s, i, part[count], digits)) return false;
    if (count == 2) year_digits = digits;
    ++count;
    if (i == s.size()) break;
    if (s[i] != '/' || count == 3) return false;
    ++i;
  }
  if (count < 2 || i != s.size()) return false;
  int year = count == 3 ? part[2] : CurrentYear();
  if (count == 3 && year_digits <= 2) {
    const int century = CurrentYear() - 50;
    year += century / 100 * 100;
    if (year < century) year += 100;
  }
  try {
    result = EncodeDate(year, part[0], part[1]);
  } catch (const EConvertError&) {
    return false;
  }
  return true;
}

bool ParseTime(std::string_view s, TDateTime& result) {
  size_t i = 0, digits = 0;
  int h = 0, n = 0, sec = 0, ms = 0;
  if (!Number(s, i, h, digits)) return false;
  if (i < s.size() && s[i] == ':') {
    ++i;
    if (!Number(s, i, n, digits)) return false;
    if (i < s.size() && s[i] == ':') {
      ++i;
      if (!Number(s, i, sec, digits)) return false;
      if (i < s.size() && s[i] == '.') {
        ++i;
        if (!Number(s, i, ms, digits)) return false;
      }
    }
  }
  while (i < s.size() && s[i] == ' ') ++i;
  if (i < s.size()) {
    const std::string_view rest = s.substr(i);
    const bool pm = SameText(rest, "PM");
    if (!pm && !SameText(rest, "AM")) return false;
    if (h < 1 || h > 12) return false;
    h = h % 12 + (pm ? 12 : 0);
  }
  try {
    result = EncodeTime(h, n, sec, ms);
  } catch (const EConvertError&) {
    return false;
  }
  return true;
}

}  // namespace

TDateTime Now() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm local{};
  localtime_r(&ts.tv_sec, &local);
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59),
                    static_cast<int>(ts.tv_nsec / 1000000));
}

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time() {
  const TDateTime now = Now();
  return now - std::trunc(now);
}

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

TDateTime EncodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month))
    throw EConvertError("Invalid argument to date encode");
  return static_cast<double>(DayNumber(year, month, day));
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 ||
      msec > 999)
    throw EConvertError("Invalid argument to time encode");
  return static_cast<double>(((hour * 60 + min) * 60 + sec) * 1000 + msec) / kMSecsPerDay;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) {
  return date < 0 ? date - time : date + time;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  const Parts p = Decode(value);
  year = p.year;
  month = p.month;
  day = p.day;
}

void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec) {
  const Parts p = Decode(value);
  hour = p.hour;
  min = p.min;
  sec = p.sec;
  msec = p.msec;
}

int DayOfWeek(TDateTime value) { return Decode(value).weekday + 1; }

std::string FormatDateTime(std::string_view format, TDateTime value) {
  const Parts p = Decode(value);
  std::string out;
  Render(out, format, p, 0);
  return out;
}

std::string DateToStr(TDateTime value) { return FormatDateTime("ddddd", value); }
std::string TimeToStr(TDateTime value) { return FormatDateTime("tt", value); }
std::string DateTimeToStr(TDateTime value) { return FormatDateTime("c", value); }

TDateTime StrToDate(std::string_view s) {
  TDateTime r;
  if (!ParseDate(Trim(s), r)) throw EConvertError("'" + std::string(s) + "' is not a valid date");
  return r;
}

TDateTime StrToTime(std::string_view s) {
  TDateTime r;
  if (!ParseTime(Trim(s), r)) throw EConvertError("'" + std::string(s) + "' is not a valid time");
  return r;
}

TDateTime StrToDateTime(std::string_view s) {
  const std::string t = Trim(s);
  const size_t blank = t.find(' ');
  TDateTime date = 0, time = 0;
  const bool ok = blank == std::string::npos
                      ? (t.find('/') != std::string::npos ? ParseDate(t, date) : ParseTime(t, time))
                      : ParseDate(std::string_view(t).substr(0, blank), date) &&
                            ParseTime(Trim(std::string_view(t).substr(blank + 1)), time);
  if (!ok) throw EConvertError("'" + std::string(s) + "' is not a valid date and time");
  return ComposeDateTime(date, time);
}

}  // namespace host
