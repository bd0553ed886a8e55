// Dates and times as TDateTime: days since 1899-12-30, the fraction being the time of day.
// Before that day the whole part counts back and the fraction still counts forward
// (-1.25 is 1899-12-29 06:00).
//
// One fixed locale, US English:
//   ShortDateFormat "m/d/yyyy", LongDateFormat "dddd, mmmm d, yyyy",
//   ShortTimeFormat "h:nn AMPM", LongTimeFormat "h:nn:ss AMPM",
//   date separator '/', time separator ':', TimeAMString "AM", TimePMString "PM",
//   day and month names in English; two-digit years fall within 50 years of today.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace host {

using TDateTime = double;

inline constexpr char kShortDateFormat[] = "m/d/yyyy";
inline constexpr char kLongDateFormat[] = "dddd, mmmm d, yyyy";
inline constexpr char kShortTimeFormat[] = "h:nn AMPM";
inline constexpr char kLongTimeFormat[] = "h:nn:ss AMPM";

TDateTime Now();
TDateTime Date();
TDateTime Time();

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// Years 1..9999; anything else raises EConvertError "Invalid argument to date encode".
TDateTime EncodeDate(int year, int month, int day);
// Hours 0..23, minutes and seconds 0..59, milliseconds 0..999; else EConvertError
// "Invalid argument to time encode".
TDateTime EncodeTime(int hour, int min, int sec, int msec);
// Joins a date and a time of day the way the encoding of negative dates wants.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);
// Fields of a value, to the nearest millisecond. Values outside years 1..9999 raise
// EConvertError.
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec);
// 1 is Sunday, 7 Saturday.
int DayOfWeek(TDateTime value);

// Pattern letters: c (short date and long time, the time left out at midnight), d dd ddd
// dddd ddddd (short date) dddddd (long date), m mm mmm mmmm (minutes right after h or hh),
// yy yyyy, h hh, n nn, s ss, z zzz, t (short time) tt (long time), am/pm a/p ampm (and the
// 12-hour clock for h), '/' and ':' separators, "..." and '...' literals. Other characters
// are copied.
std::string FormatDateTime(std::string_view format, TDateTime value);
std::string DateToStr(TDateTime value);
std::string TimeToStr(TDateTime value);
std::string DateTimeToStr(TDateTime value);
// "m/d/yyyy", "m/d/yy" or "m/d" (this year); blanks around are ignored. Else EConvertError
// "'text' is not a valid date".
TDateTime StrToDate(std::string_view s);
// "h[:nn[:ss[.zzz]]]" with an optional "AM"/"PM" (then h is 1..12). Else EConvertError
// "'text' is not a valid time".
TDateTime StrToTime(std::string_view s);
// A date, then optionally a blank and a time.
TDateTime StrToDateTime(std::string_view s);

}  // namespace host
